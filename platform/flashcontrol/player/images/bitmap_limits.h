// The largest picture a bitmap tag may define, the real player's own limits:
// hostile movies cannot make the player allocate more than this, which also
// fits a 32-bit process.
#pragma once

#include <cstdint>

namespace swf {

constexpr int kMaxBitmapSide = 8191;
constexpr int64_t kMaxBitmapPixels = 16777215;

inline bool bitmapSizeAllowed(int64_t width, int64_t height) {
  return width > 0 && height > 0 && width <= kMaxBitmapSide && height <= kMaxBitmapSide &&
         width * height <= kMaxBitmapPixels;
}

}  // namespace swf
