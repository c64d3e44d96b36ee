#include "jpeg_bitmap.h"

#include <algorithm>
#include <cstring>

#include "bitmap_limits.h"
#include "zlib_block.h"

namespace swf {
namespace {

constexpr uint8_t kMarker = 0xFF;
constexpr uint8_t kSoi = 0xD8, kEoi = 0xD9, kSos = 0xDA;

bool isStrayPair(const uint8_t* p, size_t left) {
  return left >= 4 && p[0] == kMarker && p[1] == kEoi && p[2] == kMarker && p[3] == kSoi;
}

// Markers that stand alone, without a length after them.
bool standsAlone(uint8_t m) { return m == kSoi || m == kEoi || m == 0x01 || (m >= 0xD0 && m <= 0xD7); }

// Where the entropy-coded data after a scan header ends: at the first marker
// that is neither a stuffed zero, a restart nor fill.
size_t scanDataEnd(const uint8_t* data, size_t size, size_t pos) {
  for (; pos + 1 < size; ++pos) {
    uint8_t next = data[pos + 1];
    if (data[pos] == kMarker && next != 0 && next != kMarker && !(next >= 0xD0 && next <= 0xD7)) return pos;
  }
  return size;
}

bool startsWith(const uint8_t* data, size_t size, const char* magic, size_t n) {
  return size >= n && std::memcmp(data, magic, n) == 0;
}

bool isPngOrGif(const uint8_t* data, size_t size) {
  return startsWith(data, size, "\x89PNG\r\n\x1a\n", 8) || startsWith(data, size, "GIF89a", 6) ||
         startsWith(data, size, "GIF87a", 6);
}

uint32_t u32At(const uint8_t* p) {
  return uint32_t(p[0]) | uint32_t(p[1]) << 8 | uint32_t(p[2]) << 16 | uint32_t(p[3]) << 24;
}

// Where a tag's JPEG stream and its alpha plane lie in the body.
struct TagLayout {
  size_t imageAt = 0, imageSize = 0;
  size_t alphaAt = 0, alphaSize = 0;
};

bool layoutOf(TagCode code, size_t size, const uint8_t* body, TagLayout& l) {
  if (code == TagCode::DefineBits || code == TagCode::DefineBitsJpeg2) {
    if (size < 2) return false;
    l.imageAt = 2, l.imageSize = size - 2;
    return true;
  }
  size_t headerSize = code == TagCode::DefineBitsJpeg3 ? 6 : 8;  // JPEG4 adds the deblocking value
  if (size < headerSize) return false;
  uint32_t imageSize = u32At(body + 2);
  if (imageSize > size - headerSize) return false;
  l.imageAt = headerSize, l.imageSize = imageSize;
  l.alphaAt = headerSize + imageSize, l.alphaSize = size - l.alphaAt;
  return true;
}

// A plane that does not inflate to one byte per pixel leaves the picture opaque.
void applyAlpha(const uint8_t* plane, size_t size, DecodedImage& image) {
  std::vector<uint8_t> alpha;
  if (!inflateExactly(plane, size, image.pixels.size(), alpha)) return;
  for (size_t i = 0; i < alpha.size(); ++i) {
    Bgra& p = image.pixels[i];
    uint32_t a = alpha[i];
    p = Bgra{uint8_t(div255(p.b * a)), uint8_t(div255(p.g * a)), uint8_t(div255(p.r * a)), uint8_t(div255(p.a * a))};
  }
}

}  // namespace

std::vector<uint8_t> withoutStrayMarkers(const uint8_t* data, size_t size) {
  std::vector<uint8_t> out;
  out.reserve(size);
  size_t pos = 0;
  while (pos < size) {
    if (isStrayPair(data + pos, size - pos)) {
      pos += 4;
      continue;
    }
    size_t end = pos + 1;
    if (data[pos] == kMarker && pos + 1 < size && data[pos + 1] != kMarker) {
      uint8_t m = data[pos + 1];
      end = pos + 2;
      if (!standsAlone(m) && pos + 3 < size) {
        end = std::min(size, pos + 2 + (size_t(data[pos + 2]) << 8 | data[pos + 3]));
        if (m == kSos) end = scanDataEnd(data, size, end);
      }
    }
    out.insert(out.end(), data + pos, data + end);
    pos = end;
  }
  return out;
}

bool decodeJpegBitmap(TagCode code, const uint8_t* body, size_t size, const uint8_t* tables,
                      size_t tablesSize, JpegDecoder decoder, DecodedImage& out) {
  TagLayout l;
  if (!decoder || !layoutOf(code, size, body, l)) return false;
  const uint8_t* image = body + l.imageAt;
  if (isPngOrGif(image, l.imageSize)) return false;
  std::vector<uint8_t> stream = withoutStrayMarkers(image, l.imageSize);
  if (code != TagCode::DefineBits) tables = nullptr, tablesSize = 0;
  DecodedImage decoded;
  if (!decoder(tables, tablesSize, stream.data(), stream.size(), &decoded)) return false;
  // The decoder's picture is held to the same limits as any other.
  if (!bitmapSizeAllowed(decoded.width, decoded.height) ||
      decoded.pixels.size() != size_t(decoded.width) * size_t(decoded.height)) {
    return false;
  }
  if (l.alphaSize > 0) applyAlpha(body + l.alphaAt, l.alphaSize, decoded);
  out = std::move(decoded);
  return true;
}

}  // namespace swf
