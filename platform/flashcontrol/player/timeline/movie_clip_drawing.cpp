// The drawing API and setMask: what scripts draw in a clip, and the clip
// that masks it.
#include "movie_clip.h"
#include "shape_hit.h"

namespace swf {
namespace {

Rgba rgbaOf(uint32_t argb) { return Rgba{uint8_t(argb >> 16), uint8_t(argb >> 8), uint8_t(argb), uint8_t(argb >> 24)}; }

}  // namespace

void MovieClip::beginFill(uint32_t argb) {
  FillStyle fill;
  fill.color = rgbaOf(argb);
  if (!drawing_) drawing_ = std::make_unique<Drawing>();
  drawing_->beginFill(fill);
}

void MovieClip::beginGradientFill(const avm1::DrawGradient& g) {
  FillStyle fill;
  fill.kind = g.focal ? FillStyle::Kind::Focal : (g.radial ? FillStyle::Kind::Radial : FillStyle::Kind::Linear);
  fill.matrix = Matrix{g.matrix[0], g.matrix[1], g.matrix[2], g.matrix[3], g.matrix[4], g.matrix[5]};
  fill.gradient.spread = SpreadMode(g.spread);
  fill.gradient.interpolation = g.linearRgb ? InterpolationMode::LinearRgb : InterpolationMode::Rgb;
  fill.gradient.focalPoint = g.focalPoint;
  for (size_t i = 0; i < g.colors.size() && i < g.ratios.size(); ++i)
    fill.gradient.stops.push_back(GradientStop{g.ratios[i], rgbaOf(g.colors[i])});
  if (!drawing_) drawing_ = std::make_unique<Drawing>();
  drawing_->beginFill(fill);
}

// The fill shows the bitmap's pixels as they are now.
void MovieClip::beginBitmapFill(const std::vector<uint32_t>& argb, int width, int height, const double matrix[6],
                                bool repeat, bool smooth) {
  auto image = std::make_shared<DecodedImage>();
  image->width = width;
  image->height = height;
  image->pixels.reserve(argb.size());
  for (uint32_t px : argb) image->pixels.push_back(premultiply(rgbaOf(px)));
  FillStyle fill;
  fill.kind = FillStyle::Kind::Bitmap;
  fill.matrix = Matrix{matrix[0], matrix[1], matrix[2], matrix[3], matrix[4], matrix[5]};
  fill.bitmap = std::move(image);
  fill.bitmapRepeats = repeat;
  fill.bitmapSmoothed = smooth;
  if (!drawing_) drawing_ = std::make_unique<Drawing>();
  drawing_->beginFill(fill);
}

void MovieClip::endFill() {
  if (drawing_) drawing_->endFill();
}

void MovieClip::lineStyle(const avm1::DrawLine* line) {
  if (!drawing_) drawing_ = std::make_unique<Drawing>();
  if (!line) {
    drawing_->lineStyle(nullptr);
    return;
  }
  LineStyle style;
  style.width = uint16_t(line->twips);
  style.color = rgbaOf(line->color);
  style.startCap = style.endCap = CapStyle(line->caps);
  style.join = JoinStyle(line->joint);
  style.miterLimit = line->miterLimit;
  style.noHScale = line->noHScale;
  style.noVScale = line->noVScale;
  drawing_->lineStyle(&style);
}

void MovieClip::moveTo(int32_t x, int32_t y) {
  if (!drawing_) drawing_ = std::make_unique<Drawing>();
  drawing_->moveTo(Point{x, y});
}

void MovieClip::lineTo(int32_t x, int32_t y) {
  if (!drawing_) drawing_ = std::make_unique<Drawing>();
  drawing_->lineTo(Point{x, y});
}

void MovieClip::curveTo(int32_t cx, int32_t cy, int32_t x, int32_t y) {
  if (!drawing_) drawing_ = std::make_unique<Drawing>();
  drawing_->curveTo(Point{cx, cy}, Point{x, y});
}

void MovieClip::clearDrawing() {
  if (drawing_) drawing_->clear();
}

void MovieClip::setMask(ActionTarget* mask) {
  auto* clip = dynamic_cast<MovieClip*>(mask);
  if (clip == mask_) return;
  if (mask_) mask_->masking_ = nullptr;
  mask_ = nullptr;
  if (!clip) return;
  // A mask shows one clip: the one it masked before is shown whole again.
  if (clip->masking_) clip->masking_->mask_ = nullptr;
  clip->masking_ = this;
  mask_ = clip;
}

// Fills and lines of the drawing, shapes and clips below; masks and
// invisible objects are passed over.
bool MovieClip::hitsShape(double x, double y) {
  const Matrix m = stageMatrix();
  auto hits = [&](const Shape& shape, const Matrix& toStage) {
    Matrix inv;
    if (!toStage.inverse(inv)) return false;
    const Vec2 local = inv.apply(x * 20, y * 20);
    return shapeHits(shape, local.x, local.y);
  };
  if (drawing_ && !drawing_->empty() && hits(drawing_->shape(), m)) return true;
  for (auto& entry : children_) {
    DisplayObject& d = entry.second;
    if (d.placement.clipDepth > 0 || !d.placement.visible) continue;
    if (d.clip) {
      if (!d.clip->isMask() && d.clip->hitsShape(x, y)) return true;
    } else if (const auto* shape = d.character ? std::get_if<ShapeCharacter>(d.character) : nullptr) {
      if (hits(*shape->shape, m * d.placement.matrix)) return true;
    }
  }
  return false;
}

Matrix MovieClip::stageMatrix() {
  Matrix m;
  for (MovieClip* c = this; c; c = c->parent_) m = c->matrix() * m;
  return m;
}

}  // namespace swf
