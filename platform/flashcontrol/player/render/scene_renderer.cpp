#include "scene_renderer.h"

#include <algorithm>
#include <cmath>

#include "morph_interpolation.h"
#include "object_bounds.h"
#include "text_drawing.h"

namespace swf {
namespace {

// Masks nest rarely more than a few deep; the bounds keep a hostile movie
// from taking a full-size layer for each of thousands of depths.
constexpr size_t kMaxMaskLayers = 32;
constexpr size_t kMaxMaskBytes = size_t(256) << 20;
constexpr size_t kMaxPixelLayers = 32;
constexpr size_t kMaxPixelLayerBytes = size_t(512) << 20;

void fillOpaque(const Canvas& c, PixelBox box, const Rgba& color) {
  const Bgra px{color.b, color.g, color.r, 255};
  for (int y = box.y0; y < box.y1; ++y) {
    Bgra* row = reinterpret_cast<Bgra*>(c.pixels + size_t(y) * size_t(c.stride)) + box.x0;
    std::fill(row, row + (box.x1 - box.x0), px);
  }
}

bool needsLayer(const Placement& p) {
  return blendModeOf(p.blendMode) != BlendMode::Normal || p.filters || p.cacheAsBitmap || p.hasOpaqueBackground;
}

// The real player draws a filtered object into a bitmap of its own with the
// corner of its bounds on a whole pixel: m moved by what that takes.
Matrix alignedToPixels(const DisplayObject& obj, const Matrix& m) {
  Vec2 corner;
  if (!boundsCornerOf(obj, m, corner) || std::fabs(corner.x) > 1e9 || std::fabs(corner.y) > 1e9) return m;
  return Matrix::translate(std::floor(corner.x + 0.5) - corner.x, std::floor(corner.y + 0.5) - corner.y) * m;
}

}  // namespace

void SceneRenderer::render(const MovieClip& root, const ViewTransform& view, const Canvas& target, PixelBox clip,
                           Quality quality) {
  shapes_.setQuality(quality);
  target_ = &target;
  clip_ = clip;
  viewScale_ = view.scale;
  stageToPixels_ = view.stageToPixels;
  layersInUse_ = 0;
  pixelLayersInUse_ = 0;
  pixelLayerBytes_ = 0;
  inLayer_ = false;
  open_.clear();
  drawClip(root, view.stageToPixels, ColorTransform{}, Target{});
}

// An object with a clip depth is a mask: not drawn itself, it limits the
// objects after it up to that depth to what it covers. A mask inside
// another's range is cut by it too, and the outer one stays in effect until
// the inner one ends. Masks ignore visibility, as does everything drawn into
// one.
void SceneRenderer::drawClip(const MovieClip& clip, const Matrix& m, const ColorTransform& cx, Target t) {
  const size_t base = open_.size();
  auto closeMask = [&] {
    t.mask = open_.back().outer;
    open_.pop_back();
    popLayer();
  };
  // What scripts drew lies below every child.
  if (const Drawing* drawing = clip.drawing())
    if (!drawing->empty()) drawShape(drawing->shape(), m, cx, t);
  for (const auto& entry : clip.children()) {
    const DisplayObject& obj = entry.second;
    while (open_.size() > base && entry.first > open_.back().clipDepth) closeMask();
    // Clips scripts made empty name no character but may hold a drawing.
    if (!obj.character && !obj.clip) continue;
    if (obj.clip && obj.clip->isMask()) continue;  // drawn only as the mask of its clip
    if (obj.placement.clipDepth > 0) {
      if (const MaskLayer* mask = buildMask(obj, m, t)) {
        open_.push_back(OpenMask{obj.placement.clipDepth, t.mask});
        t.mask = mask;
      }
      continue;
    }
    if (obj.placement.visible || t.into) drawObject(obj, m, cx, t);
  }
  while (open_.size() > base) closeMask();
}

void SceneRenderer::drawObject(const DisplayObject& obj, const Matrix& m, const ColorTransform& cx, Target t) {
  if (t.mask && t.mask->bounds().empty()) return;  // a mask that covers nothing shows nothing
  if (obj.clip && obj.clip->maskClip() && drawMasked(obj, *obj.clip->maskClip(), m, cx, t)) return;
  const Placement& p = obj.placement;
  if (!t.into && needsLayer(p) && drawLayered(obj, m, cx, t)) return;
  drawContent(obj, m * p.matrix, cx * p.colorTransform, t);
}

// The mask is drawn where it stands on the stage, whatever its visibility,
// and cut by the masks in effect here.
bool SceneRenderer::drawMasked(const DisplayObject& obj, const MovieClip& mask, const Matrix& m,
                               const ColorTransform& cx, Target t) {
  MaskLayer* layer = pushLayer();
  if (!layer) return false;
  drawClip(mask, stageToPixels_ * const_cast<MovieClip&>(mask).stageMatrix(), ColorTransform{}, Target{t.mask, layer});
  const Placement& p = obj.placement;
  Target masked{layer, t.into};
  if (!(t.mask && layer->bounds().empty()) && !layer->bounds().empty()) {
    if (t.into || !needsLayer(p) || !drawLayered(obj, m, cx, masked))
      drawContent(obj, m * p.matrix, cx * p.colorTransform, masked);
  }
  popLayer();
  return true;
}

void SceneRenderer::drawShape(const Shape& shape, const Matrix& m, const ColorTransform& cx, Target t) {
  if (t.into) {
    shapes_.cover(shape, m, viewScale_, clip_, t.mask, *t.into);
  } else {
    shapes_.draw(shape, m, cx, viewScale_, *target_, clip_, t.mask);
  }
}

void SceneRenderer::drawContent(const DisplayObject& obj, const Matrix& om, const ColorTransform& ocx, Target t) {
  auto drawShape = [&](const Shape& shape) { this->drawShape(shape, om, ocx, t); };
  // Past the nesting limit sprites and buttons have no clip and show nothing.
  auto drawPlayed = [&] {
    if (obj.clip) drawClip(*obj.clip, om, ocx, t);
  };
  if (!obj.character) {
    drawPlayed();
    return;
  }
  std::visit(Overloaded{
                 [&](const ShapeCharacter& c) { drawShape(*c.shape); },
                 [&](const MorphCharacter& c) {
                   morphAt(*c.morph, obj.placement.ratio, morphed_);
                   drawShape(morphed_);
                 },
                 [&](const SpriteCharacter&) { drawPlayed(); },
                 [&](const ButtonCharacter&) { drawPlayed(); },
                 [&](const StaticTextCharacter& c) { drawText(*c.layout, om, ocx, t); },
                 [&](const EditTextCharacter&) {
                   if (obj.textField) drawText(obj.textField->layout(), om, ocx, t);
                 },
                 [](const BitmapCharacter&) {},
                 [](const InertCharacter&) {},
             },
             *obj.character);
}

void SceneRenderer::drawText(const TextLayout& text, const Matrix& m, const ColorTransform& cx, Target t) {
  if (t.into) {
    coverText(shapes_, text, m, viewScale_, clip_, t.mask, *t.into);
  } else {
    swf::drawText(shapes_, text, m, cx, viewScale_, *target_, clip_, t.mask);
  }
}

const MaskLayer* SceneRenderer::buildMask(const DisplayObject& obj, const Matrix& m, Target t) {
  MaskLayer* layer = pushLayer();
  if (!layer) return nullptr;
  drawObject(obj, m, ColorTransform{}, Target{t.mask, layer});
  return layer;
}

// The layer holds the object and what its filters add around it, as far as
// that can reach into the part being drawn. Inside it the object is drawn
// with no mask and no colour transform: the mask in effect cuts the
// finished layer, and the colour transform tints it, filters' work included.
bool SceneRenderer::drawLayered(const DisplayObject& obj, const Matrix& m, const ColorTransform& cx, Target t) {
  const Placement& p = obj.placement;
  const double scale = viewScale_ * 20;
  FilterReach reach = p.filters ? FilterRenderer::reach(*p.filters, scale) : FilterReach{};
  PixelBox area = t.mask ? intersect(clip_, t.mask->bounds()) : clip_;
  // What lies farther out than this adds nothing to be seen.
  const int margin = std::max(area.x1 - area.x0, area.y1 - area.y0);
  PixelBox box =
      intersect(pixelBoundsOf(obj, m, scale), grow(area, std::min(reach.x, margin), std::min(reach.y, margin)));
  if (box.empty()) return true;
  PixelLayer* layer = pushPixelLayer(box);
  if (!layer) return false;

  const Canvas* outerTarget = target_;
  const PixelBox outerClip = clip_;
  const bool outerInLayer = inLayer_;
  const Canvas canvas = layer->canvas();
  target_ = &canvas;
  clip_ = PixelBox{0, 0, layer->width(), layer->height()};
  inLayer_ = true;
  const Matrix toLayer = Matrix::translate(-box.x0, -box.y0) * (p.filters ? alignedToPixels(obj, m) : m);
  // Masks from setMask inside the layer are placed in its pixels too.
  const Matrix outerStage = stageToPixels_;
  stageToPixels_ = Matrix::translate(-box.x0, -box.y0) * stageToPixels_;
  if (p.hasOpaqueBackground)
    fillOpaque(canvas, intersect(pixelBoundsOf(obj, toLayer, scale, Extent::Rectangle), clip_), p.opaqueBackground);
  drawContent(obj, toLayer * p.matrix, ColorTransform{}, Target{});
  if (p.filters) filters_.apply(*p.filters, scale, *layer);
  layer->transformColors(cx * p.colorTransform);
  target_ = outerTarget;
  stageToPixels_ = outerStage;
  clip_ = outerClip;
  inLayer_ = outerInLayer;
  compositor_.composite(*layer, blendModeOf(p.blendMode), inLayer_, *target_, area, t.mask);
  popPixelLayer();
  return true;
}

PixelLayer* SceneRenderer::pushPixelLayer(PixelBox box) {
  size_t bytes = PixelLayer::bytesFor(box);
  if (pixelLayersInUse_ == kMaxPixelLayers || bytes > kMaxPixelLayerBytes - pixelLayerBytes_) return nullptr;
  pixelLayerBytes_ += bytes;
  if (pixelLayers_.size() == pixelLayersInUse_) pixelLayers_.push_back(std::make_unique<PixelLayer>());
  PixelLayer* layer = pixelLayers_[pixelLayersInUse_++].get();
  layer->begin(box);
  return layer;
}

MaskLayer* SceneRenderer::pushLayer() {
  size_t bytes = MaskLayer::bytesFor(clip_);
  if (layersInUse_ == kMaxMaskLayers || bytes * (layersInUse_ + 1) > kMaxMaskBytes) return nullptr;
  if (layers_.size() == layersInUse_) layers_.push_back(std::make_unique<MaskLayer>());
  MaskLayer* layer = layers_[layersInUse_++].get();
  layer->begin(clip_);
  return layer;
}

}  // namespace swf
