#include "fill_layer.h"

#include <algorithm>

namespace swf {
namespace {

uint16_t addSaturating(uint16_t a, uint32_t b) {
  uint32_t s = a + b;
  return uint16_t(s > 0xFFFF ? 0xFFFF : s);
}

uint8_t toByte(uint16_t sum) {
  uint32_t v = (uint32_t(sum) + 128) >> 8;
  return uint8_t(v > 255 ? 255 : v);
}

}  // namespace

void FillLayer::begin(PixelBox clip) {
  box_ = clip;
  touched_ = false;
  size_t need = size_t(clip.x1 - clip.x0) * size_t(clip.y1 - clip.y0) * 4;
  if (sums_.size() < need) sums_.assign(need, 0);
}

void FillLayer::add(int y, int x, int count, const uint16_t* coverage, const Bgra* colors, bool solid) {
  if (count <= 0) return;
  if (!touched_) {
    dirty_ = PixelBox{x, y, x + count, y + 1};
    touched_ = true;
  } else {
    dirty_ = PixelBox{std::min(dirty_.x0, x), std::min(dirty_.y0, y), std::max(dirty_.x1, x + count),
                      std::max(dirty_.y1, y + 1)};
  }
  size_t width = size_t(box_.x1 - box_.x0);
  uint16_t* s = &sums_[(size_t(y - box_.y0) * width + size_t(x - box_.x0)) * 4];
  for (int i = 0; i < count; ++i, s += 4) {
    uint32_t cov = coverage[i];
    if (!cov) continue;
    const Bgra& c = colors[solid ? 0 : i];
    s[0] = addSaturating(s[0], c.b * cov);
    s[1] = addSaturating(s[1], c.g * cov);
    s[2] = addSaturating(s[2], c.r * cov);
    s[3] = addSaturating(s[3], c.a * cov);
  }
}

void FillLayer::drawOnto(const Canvas& target) {
  if (!touched_) return;
  size_t width = size_t(box_.x1 - box_.x0);
  for (int y = dirty_.y0; y < dirty_.y1; ++y) {
    uint16_t* s = &sums_[(size_t(y - box_.y0) * width + size_t(dirty_.x0 - box_.x0)) * 4];
    uint8_t* d = target.pixels + size_t(y) * size_t(target.stride) + size_t(dirty_.x0) * 4;
    for (int x = dirty_.x0; x < dirty_.x1; ++x, s += 4, d += 4) {
      if (s[3] == 0 && s[0] == 0 && s[1] == 0 && s[2] == 0) continue;
      Bgra c{toByte(s[0]), toByte(s[1]), toByte(s[2]), toByte(s[3])};
      // Colours can only exceed alpha where fills overlap; keep the pixel valid.
      c.b = std::min(c.b, c.a), c.g = std::min(c.g, c.a), c.r = std::min(c.r, c.a);
      blendPixel(d, c, 256);
      s[0] = s[1] = s[2] = s[3] = 0;
    }
  }
  touched_ = false;
}

}  // namespace swf
