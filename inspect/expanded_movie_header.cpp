// Size, rate, length and version of an unpacked movie, plus its background colour,
// which means walking the tags until the colour tag shows up.
#include "movie_header.h"

#include <algorithm>

#include "renderer_status.h"
#include "stdio_file.h"
#include "swf_layout.h"

namespace {

bool readLittleEndian(FILE* file, size_t size, uint32_t& value) {
  uint8_t bytes[4] = {};
  if (std::fread(bytes, 1, size, file) != size) return false;
  value = size == 2 ? swf::le16(bytes) : swf::le32(bytes);
  return true;
}

// In steps a 32-bit long can hold.
bool skipForward(FILE* file, uint32_t length) {
  while (length > 0) {
    const uint32_t step = std::min<uint32_t>(length, 0x40000000u);
    if (std::fseek(file, static_cast<long>(step), SEEK_CUR) != 0) return false;
    length -= step;
  }
  return true;
}

// We want red, green and blue; anything after them is ignored.
bool readBackgroundColor(FILE* file, uint32_t length, uint32_t& color) {
  uint8_t rgb[3];
  if (length < sizeof rgb || std::fread(rgb, 1, sizeof rgb, file) != sizeof rgb) return false;
  color = rgb[0] | static_cast<uint32_t>(rgb[1]) << 8 | static_cast<uint32_t>(rgb[2]) << 16;
  return true;
}

// Stops at the colour, at the End tag, or where the file runs out.
void findBackgroundColor(FILE* file, uint32_t& color) {
  uint32_t word;
  while (readLittleEndian(file, 2, word) && swf::tagCode(word) != swf::kTagEnd) {
    uint32_t length = swf::shortLength(word);
    if (length == swf::kLongLength && !readLittleEndian(file, 4, length)) return;
    if (length == 0) continue;
    if (swf::tagCode(word) == swf::kTagSetBackgroundColor) {
      readBackgroundColor(file, length, color);
      return;
    }
    if (!skipForward(file, length)) return;
  }
}

}  // namespace

int32_t readExpandedMovieHeader(const char* path, ExpandedMovieHeader& header) {
  StdioFile file(path, "rb");
  if (!file) return kRendererEMovieOpen;
  uint8_t bytes[swf::kMaxHeaderSize] = {};
  const size_t got = std::fread(bytes, 1, sizeof bytes, file.get());
  if (got == 0) return kRendererEMovieEmpty;
  // Fewer bytes than the biggest header needs: treat the file as broken.
  if (got < sizeof bytes || !swf::isPlainSignature(bytes)) return kRendererEMovieInvalid;

  const uint8_t* rectStart = bytes + swf::kPrefixSize;
  const swf::StageRect rect = swf::decodeStageRect(rectStart, swf::kMaxRectSize);
  const uint8_t* after = rectStart + rect.size;
  header.version = bytes[3];
  header.width = (static_cast<double>(rect.xmax) - static_cast<double>(rect.xmin)) * 0.05;
  header.height = (static_cast<double>(rect.ymax) - static_cast<double>(rect.ymin)) * 0.05;
  header.frameCount = static_cast<int32_t>(swf::le16(after + 2));
  header.frameRate = swf::le16(after) / 256.0;

  // The rectangle was shorter than the bytes read: seek back to the first tag.
  const long back = static_cast<long>(rect.size) - static_cast<long>(swf::kMaxRectSize);
  if (back == 0 || std::fseek(file.get(), back, SEEK_CUR) == 0) findBackgroundColor(file.get(), header.backgroundColor);
  return 0;
}
