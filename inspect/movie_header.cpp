// readMovieHeader: the first 29 bytes of a plain movie, or of the inflated start of a
// compressed one.
#include "movie_header.h"

#include "inflate_stream.h"
#include "stdio_file.h"
#include "swf_layout.h"

namespace {

constexpr size_t kCompressedPeek = 512;
constexpr size_t kHeaderTail = swf::kMaxHeaderSize - swf::kPrefixSize;  // offsets 8-28

// Inflates the start of the compressed body into offsets 8-28; a body that does not
// yield all 21 bytes is rejected.
bool inflateHeaderTail(FILE* file, uint8_t* header) {
  uint8_t compressed[kCompressedPeek];
  const size_t got = std::fread(compressed, 1, sizeof compressed, file);
  if (got == 0) return false;
  InflateStream stream;
  if (!stream.started()) return false;
  z_stream& z = stream.get();
  z.next_in = compressed;
  z.avail_in = static_cast<uInt>(got);
  z.next_out = header + swf::kPrefixSize;
  z.avail_out = static_cast<uInt>(kHeaderTail);
  if (inflate(&z, Z_SYNC_FLUSH) < 0 || z.avail_out != 0) return false;
  header[0] = 'F';
  return true;
}

bool readHeaderBytes(const char* path, uint8_t* header) {
  StdioFile file(path, "rb");
  if (!file) return false;
  if (std::fread(header, 1, swf::kPrefixSize, file.get()) < swf::kPrefixSize) return false;
  if (swf::isPlainSignature(header)) {
    return std::fread(header + swf::kPrefixSize, 1, kHeaderTail, file.get()) == kHeaderTail;
  }
  return swf::isZlibSignature(header) && inflateHeaderTail(file.get(), header);
}

// Xmin >= Xmax gives Xmax alone.
double extentPixels(uint32_t min, uint32_t max) {
  return max > min ? static_cast<double>(max - min) * 0.05 : static_cast<double>(max) * 0.05;
}

int32_t roundHalfAwayFromZero(double value) { return static_cast<int32_t>(value >= 0 ? value + 0.5 : value - 0.5); }

}  // namespace

int readMovieHeader(const char* path, int32_t* widthPixels, int32_t* heightPixels, double* frameRate,
                    int32_t* frameCount) {
  if (!widthPixels || !heightPixels) return -1;
  uint8_t header[swf::kMaxHeaderSize] = {};
  if (!readHeaderBytes(path, header) || !swf::isPlainSignature(header)) return -1;

  const uint8_t* rectStart = header + swf::kPrefixSize;
  const swf::StageRect rect = swf::decodeStageRect(rectStart, swf::kMaxRectSize);
  const uint8_t* after = rectStart + rect.size;
  *widthPixels = roundHalfAwayFromZero(extentPixels(rect.xmin, rect.xmax));
  *heightPixels = roundHalfAwayFromZero(extentPixels(rect.ymin, rect.ymax));
  if (frameRate) *frameRate = swf::le16(after) / 256.0;
  if (frameCount) *frameCount = static_cast<int32_t>(swf::le16(after + 2));
  return 0;
}
