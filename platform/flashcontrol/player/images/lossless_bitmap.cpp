#include "lossless_bitmap.h"

#include <algorithm>
#include <array>
#include <vector>

#include "../read/zlib_inflate.h"
#include "bitmap_limits.h"

namespace swf {
namespace {

using Header = LosslessBitmapTag;

size_t rowBytes(const Header& h) {
  size_t w = size_t(h.width);
  switch (h.format) {
    case ColorMapped: return (w + 3) & ~size_t(3);
    case Rgb15: return (w * 2 + 3) & ~size_t(3);
    default: return w * 4;
  }
}

// Premultiplied data can still carry a colour above its alpha; keep it valid.
Bgra premultipliedPixel(uint8_t r, uint8_t g, uint8_t b, uint8_t a) {
  return Bgra{std::min(b, a), std::min(g, a), std::min(r, a), a};
}

uint8_t expand5(unsigned v) { return uint8_t(v << 3 | v >> 2); }

// Table entries the indices do not reach stay transparent.
std::array<Bgra, 256> colorTable(const uint8_t* p, int count, bool withAlpha) {
  std::array<Bgra, 256> table{};
  for (int i = 0; i < count; ++i, p += withAlpha ? 4 : 3) {
    table[size_t(i)] = withAlpha ? premultipliedPixel(p[0], p[1], p[2], p[3]) : Bgra{p[2], p[1], p[0], 255};
  }
  return table;
}

void decodeRows(const Header& h, const uint8_t* data, bool withAlpha, std::vector<Bgra>& pixels) {
  const size_t stride = rowBytes(h);
  std::array<Bgra, 256> table{};
  if (h.format == ColorMapped) {
    table = colorTable(data, h.tableSize, withAlpha);
    data += size_t(h.tableSize) * (withAlpha ? 4 : 3);
  }
  Bgra* out = pixels.data();
  for (int y = 0; y < h.height; ++y, data += stride) {
    const uint8_t* p = data;
    for (int x = 0; x < h.width; ++x) {
      if (h.format == ColorMapped) {
        *out++ = table[*p++];
      } else if (h.format == Rgb15) {
        unsigned v = unsigned(p[0]) << 8 | p[1];
        *out++ = Bgra{expand5(v & 31), expand5((v >> 5) & 31), expand5((v >> 10) & 31), 255};
        p += 2;
      } else {
        *out++ = withAlpha ? premultipliedPixel(p[1], p[2], p[3], p[0]) : Bgra{p[3], p[2], p[1], 255};
        p += 4;
      }
    }
  }
}

}  // namespace

bool decodeLosslessBitmap(const LosslessBitmapTag& h, DecodedImage& out) {
  const bool withAlpha = h.withAlpha;
  bool known = h.format == ColorMapped || h.format == Rgb32 || (h.format == Rgb15 && !withAlpha);
  if (!known || !bitmapSizeAllowed(h.width, h.height)) return false;

  size_t tableBytes = size_t(h.tableSize) * (withAlpha ? 4 : 3);
  std::vector<uint8_t> raw;
  if (!inflateUpTo(h.zlibData, h.zlibSize, tableBytes + rowBytes(h) * size_t(h.height), raw)) return false;
  std::vector<Bgra> pixels(size_t(h.width) * size_t(h.height));
  decodeRows(h, raw.data(), withAlpha, pixels);
  out.width = h.width;
  out.height = h.height;
  out.pixels = std::move(pixels);
  return true;
}

}  // namespace swf
