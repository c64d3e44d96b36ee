#include "picture.h"

#include <cstring>

namespace zmbv {
namespace {

const uint8_t* dibRow(const uint8_t* bits, const DibLayout& layout, int y) {
  const int stored = layout.bottomUp ? layout.height - 1 - y : y;
  return bits + layout.stride() * static_cast<size_t>(stored);
}

uint8_t* dibRow(uint8_t* bits, const DibLayout& layout, int y) {
  return const_cast<uint8_t*>(dibRow(static_cast<const uint8_t*>(bits), layout, y));
}

}  // namespace

void readDib(const uint8_t* bits, const DibLayout& layout, Picture& picture) {
  readDibRows(bits, layout, picture, 0, layout.height);
}

void readDibRows(const uint8_t* bits, const DibLayout& layout, Picture& picture, int firstRow, int endRow) {
  for (int y = firstRow; y < endRow; ++y) {
    const uint8_t* source = dibRow(bits, layout, y);
    uint32_t* target = picture.row(y);
    if (layout.bitCount == 32) {
      std::memcpy(target, source, static_cast<size_t>(layout.width) * 4);
      continue;
    }
    // Four bytes at a time, the fourth (the next pixel's blue) masked off; the
    // last pixel of a row byte by byte, so nothing past the row is read.
    int x = 0;
    for (; x + 1 < layout.width; ++x, source += 3) {
      uint32_t pixel;
      std::memcpy(&pixel, source, sizeof pixel);
      target[x] = pixel & 0xFFFFFF;
    }
    target[x] = source[0] | (source[1] << 8) | (static_cast<uint32_t>(source[2]) << 16);
  }
}

void writeDib(const Picture& picture, const DibLayout& layout, uint8_t* bits) {
  const size_t used = static_cast<size_t>(layout.width) * layout.bitCount / 8;
  for (int y = 0; y < layout.height; ++y) {
    uint8_t* target = dibRow(bits, layout, y);
    const uint32_t* source = picture.row(y);
    if (layout.bitCount == 32) {
      std::memcpy(target, source, used);
    } else {
      for (int x = 0; x < layout.width; ++x) {
        target[3 * x] = static_cast<uint8_t>(source[x]);
        target[3 * x + 1] = static_cast<uint8_t>(source[x] >> 8);
        target[3 * x + 2] = static_cast<uint8_t>(source[x] >> 16);
      }
    }
    std::memset(target + used, 0, layout.stride() - used);
  }
}

}  // namespace zmbv
