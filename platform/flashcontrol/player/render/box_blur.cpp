#include "box_blur.h"

#include <algorithm>
#include <cmath>
#include <cstring>

namespace swf {
namespace {

// Boxes wider than any movie can ask for at any view size.
constexpr double kMaxWidth = 4096;

inline uint8_t weigh(uint32_t sum, uint32_t edges, uint32_t inner, uint32_t edge) {
  uint32_t v = (sum * inner + edges * edge + 32768) >> 16;
  return uint8_t(v > 255 ? 255 : v);
}

}  // namespace

BoxBlur::Box BoxBlur::boxOf(double w) {
  Box b;
  if (!(w > 1)) return b;
  w = std::min(w, kMaxWidth);
  b.half = int((w - 1) / 2);
  double rest = (w - (2 * b.half + 1)) / 2;
  b.inner = uint32_t(std::lround(65536.0 / w));
  b.edge = uint32_t(std::lround(65536.0 * rest / w));
  return b;
}

int BoxBlur::reach(double w, int passes) {
  Box b = boxOf(w);
  if (b.inner == 0) return 0;
  return (b.half + (b.edge ? 1 : 0)) * std::max(passes, 0);
}

void BoxBlur::run(uint8_t* pixels, int width, int height, int stride, int channels, double wx, double wy, int passes) {
  if (width <= 0 || height <= 0) return;
  const Box bx = boxOf(wx), by = boxOf(wy);
  for (int p = 0; p < passes; ++p) {
    if (bx.inner) across(pixels, width, height, stride, channels, bx);
  }
  for (int p = 0; p < passes; ++p) {
    if (by.inner) down(pixels, width, height, stride, channels, by);
  }
  if (channels != 4) return;
  for (int y = 0; y < height; ++y) {
    uint8_t* px = pixels + size_t(y) * size_t(stride);
    for (int x = 0; x < width; ++x, px += 4) {
      for (int c = 0; c < 3; ++c) px[c] = std::min(px[c], px[3]);
    }
  }
}

// Each row is copied out with zeros either side, then a running sum moves
// along it.
void BoxBlur::across(uint8_t* pixels, int width, int height, int stride, int channels, const Box& box) {
  const int pad = box.half + 1;
  line_.assign(size_t(width + 2 * pad) * size_t(channels), 0);
  for (int y = 0; y < height; ++y) {
    uint8_t* row = pixels + size_t(y) * size_t(stride);
    std::memcpy(&line_[size_t(pad) * size_t(channels)], row, size_t(width) * size_t(channels));
    for (int c = 0; c < channels; ++c) {
      const uint8_t* in = &line_[size_t(c)];
      auto at = [&](int x) { return uint32_t(in[size_t(x + pad) * size_t(channels)]); };
      uint32_t sum = 0;
      for (int i = -box.half; i < box.half; ++i) sum += at(i);
      for (int x = 0; x < width; ++x) {
        sum += at(x + box.half);
        row[size_t(x) * size_t(channels) + size_t(c)] = weigh(sum, at(x - pad) + at(x + pad), box.inner, box.edge);
        sum -= at(x - box.half);
      }
    }
  }
}

// Column sums carried down the rows; rows above and below count as zero.
void BoxBlur::down(uint8_t* pixels, int width, int height, int stride, int channels, const Box& box) {
  const size_t n = size_t(width) * size_t(channels);
  const int pad = box.half + 1;
  // The source rows, kept whole since the output overwrites them.
  rows_.resize(n * size_t(height));
  for (int y = 0; y < height; ++y) std::memcpy(&rows_[n * size_t(y)], pixels + size_t(y) * size_t(stride), n);
  auto src = [&](int y) -> const uint8_t* { return y >= 0 && y < height ? &rows_[n * size_t(y)] : nullptr; };
  sums_.assign(n, 0);
  for (int y = -box.half; y < box.half; ++y) {
    if (const uint8_t* r = src(y))
      for (size_t i = 0; i < n; ++i) sums_[i] += r[i];
  }
  for (int y = 0; y < height; ++y) {
    if (const uint8_t* r = src(y + box.half))
      for (size_t i = 0; i < n; ++i) sums_[i] += r[i];
    const uint8_t* above = src(y - pad);
    const uint8_t* below = src(y + pad);
    uint8_t* out = pixels + size_t(y) * size_t(stride);
    for (size_t i = 0; i < n; ++i) {
      uint32_t edges = (above ? above[i] : 0u) + (below ? below[i] : 0u);
      out[i] = weigh(sums_[i], edges, box.inner, box.edge);
    }
    if (const uint8_t* r = src(y - box.half))
      for (size_t i = 0; i < n; ++i) sums_[i] -= r[i];
  }
}

}  // namespace swf
