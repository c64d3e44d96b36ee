// Test tones: made as 16-bit stereo samples, played through the wave output, and
// measured where they appear in a recording.
#pragma once

#include <windows.h>

#include <cstdint>
#include <vector>

namespace audiotest {

// Interleaved stereo sine, the same on both channels.
std::vector<int16_t> stereoTone(double hz, double amplitude, int frames, int rate = 44100);

// Plays 44100 Hz 16-bit stereo samples through the wave mapper and returns when
// the device has played them; false without an output device.
bool playThroughWaveOut(const std::vector<int16_t>& samples);

struct ToneMeasure {
  size_t firstFrame = 0;  // first frame louder than the threshold
  size_t frames = 0;      // frames from there to the last one louder than it
  double hz = 0;          // from the zero crossings in between, gaps left out
  double rms = 0;
  int gaps = 0;  // breaks longer than a period inside the sound
};

// Measures one channel (0 left, 1 right) of interleaved stereo samples.
ToneMeasure measureTone(const std::vector<int16_t>& samples, int channel, int threshold, int rate = 44100);

// The sample frames of one channel at which a sound louder than threshold
// begins after at least quiet frames below it.
std::vector<size_t> soundOnsets(const std::vector<int16_t>& channel, int threshold, size_t quiet);

}  // namespace audiotest
