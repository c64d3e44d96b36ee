// A frame as the codec sees it: top-down rows of 32-bit pixels (0x00RRGGBB),
// and its conversion from and to the bottom-up (or top-down) DIBs of 24 and 32
// bits a pixel that Video for Windows hands around.
#pragma once

#include <cstddef>
#include <cstdint>
#include <vector>

namespace zmbv {

struct Picture {
  int width = 0;
  int height = 0;
  std::vector<uint32_t> pixels;  // width * height, row 0 at the top

  Picture() = default;
  Picture(int w, int h) : width(w), height(h), pixels(static_cast<size_t>(w) * h) {}
  uint32_t* row(int y) { return pixels.data() + static_cast<size_t>(y) * width; }
  const uint32_t* row(int y) const { return pixels.data() + static_cast<size_t>(y) * width; }
};

struct DibLayout {
  int width;
  int height;    // rows, always positive
  int bitCount;  // 24 or 32
  bool bottomUp;

  size_t stride() const { return ((static_cast<size_t>(width) * bitCount + 31) / 32) * 4; }
  size_t imageSize() const { return stride() * height; }
};

// The DIB's rows into the picture (sized by the caller to the DIB's size).
void readDib(const uint8_t* bits, const DibLayout& layout, Picture& picture);
// The same for the picture's rows firstRow up to endRow (top-down).
void readDibRows(const uint8_t* bits, const DibLayout& layout, Picture& picture, int firstRow, int endRow);
// The picture into a DIB of the same size; row padding is written as zeros.
void writeDib(const Picture& picture, const DibLayout& layout, uint8_t* bits);

}  // namespace zmbv
