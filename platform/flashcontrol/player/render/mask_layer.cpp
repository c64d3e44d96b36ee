#include "mask_layer.h"

#include <algorithm>
#include <cstring>

#include "pixel.h"

namespace swf {

// Only what the last use touched needs clearing, in the layout it used.
void MaskLayer::clearDirty() {
  if (!touched_) return;
  for (int y = dirty_.y0; y < dirty_.y1; ++y) std::memset(row(y, dirty_.x0), 0, size_t(dirty_.x1 - dirty_.x0));
  touched_ = false;
}

void MaskLayer::begin(PixelBox box) {
  clearDirty();
  box_ = box;
  size_t need = bytesFor(box);
  if (cover_.size() < need) cover_.resize(need, 0);
}

void MaskLayer::unite(int y, int x, int count, const uint16_t* coverage) {
  if (count <= 0) return;
  uint8_t* m = row(y, x);
  int first = count, last = -1;
  for (int i = 0; i < count; ++i) {
    uint32_t cov = coverage[i];
    if (!cov) continue;
    // Union as one opaque layer over another: what is left uncovered shrinks.
    m[i] = uint8_t(m[i] + ((cov * (255u - m[i]) + 128) >> 8));
    first = std::min(first, i);
    last = i;
  }
  if (last < 0) return;
  PixelBox touched{x + first, y, x + last + 1, y + 1};
  if (!touched_) {
    dirty_ = touched;
    touched_ = true;
    return;
  }
  dirty_ = PixelBox{std::min(dirty_.x0, touched.x0), std::min(dirty_.y0, touched.y0), std::max(dirty_.x1, touched.x1),
                    std::max(dirty_.y1, touched.y1)};
}

void MaskLayer::apply(int y, int x, int count, const uint16_t* coverage, uint16_t* out) const {
  const uint8_t* m = row(y, x);
  for (int i = 0; i < count; ++i) out[i] = uint16_t(div255(uint32_t(coverage[i]) * m[i]));
}

}  // namespace swf
