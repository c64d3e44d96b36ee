// Lengths in twips, the unit of every SWF coordinate (20 per pixel).
#pragma once

#include <cstdint>

namespace swf {

constexpr int kTwipsPerPixel = 20;

struct Point {
  int32_t x = 0;
  int32_t y = 0;
  bool operator==(const Point& o) const { return x == o.x && y == o.y; }
  bool operator!=(const Point& o) const { return !(*this == o); }
};

}  // namespace swf
