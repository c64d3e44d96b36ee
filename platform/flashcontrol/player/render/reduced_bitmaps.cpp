#include "reduced_bitmaps.h"

#include <cmath>

namespace swf {
namespace {

// Reductions beyond this many halvings shrink nothing a view can show.
constexpr int kMaxHalvings = 12;

}  // namespace

std::unique_ptr<DecodedImage> ReducedBitmaps::halved(const DecodedImage& image) {
  auto half = std::make_unique<DecodedImage>();
  half->width = image.width / 2;
  half->height = image.height / 2;
  half->pixels.resize(size_t(half->width) * size_t(half->height));
  const size_t w = size_t(image.width);
  for (int y = 0; y < half->height; ++y) {
    const Bgra* top = &image.pixels[size_t(2 * y) * w];
    const Bgra* bottom = top + w;
    Bgra* out = &half->pixels[size_t(y) * size_t(half->width)];
    for (int x = 0; x < half->width; ++x) {
      const Bgra *a = top + 2 * x, *b = bottom + 2 * x;
      auto mean = [&](uint8_t Bgra::*c) { return uint8_t((a[0].*c + a[1].*c + b[0].*c + b[1].*c + 2) / 4); };
      out[x] = Bgra{mean(&Bgra::b), mean(&Bgra::g), mean(&Bgra::r), mean(&Bgra::a)};
    }
  }
  return half;
}

const DecodedImage& ReducedBitmaps::levelFor(const std::shared_ptr<const DecodedImage>& image, Matrix& pixelsToBitmap) {
  const double shrink = std::sqrt(std::fabs(pixelsToBitmap.determinant()));
  int wanted = 0;
  for (double s = shrink; s >= 2 && wanted < kMaxHalvings; s /= 2) ++wanted;
  if (wanted == 0) return *image;
  auto found = levels_.find(image.get());
  if (found == levels_.end() || found->second.source.lock() != image) {
    // Copies of bitmaps gone since go with them.
    for (auto it = levels_.begin(); it != levels_.end();) it = it->second.source.expired() ? levels_.erase(it) : ++it;
    levels_[image.get()] = Levels{image, {}};
  }
  Levels& levels = levels_[image.get()];
  const DecodedImage* level = image.get();
  for (int i = 0; i < wanted; ++i) {
    if (size_t(i) == levels.halves.size()) {
      if (level->width < 2 || level->height < 2) break;
      levels.halves.push_back(halved(*level));
    }
    const DecodedImage* next = levels.halves[size_t(i)].get();
    pixelsToBitmap =
        Matrix::scale(double(next->width) / level->width, double(next->height) / level->height) * pixelsToBitmap;
    level = next;
  }
  return *level;
}

}  // namespace swf
