// libFuzzer target: any bytes as a JPEG stream; the first byte, when small,
// says how many of the following bytes are a separate tables stream.
#include <cstddef>
#include <cstdint>

#include "images/jpeg_decoder.h"

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
  if (size == 0) return 0;
  size_t tables = data[0] < 128 ? size_t(data[0]) * 4 : 0;
  if (tables > size - 1) tables = size - 1;
  swf::DecodedImage image;
  swf::decodeJpeg(data + 1, tables, data + 1 + tables, size - 1 - tables, &image);
  return 0;
}
