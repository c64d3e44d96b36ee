#include "bitmap_sampler.h"

#include <cmath>

namespace swf {
namespace {

constexpr int64_t kOne = 1 << 16;
// Far enough out that any bitmap has repeated or clamped long before, near
// enough that sums stay well inside 64 bits.
constexpr double kFarthest = double(int64_t(1) << 40);

int64_t toFixed(double v) {
  double f = std::floor(v * double(kOne));
  if (!(f > -kFarthest)) return -int64_t(kFarthest);
  if (f > kFarthest) return int64_t(kFarthest);
  return int64_t(f);
}

// Floor of a 16.16 value (the shift of a negative value is not portable).
int64_t wholePart(int64_t v) { return v >= 0 ? v / kOne : -((-v + kOne - 1) / kOne); }

int wrap(int64_t i, int size, bool repeats) {
  if (repeats) {
    int64_t m = i % size;
    return int(m < 0 ? m + size : m);
  }
  return int(i < 0 ? 0 : (i >= size ? size - 1 : i));
}

uint8_t unpremultiplied(uint8_t c, uint8_t a) {
  uint32_t v = (uint32_t(c) * 255 + a / 2u) / a;
  return uint8_t(v > 255 ? 255 : v);
}

}  // namespace

BitmapSampler::BitmapSampler(const DecodedImage& image, const Matrix& pixelsToBitmap, bool repeats, bool smoothed,
                             const ColorTransform& cx)
    : image_(&image),
      pixelsToBitmap_(pixelsToBitmap),
      repeats_(repeats),
      smoothed_(smoothed),
      transforms_(!cx.isIdentity()),
      cx_(cx) {}

int BitmapSampler::wrapX(int64_t x) const { return wrap(x, image_->width, repeats_); }
int BitmapSampler::wrapY(int64_t y) const { return wrap(y, image_->height, repeats_); }

Bgra BitmapSampler::nearest(int64_t u, int64_t v) const { return at(wrapX(wholePart(u)), wrapY(wholePart(v))); }

// Bitmap pixel i covers [i, i + 1): its centre is at i + 0.5.
Bgra BitmapSampler::bilinear(int64_t u, int64_t v) const {
  u -= kOne / 2, v -= kOne / 2;
  int64_t ix = wholePart(u), iy = wholePart(v);
  uint32_t fx = uint32_t((u - ix * kOne) >> 8), fy = uint32_t((v - iy * kOne) >> 8);
  int x0 = wrapX(ix), x1 = wrapX(ix + 1), y0 = wrapY(iy), y1 = wrapY(iy + 1);
  const Bgra &p00 = at(x0, y0), &p10 = at(x1, y0), &p01 = at(x0, y1), &p11 = at(x1, y1);
  uint32_t w00 = (256 - fx) * (256 - fy), w10 = fx * (256 - fy), w01 = (256 - fx) * fy, w11 = fx * fy;
  auto mix = [&](uint8_t Bgra::*c) {
    return uint8_t((p00.*c * w00 + p10.*c * w10 + p01.*c * w01 + p11.*c * w11 + 32768) >> 16);
  };
  return Bgra{mix(&Bgra::b), mix(&Bgra::g), mix(&Bgra::r), mix(&Bgra::a)};
}

// The transform works on straight colour, as the movie's author saw it.
// Fully transparent pixels stay so, whatever the transform adds.
Bgra BitmapSampler::transformed(const Bgra& p) const {
  if (p.a == 0) return p;
  Rgba straight{unpremultiplied(p.r, p.a), unpremultiplied(p.g, p.a), unpremultiplied(p.b, p.a), p.a};
  return premultiply(cx_.apply(straight));
}

void BitmapSampler::shade(int x, int y, int count, Bgra* out) const {
  const Matrix& m = pixelsToBitmap_;
  double py = y + 0.5;
  for (int i = 0; i < count; ++i) {
    double px = x + i + 0.5;
    int64_t u = toFixed(m.a * px + m.c * py + m.tx);
    int64_t v = toFixed(m.b * px + m.d * py + m.ty);
    Bgra p = smoothed_ ? bilinear(u, v) : nearest(u, v);
    out[i] = transforms_ ? transformed(p) : p;
  }
}

}  // namespace swf
