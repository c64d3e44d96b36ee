#include "upsampler.h"

namespace swf {

void upsampleToStereo(const int16_t* samples, size_t frames, int channels, int factor, std::vector<int16_t>& out) {
  if (!samples || frames == 0 || channels < 1 || channels > 2 || factor < 1) return;
  out.reserve(out.size() + frames * size_t(factor) * 2);
  for (size_t i = 0; i < frames; ++i) {
    const size_t next = i + 1 < frames ? i + 1 : i;
    const int left0 = samples[i * channels];
    const int right0 = samples[i * channels + channels - 1];
    const int left1 = samples[next * channels];
    const int right1 = samples[next * channels + channels - 1];
    for (int k = 0; k < factor; ++k) {
      out.push_back(static_cast<int16_t>(left0 + (left1 - left0) * k / factor));
      out.push_back(static_cast<int16_t>(right0 + (right1 - right0) * k / factor));
    }
  }
}

}  // namespace swf
