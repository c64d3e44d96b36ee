#include "paint.h"

#include <cmath>

namespace swf {
namespace {

// Gradients fill the square from -16384 to 16384 twips of their own space.
constexpr double kGradientHalf = 16384.0;

}  // namespace

Paint Paint::solid(const Rgba& straight) {
  Paint p;
  p.color_ = premultiply(straight);
  return p;
}

Paint Paint::forFill(const FillStyle& fill, const ColorTransform& cx, const Matrix& toPixels, ReducedBitmaps* reduced) {
  if (fill.kind == FillStyle::Kind::Solid) return solid(cx.apply(fill.color));
  if (fill.kind == FillStyle::Kind::Bitmap) return forBitmap(fill, cx, toPixels, reduced);
  Paint p;
  p.ramp_ = buildGradientRamp(fill.gradient, cx);
  Matrix toGradient;
  if (!(toPixels * fill.matrix).inverse(toGradient)) {
    // A gradient squashed flat shows its last colour.
    p.color_ = p.ramp_[255];
    return p;
  }
  p.solid_ = false;
  p.kind_ = fill.kind;
  p.spread_ = fill.gradient.spread;
  double f = fill.gradient.focalPoint;
  p.focal_ = f < -0.98 ? -0.98 : (f > 0.98 ? 0.98 : f);
  p.pixelsToGradient_ = Matrix::scale(1 / kGradientHalf, 1 / kGradientHalf) * toGradient;
  return p;
}

Paint Paint::forBitmap(const FillStyle& fill, const ColorTransform& cx, const Matrix& toPixels,
                       ReducedBitmaps* reduced) {
  Paint p;
  Matrix toBitmap;
  if (!fill.bitmap || !(toPixels * fill.matrix).inverse(toBitmap)) return p;
  p.solid_ = false;
  p.kind_ = FillStyle::Kind::Bitmap;
  const DecodedImage& image = reduced ? reduced->levelFor(fill.bitmap, toBitmap) : *fill.bitmap;
  p.bitmap_ = BitmapSampler(image, toBitmap, fill.bitmapRepeats, fill.bitmapSmoothed, cx);
  return p;
}

// Position along the gradient (0 start, 1 end) of a point of the unit square.
double Paint::position(double gx, double gy) const {
  switch (kind_) {
    case FillStyle::Kind::Linear: return (gx + 1) * 0.5;
    case FillStyle::Kind::Radial: return std::sqrt(gx * gx + gy * gy);
    default: {
      // Along the ray from the focal point through the pixel to the circle.
      double dx = gx - focal_, dy = gy;
      double dd = dx * dx + dy * dy;
      if (dd == 0) return 0;
      double fd = focal_ * dx;
      double disc = fd * fd - dd * (focal_ * focal_ - 1);
      double s = (-fd + std::sqrt(disc)) / dd;
      return s > 0 ? 1 / s : 1;
    }
  }
}

void Paint::shade(int x, int y, int count, Bgra* out) const {
  if (solid_) {
    for (int i = 0; i < count; ++i) out[i] = color_;
    return;
  }
  if (kind_ == FillStyle::Kind::Bitmap) {
    bitmap_.shade(x, y, count, out);
    return;
  }
  const Matrix& m = pixelsToGradient_;
  double py = y + 0.5;
  for (int i = 0; i < count; ++i) {
    double px = x + i + 0.5;
    double gx = m.a * px + m.c * py + m.tx;
    double gy = m.b * px + m.d * py + m.ty;
    out[i] = ramp_[size_t(rampIndex(position(gx, gy), spread_))];
  }
}

}  // namespace swf
