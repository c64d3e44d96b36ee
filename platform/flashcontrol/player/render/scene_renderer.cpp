#include "scene_renderer.h"

namespace swf {
namespace {

// Masks nest rarely more than a few deep; the bounds keep a hostile movie
// from taking a full-size layer for each of thousands of depths.
constexpr size_t kMaxMaskLayers = 32;
constexpr size_t kMaxMaskBytes = size_t(256) << 20;

}  // namespace

void SceneRenderer::render(const MovieClip& root, const ViewTransform& view, const Canvas& target,
                           PixelBox clip) {
  target_ = &target;
  clip_ = clip;
  viewScale_ = view.scale;
  layersInUse_ = 0;
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
  for (const auto& entry : clip.children()) {
    const DisplayObject& obj = entry.second;
    while (open_.size() > base && entry.first > open_.back().clipDepth) closeMask();
    if (!obj.character) continue;
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
  const Placement& p = obj.placement;
  Matrix om = m * p.matrix;
  std::visit(Overloaded{
                 [&](const ShapeCharacter& c) {
                   if (t.into) {
                     shapes_.cover(*c.shape, om, viewScale_, clip_, t.mask, *t.into);
                   } else {
                     shapes_.draw(*c.shape, om, cx * p.colorTransform, viewScale_, *target_, clip_, t.mask);
                   }
                 },
                 // Past the nesting limit a sprite has no clip and shows nothing.
                 [&](const SpriteCharacter&) {
                   if (obj.clip) drawClip(*obj.clip, om, cx * p.colorTransform, t);
                 },
                 [](const BitmapCharacter&) {},
                 [](const InertCharacter&) {},
             },
             *obj.character);
}

const MaskLayer* SceneRenderer::buildMask(const DisplayObject& obj, const Matrix& m, Target t) {
  MaskLayer* layer = pushLayer();
  if (!layer) return nullptr;
  drawObject(obj, m, ColorTransform{}, Target{t.mask, layer});
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
