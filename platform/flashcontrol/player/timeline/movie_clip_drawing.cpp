// The drawing API and setMask: what scripts draw in a clip, and the clip
// that masks it.
#include "movie_clip.h"

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

Matrix MovieClip::stageMatrix() {
  Matrix m;
  for (MovieClip* c = this; c; c = c->parent_) m = c->matrix() * m;
  return m;
}

}  // namespace swf
