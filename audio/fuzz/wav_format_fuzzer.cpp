// libFuzzer target: any bytes as a WAV file's "fmt " chunk. The chunk is copied to
// a buffer of its own size so that any read past it is caught.
#include <cstddef>
#include <cstdint>
#include <cstring>
#include <vector>

#include "wav_format_chunk.h"

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
  const std::vector<uint8_t> chunk(data, data + size);
  std::vector<uint8_t> format;
  if (!readWavFormatChunk(chunk.data(), chunk.size(), format)) return 0;
  // What is kept is the chunk's head and as many extra bytes as cbSize says.
  const size_t extra = format[16] | format[17] << 8;
  if (format.size() != kWavFormatHeadBytes + extra) __builtin_trap();
  if (std::memcmp(format.data(), chunk.data(), 16) != 0) __builtin_trap();
  return 0;
}
