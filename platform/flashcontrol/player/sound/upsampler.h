// Sound at 5512.5, 11025, 22050 or 44100 Hz, mono or stereo, brought to the
// mixer's 44100 Hz stereo by linear interpolation between source frames.
#pragma once

#include <cstddef>
#include <cstdint>
#include <vector>

namespace swf {

constexpr int kMixRate = 44100;

// Appends frames * factor stereo frames (factor 1, 2, 4 or 8). Output frame
// k * factor is source frame k exactly; the last source frame is held.
void upsampleToStereo(const int16_t* samples, size_t frames, int channels, int factor, std::vector<int16_t>& out);

}  // namespace swf
