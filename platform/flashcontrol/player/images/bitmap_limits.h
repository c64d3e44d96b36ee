// The largest picture a bitmap tag may define: hostile movies cannot make
// the player allocate more than this.
#pragma once

#include <cstdint>

namespace swf {

constexpr int kMaxBitmapSide = 8192;
constexpr int64_t kMaxBitmapPixels = int64_t(64) << 20;

inline bool bitmapSizeAllowed(int64_t width, int64_t height) {
  return width > 0 && height > 0 && width <= kMaxBitmapSide && height <= kMaxBitmapSide &&
         width * height <= kMaxBitmapPixels;
}

}  // namespace swf
