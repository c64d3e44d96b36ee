// Stage, rate, frames and version of an uncompressed movie, and the colour the
// plug-in's clips need behind the stage: it comes with the first SetBackgroundColor
// tag, so tags are skipped one by one until that one turns up.
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

// Only the three colour bytes are read, whatever the body's length.
bool readBackgroundColor(FILE* file, uint32_t length, uint32_t& color) {
  uint8_t rgb[3];
  if (length < sizeof rgb || std::fread(rgb, 1, sizeof rgb, file) != sizeof rgb) return false;
  color = rgb[0] | static_cast<uint32_t>(rgb[1]) << 8 | static_cast<uint32_t>(rgb[2]) << 16;
  return true;
}

// Ends at the end of the file, the End tag or the first SetBackgroundColor.
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
  // Too short for the longest header: say so instead of reading half of one.
  if (got < sizeof bytes || !swf::isPlainSignature(bytes)) return kRendererEMovieInvalid;

  const uint8_t* rectStart = bytes + swf::kPrefixSize;
  const swf::StageRect rect = swf::decodeStageRect(rectStart, swf::kMaxRectSize);
  const uint8_t* after = rectStart + rect.size;
  header.version = bytes[3];
  header.width = (static_cast<double>(rect.xmax) - static_cast<double>(rect.xmin)) * 0.05;
  header.height = (static_cast<double>(rect.ymax) - static_cast<double>(rect.ymin)) * 0.05;
  header.frameCount = static_cast<int32_t>(swf::le16(after + 2));
  header.frameRate = swf::le16(after) / 256.0;

  // Back to the first tag, just behind the header.
  const long back = static_cast<long>(rect.size) - static_cast<long>(swf::kMaxRectSize);
  if (back == 0 || std::fseek(file.get(), back, SEEK_CUR) == 0) findBackgroundColor(file.get(), header.backgroundColor);
  return 0;
}
