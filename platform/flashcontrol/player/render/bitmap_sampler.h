// The colours a bitmap fill gives canvas pixels: each pixel centre is taken
// back into the bitmap, which either repeats or stretches its edge pixels
// beyond its bounds, and is read at the nearest bitmap pixel or blended
// from the four around it. Positions are 16.16 fixed point, so the same
// pixels come out of every build.
#pragma once

#include <cstddef>
#include <cstdint>

#include "../format/color_transform.h"
#include "../format/matrix.h"
#include "../images/decoded_image.h"
#include "pixel.h"

namespace swf {

class BitmapSampler {
 public:
  BitmapSampler() = default;
  // pixelsToBitmap maps canvas pixels to bitmap pixels; cx colours the
  // bitmap's pixels.
  BitmapSampler(const DecodedImage& image, const Matrix& pixelsToBitmap, bool repeats, bool smoothed,
                const ColorTransform& cx);

  // Premultiplied colours of pixels [x, x + count) of row y.
  void shade(int x, int y, int count, Bgra* out) const;

 private:
  int wrapX(int64_t x) const;
  int wrapY(int64_t y) const;
  const Bgra& at(int x, int y) const { return image_->pixels[size_t(y) * size_t(image_->width) + size_t(x)]; }
  Bgra nearest(int64_t u, int64_t v) const;
  Bgra bilinear(int64_t u, int64_t v) const;
  Bgra transformed(const Bgra& p) const;

  const DecodedImage* image_ = nullptr;
  Matrix pixelsToBitmap_;
  bool repeats_ = true;
  bool smoothed_ = true;
  bool transforms_ = false;
  ColorTransform cx_;
};

}  // namespace swf
