// The surface the player draws into.
#pragma once

#include <cstdint>

namespace swf {

// Premultiplied 8-bit pixels in B, G, R, A byte order, rows top-down: the
// layout of a 32-bit Windows DIB section, so a host can hand its bits over.
// stride is the distance in bytes from one row to the next.
struct Canvas {
  uint8_t* pixels = nullptr;
  int width = 0;
  int height = 0;
  int stride = 0;
};

}  // namespace swf
