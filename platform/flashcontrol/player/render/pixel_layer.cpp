#include "pixel_layer.h"

#include <algorithm>

#include "pixel.h"

namespace swf {

void PixelLayer::begin(PixelBox box) {
  box_ = box.empty() ? PixelBox{} : box;
  size_t bytes = bytesFor(box_);
  if (pixels_.size() < bytes) pixels_.resize(bytes);
  std::fill(pixels_.begin(), pixels_.begin() + std::ptrdiff_t(bytes), uint8_t(0));
}

void PixelLayer::transformColors(const ColorTransform& cx) {
  if (cx.isIdentity()) return;
  const size_t count = size_t(width()) * size_t(height());
  for (size_t i = 0; i < count; ++i) {
    uint8_t* px = &pixels_[i * 4];
    const uint32_t a = px[3];
    if (a == 0) continue;
    auto straight = [a](uint8_t c) { return uint8_t(std::min<uint32_t>(255, (c * 255u + a / 2) / a)); };
    Bgra out = premultiply(cx.apply(Rgba{straight(px[2]), straight(px[1]), straight(px[0]), uint8_t(a)}));
    px[0] = out.b, px[1] = out.g, px[2] = out.r, px[3] = out.a;
  }
}

}  // namespace swf
