#include "wav_format_chunk.h"

namespace {

constexpr size_t kPcmFormatBytes = 16;  // no cbSize
constexpr uint16_t kPcmTag = 1;

uint16_t u16At(const uint8_t* bytes) { return static_cast<uint16_t>(bytes[0] | bytes[1] << 8); }

}  // namespace

bool readWavFormatChunk(const uint8_t* chunk, size_t size, std::vector<uint8_t>& format) {
  format.clear();
  if (!chunk || size < kPcmFormatBytes) return false;
  const bool hasCbSize = u16At(chunk) != kPcmTag && size >= kWavFormatHeadBytes;
  const size_t extra = hasCbSize ? u16At(chunk + kPcmFormatBytes) : 0;
  if (hasCbSize && kWavFormatHeadBytes + extra > size) return false;
  format.assign(chunk, chunk + kPcmFormatBytes);
  format.push_back(static_cast<uint8_t>(extra));
  format.push_back(static_cast<uint8_t>(extra >> 8));
  if (extra) format.insert(format.end(), chunk + kWavFormatHeadBytes, chunk + kWavFormatHeadBytes + extra);
  return true;
}
