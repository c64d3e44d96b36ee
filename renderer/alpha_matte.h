// The alpha matte: a frame drawn over white (24-bit) and over black (32-bit)
// gives its coverage. Portable: the arithmetic is tested natively too.
#pragma once

#include <cstdint>

struct MattePasses {
  const uint8_t* white;  // B, G, R per pixel
  long whiteStride;
  uint8_t* black;  // B, G, R, A per pixel; receives the result
  long blackStride;
  int width;
  int height;
};

// For each pixel: d = (K - W - 1) mod 256 per colour, alpha = the largest d,
// stored in K's fourth byte; when alpha < 255 each colour of K gains
// floor((255 - alpha) * b / 255) of the background byte b (mod 256).
// background is 0x00BBGGRR.
void applyAlphaMatte(const MattePasses& passes, uint32_t background);
