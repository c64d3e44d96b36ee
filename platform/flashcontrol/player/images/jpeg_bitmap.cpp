#include "jpeg_bitmap.h"

#include <algorithm>

#include "../read/zlib_inflate.h"
#include "bitmap_limits.h"
#include "embedded_picture.h"

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

// A plane that does not inflate to one byte per pixel leaves the picture
// opaque. The colours beside a plane are stored already multiplied by it, as
// the real player reads them; a colour above its alpha is cut down to it.
void applyAlpha(const uint8_t* plane, size_t size, DecodedImage& image) {
  std::vector<uint8_t> alpha;
  if (!inflateUpTo(plane, size, image.pixels.size(), alpha)) return;
  for (size_t i = 0; i < alpha.size(); ++i) {
    Bgra& p = image.pixels[i];
    uint8_t a = uint8_t(div255(uint32_t(p.a) * alpha[i]));
    p = Bgra{std::min(p.b, a), std::min(p.g, a), std::min(p.r, a), a};
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

bool decodeJpegBitmap(const JpegBitmapTag& tag, const uint8_t* tables, size_t tablesSize, JpegDecoder decoder,
                      DecodedImage& out) {
  if (isPngOrGif(tag.image, tag.imageSize)) {
    return !tag.usesTables && decodePngOrGif(tag.image, tag.imageSize, out);
  }
  if (!decoder) return false;
  std::vector<uint8_t> stream = withoutStrayMarkers(tag.image, tag.imageSize);
  if (!tag.usesTables) tables = nullptr, tablesSize = 0;
  DecodedImage decoded;
  if (!decoder(tables, tablesSize, stream.data(), stream.size(), &decoded)) return false;
  // The decoder's picture is held to the same limits as any other.
  if (!bitmapSizeAllowed(decoded.width, decoded.height) ||
      decoded.pixels.size() != size_t(decoded.width) * size_t(decoded.height)) {
    return false;
  }
  if (tag.zlibAlphaSize > 0) applyAlpha(tag.zlibAlpha, tag.zlibAlphaSize, decoded);
  out = std::move(decoded);
  return true;
}

}  // namespace swf
