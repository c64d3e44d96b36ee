// A premultiplied pixel in the canvas's byte order, and the integer blend
// arithmetic shared by everything that writes pixels.
#pragma once

#include <cstdint>

#include "../format/color.h"

namespace swf {

struct Bgra {
  uint8_t b = 0, g = 0, r = 0, a = 0;
};

// x / 255 rounded, exact for every product of two bytes.
inline uint32_t div255(uint32_t x) {
  x += 128;
  return (x + (x >> 8)) >> 8;
}

inline Bgra premultiply(const Rgba& c) {
  return Bgra{uint8_t(div255(uint32_t(c.b) * c.a)), uint8_t(div255(uint32_t(c.g) * c.a)),
              uint8_t(div255(uint32_t(c.r) * c.a)), c.a};
}

// Source over destination, the source scaled by coverage 0..256 first.
inline void blendPixel(uint8_t* d, const Bgra& s, uint32_t coverage) {
  uint32_t sa = (s.a * coverage + 128) >> 8;
  if (sa == 0) return;
  uint32_t inv = 255 - sa;
  d[0] = uint8_t(((s.b * coverage + 128) >> 8) + div255(d[0] * inv));
  d[1] = uint8_t(((s.g * coverage + 128) >> 8) + div255(d[1] * inv));
  d[2] = uint8_t(((s.r * coverage + 128) >> 8) + div255(d[2] * inv));
  d[3] = uint8_t(sa + div255(d[3] * inv));
}

}  // namespace swf
