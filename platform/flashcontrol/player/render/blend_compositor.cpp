#include "blend_compositor.h"

#include <algorithm>
#include <cstdlib>

#include "pixel.h"

namespace swf {
namespace {

inline int clamp255(int v) { return v < 0 ? 0 : (v > 255 ? 255 : v); }

// B(dst, src) * srcA * dstA, in units of 255 * 255, per separable mode.
template <BlendMode M>
inline int mixed(int s, int d, int sa, int da) {
  switch (M) {
    case BlendMode::Multiply: return s * d;
    case BlendMode::Screen: return s * da + d * sa - s * d;
    case BlendMode::Lighten: return std::max(s * da, d * sa);
    case BlendMode::Darken: return std::min(s * da, d * sa);
    case BlendMode::Difference: return std::abs(s * da - d * sa);
    case BlendMode::Overlay: return 2 * d <= da ? 2 * s * d : sa * da - 2 * (da - d) * (sa - s);
    case BlendMode::HardLight: return 2 * s <= sa ? 2 * s * d : sa * da - 2 * (da - d) * (sa - s);
    default: return 0;
  }
}

template <BlendMode M>
inline void blendPixelWith(uint8_t* d, const uint8_t* s) {
  const int sa = s[3], da = d[3];
  if (sa == 0 && M != BlendMode::Alpha) return;
  switch (M) {
    case BlendMode::Invert:
      // Where the object stands, what is below shows inverted.
      for (int c = 0; c < 3; ++c) d[c] = uint8_t(clamp255(int(div255(uint32_t(sa * (da - d[c]) + d[c] * (255 - sa))))));
      return;
    case BlendMode::Alpha:
      for (int c = 0; c < 4; ++c) d[c] = uint8_t(div255(uint32_t(d[c] * sa)));
      return;
    case BlendMode::Erase:
      for (int c = 0; c < 4; ++c) d[c] = uint8_t(div255(uint32_t(d[c] * (255 - sa))));
      return;
    case BlendMode::Add:
      // Premultiplied sums, as the real player adds: a translucent source
      // adds its premultiplied colour in full.
      for (int c = 0; c < 4; ++c) d[c] = uint8_t(std::min(255, s[c] + d[c]));
      return;
    case BlendMode::Subtract:
      for (int c = 0; c < 3; ++c) d[c] = uint8_t(std::max(0, d[c] - s[c]));
      d[3] = uint8_t(sa + div255(uint32_t(da * (255 - sa))));
      return;
    case BlendMode::Normal:
    case BlendMode::Layer:
      for (int c = 0; c < 4; ++c) d[c] = uint8_t(s[c] + div255(uint32_t(d[c] * (255 - sa))));
      return;
    default:
      for (int c = 0; c < 3; ++c) {
        int sum = mixed<M>(s[c], d[c], sa, da) + s[c] * (255 - da) + d[c] * (255 - sa);
        d[c] = uint8_t(clamp255(int(div255(uint32_t(std::max(sum, 0))))));
      }
      d[3] = uint8_t(sa + div255(uint32_t(da * (255 - sa))));
  }
}

template <BlendMode M>
void blendRowWith(uint8_t* dst, const uint8_t* src, const uint16_t* cover, int count) {
  for (int i = 0; i < count; ++i, dst += 4, src += 4) {
    if (!cover) {
      blendPixelWith<M>(dst, src);
      continue;
    }
    uint32_t k = cover[i];
    if (k == 0) continue;
    uint8_t scaled[4];
    for (int c = 0; c < 4; ++c) scaled[c] = uint8_t((src[c] * k + 128) >> 8);
    blendPixelWith<M>(dst, scaled);
  }
}

}  // namespace

void BlendCompositor::blendRow(BlendMode mode, uint8_t* dst, const uint8_t* src, const uint16_t* cover, int count) {
  switch (mode) {
    case BlendMode::Multiply: return blendRowWith<BlendMode::Multiply>(dst, src, cover, count);
    case BlendMode::Screen: return blendRowWith<BlendMode::Screen>(dst, src, cover, count);
    case BlendMode::Lighten: return blendRowWith<BlendMode::Lighten>(dst, src, cover, count);
    case BlendMode::Darken: return blendRowWith<BlendMode::Darken>(dst, src, cover, count);
    case BlendMode::Difference: return blendRowWith<BlendMode::Difference>(dst, src, cover, count);
    case BlendMode::Add: return blendRowWith<BlendMode::Add>(dst, src, cover, count);
    case BlendMode::Subtract: return blendRowWith<BlendMode::Subtract>(dst, src, cover, count);
    case BlendMode::Invert: return blendRowWith<BlendMode::Invert>(dst, src, cover, count);
    case BlendMode::Alpha: return blendRowWith<BlendMode::Alpha>(dst, src, cover, count);
    case BlendMode::Erase: return blendRowWith<BlendMode::Erase>(dst, src, cover, count);
    case BlendMode::Overlay: return blendRowWith<BlendMode::Overlay>(dst, src, cover, count);
    case BlendMode::HardLight: return blendRowWith<BlendMode::HardLight>(dst, src, cover, count);
    default: return blendRowWith<BlendMode::Normal>(dst, src, cover, count);
  }
}

// Alpha keeps of its parent layer only what the object covers: the rest of
// the part being drawn is cleared (where no mask limits it).
void BlendCompositor::clearAround(PixelBox keep, const Canvas& surface, PixelBox area) {
  for (int y = area.y0; y < area.y1; ++y) {
    uint8_t* row = surface.pixels + size_t(y) * size_t(surface.stride);
    const bool rowKept = y >= keep.y0 && y < keep.y1;
    for (int x = area.x0; x < area.x1; ++x) {
      if (rowKept && x >= keep.x0 && x < keep.x1) {
        x = keep.x1 - 1;
        continue;
      }
      std::fill(row + size_t(x) * 4, row + size_t(x) * 4 + 4, uint8_t(0));
    }
  }
}

void BlendCompositor::composite(const PixelLayer& layer, BlendMode mode, bool insideLayer, const Canvas& surface,
                                PixelBox area, const MaskLayer* mask) {
  const PixelBox lb = layer.box();
  if (insideLayer && mode == BlendMode::Alpha && !mask) clearAround(lb, surface, area);
  area =
      PixelBox{std::max(area.x0, lb.x0), std::max(area.y0, lb.y0), std::min(area.x1, lb.x1), std::min(area.y1, lb.y1)};
  if (mask) {
    const PixelBox mb = mask->bounds();
    area = PixelBox{std::max(area.x0, mb.x0), std::max(area.y0, mb.y0), std::min(area.x1, mb.x1),
                    std::min(area.y1, mb.y1)};
  }
  if (area.empty()) return;
  // With no layer to act on, alpha and erase leave what is below alone.
  if (!insideLayer && (mode == BlendMode::Alpha || mode == BlendMode::Erase)) return;
  const int count = area.x1 - area.x0;
  if (mask) {
    full_.assign(size_t(count), 256);
    cover_.resize(size_t(count));
  }
  for (int y = area.y0; y < area.y1; ++y) {
    const uint8_t* src = layer.row(y - lb.y0) + size_t(area.x0 - lb.x0) * 4;
    uint8_t* dst = surface.pixels + size_t(y) * size_t(surface.stride) + size_t(area.x0) * 4;
    const uint16_t* cover = nullptr;
    if (mask) {
      mask->apply(y, area.x0, count, full_.data(), cover_.data());
      cover = cover_.data();
    }
    blendRow(mode, dst, src, cover, count);
  }
}

}  // namespace swf
