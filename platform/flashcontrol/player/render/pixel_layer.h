// A transparent picture that one display object is drawn into on its own,
// so that its filters and blend mode can work on it as a whole. It covers a
// box of its parent's pixels and has its own origin at the box's corner.
// The buffer is kept from one use to the next.
#pragma once

#include <cstdint>
#include <vector>

#include "../canvas.h"
#include "../format/color_transform.h"
#include "coverage_rasterizer.h"

namespace swf {

class PixelLayer {
 public:
  // Starts fully transparent over box (in the parent's pixels).
  void begin(PixelBox box);
  PixelBox box() const { return box_; }
  int width() const { return box_.x1 - box_.x0; }
  int height() const { return box_.y1 - box_.y0; }
  // The layer as a surface to draw on, in its own pixels.
  Canvas canvas() { return Canvas{pixels_.data(), width(), height(), width() * 4}; }
  uint8_t* row(int y) { return &pixels_[size_t(y) * size_t(width()) * 4]; }
  const uint8_t* row(int y) const { return &pixels_[size_t(y) * size_t(width()) * 4]; }
  // The object's colour transform, put on the finished layer as on a
  // bitmap: on straight colours, clear pixels left clear.
  void transformColors(const ColorTransform& cx);
  static size_t bytesFor(PixelBox box) {
    return box.empty() ? 0 : size_t(box.x1 - box.x0) * size_t(box.y1 - box.y0) * 4;
  }

 private:
  PixelBox box_;
  std::vector<uint8_t> pixels_;
};

}  // namespace swf
