// What a filled area is painted with: one colour, a gradient looked up per
// pixel through the inverse of its gradient-square-to-pixels transform, or
// a bitmap sampled the same way.
#pragma once

#include <cstdint>

#include "../format/color_transform.h"
#include "../format/matrix.h"
#include "../tags/shape.h"
#include "bitmap_sampler.h"
#include "gradient_ramp.h"
#include "pixel.h"
#include "reduced_bitmaps.h"

namespace swf {

class Paint {
 public:
  static Paint solid(const Rgba& straight);
  // toPixels maps shape coordinates (twips) to canvas pixels. With reduced
  // given, bitmaps shrunk to half or less are read from reduced copies.
  static Paint forFill(const FillStyle& fill, const ColorTransform& cx, const Matrix& toPixels,
                       ReducedBitmaps* reduced = nullptr);

  bool isSolid() const { return solid_; }
  const Bgra& color() const { return color_; }
  bool invisible() const { return solid_ && color_.a == 0; }
  // Premultiplied colours of pixels [x, x + count) of row y.
  void shade(int x, int y, int count, Bgra* out) const;

 private:
  // A fill whose bitmap is missing, or squashed flat, paints nothing.
  static Paint forBitmap(const FillStyle& fill, const ColorTransform& cx, const Matrix& toPixels,
                         ReducedBitmaps* reduced);
  double position(double gx, double gy) const;

  bool solid_ = true;
  Bgra color_;
  FillStyle::Kind kind_ = FillStyle::Kind::Solid;
  SpreadMode spread_ = SpreadMode::Pad;
  double focal_ = 0;
  Matrix pixelsToGradient_;
  GradientRamp ramp_;
  BitmapSampler bitmap_;
};

}  // namespace swf
