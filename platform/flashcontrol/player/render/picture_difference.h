// Where two pictures of the same size differ: the host repaints only that.
#pragma once

#include <cstdint>

namespace swf {

struct PixelRect {
  int left = 0, top = 0, right = 0, bottom = 0;  // [left, right) x [top, bottom)
  bool empty() const { return right <= left || bottom <= top; }
};

// The smallest rectangle holding every pixel at which the two tightly packed
// 32-bit pictures differ; empty when they are equal.
PixelRect differingArea(const uint8_t* a, const uint8_t* b, int width, int height);

}  // namespace swf
