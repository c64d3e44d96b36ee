// The coverage of one mask over the box being drawn: 0..255 per pixel, what
// the mask's shapes cover (their colours do not matter). What the mask
// clips is drawn with its own coverage multiplied by this.
#pragma once

#include <cstdint>
#include <vector>

#include "coverage_rasterizer.h"

namespace swf {

class MaskLayer {
 public:
  // Starts empty over box: covering nothing.
  void begin(PixelBox box);
  // Adds coverage 0..256 for pixels [x, x + count) of row y, all within the box.
  void unite(int y, int x, int count, const uint16_t* coverage);
  // out[i] = coverage[i] scaled by the mask, for pixels within the box.
  void apply(int y, int x, int count, const uint16_t* coverage, uint16_t* out) const;
  // The pixels where the mask covers anything (empty when it covers nothing).
  PixelBox bounds() const { return touched_ ? dirty_ : PixelBox{}; }
  static size_t bytesFor(PixelBox box) { return box.empty() ? 0 : size_t(box.x1 - box.x0) * size_t(box.y1 - box.y0); }

 private:
  uint8_t* row(int y, int x) { return &cover_[size_t(y - box_.y0) * width() + size_t(x - box_.x0)]; }
  const uint8_t* row(int y, int x) const { return &cover_[size_t(y - box_.y0) * width() + size_t(x - box_.x0)]; }
  size_t width() const { return size_t(box_.x1 - box_.x0); }
  void clearDirty();

  PixelBox box_;
  PixelBox dirty_;
  bool touched_ = false;
  std::vector<uint8_t> cover_;  // zero outside dirty_
};

}  // namespace swf
