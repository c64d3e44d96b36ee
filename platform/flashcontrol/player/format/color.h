// Straight (not premultiplied) 8-bit colour as the movie stores it.
#pragma once

#include <cstdint>

namespace swf {

struct Rgba {
  uint8_t r = 0;
  uint8_t g = 0;
  uint8_t b = 0;
  uint8_t a = 255;
  bool operator==(const Rgba& o) const { return r == o.r && g == o.g && b == o.b && a == o.a; }
};

}  // namespace swf
