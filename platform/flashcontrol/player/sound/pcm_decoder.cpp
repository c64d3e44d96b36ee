#include "pcm_decoder.h"

namespace swf {

void decodePcm(const SoundFormat& format, const uint8_t* data, size_t size, size_t maxFrames,
               std::vector<int16_t>& out) {
  if (!data) return;
  const size_t bytesPerSample = format.sixteenBit ? 2 : 1;
  const size_t frameBytes = bytesPerSample * format.channels();
  size_t frames = size / frameBytes;
  if (maxFrames != 0 && maxFrames < frames) frames = maxFrames;
  const size_t samples = frames * format.channels();
  out.reserve(out.size() + samples);
  for (size_t i = 0; i < samples; ++i) {
    if (format.sixteenBit) {
      out.push_back(static_cast<int16_t>(data[2 * i] | data[2 * i + 1] << 8));
    } else {
      out.push_back(static_cast<int16_t>((int(data[i]) - 128) * 256));
    }
  }
}

}  // namespace swf
