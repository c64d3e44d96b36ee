#include "pixel_layer.h"

#include <algorithm>

namespace swf {

void PixelLayer::begin(PixelBox box) {
  box_ = box.empty() ? PixelBox{} : box;
  size_t bytes = bytesFor(box_);
  if (pixels_.size() < bytes) pixels_.resize(bytes);
  std::fill(pixels_.begin(), pixels_.begin() + std::ptrdiff_t(bytes), uint8_t(0));
}

}  // namespace swf
