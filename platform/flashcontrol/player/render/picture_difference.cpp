#include "picture_difference.h"

#include <cstddef>
#include <cstring>

namespace swf {
namespace {

bool samePixel(const uint8_t* a, const uint8_t* b, int x) { return std::memcmp(a + x * 4, b + x * 4, 4) == 0; }

}  // namespace

PixelRect differingArea(const uint8_t* a, const uint8_t* b, int width, int height) {
  PixelRect area;
  if (!a || !b || width <= 0 || height <= 0) return area;
  const size_t stride = size_t(width) * 4;
  bool found = false;
  for (int y = 0; y < height; ++y) {
    const uint8_t* rowA = a + size_t(y) * stride;
    const uint8_t* rowB = b + size_t(y) * stride;
    if (std::memcmp(rowA, rowB, stride) == 0) continue;
    // Only the columns outside what is already known need a look.
    int left = 0;
    while (left < (found ? area.left : width) && samePixel(rowA, rowB, left)) ++left;
    int right = width;
    while (right > (found ? area.right : left + 1) && samePixel(rowA, rowB, right - 1)) --right;
    if (!found) {
      area = PixelRect{left, y, right, y + 1};
      found = true;
    } else {
      if (left < area.left) area.left = left;
      if (right > area.right) area.right = right;
      area.bottom = y + 1;
    }
  }
  return area;
}

}  // namespace swf
