#include "tone.h"

#include <mmsystem.h>

#include <algorithm>
#include <cmath>
#include <cstdlib>

namespace audiotest {

std::vector<int16_t> stereoTone(double hz, double amplitude, int frames, int rate) {
  std::vector<int16_t> samples(static_cast<size_t>(frames) * 2);
  const double step = 2 * 3.14159265358979323846 * hz / rate;
  for (int i = 0; i < frames; ++i) {
    const int16_t value = static_cast<int16_t>(std::lround(amplitude * std::sin(step * i)));
    samples[2 * i] = samples[2 * i + 1] = value;
  }
  return samples;
}

bool playThroughWaveOut(const std::vector<int16_t>& samples) {
  WAVEFORMATEX format = {WAVE_FORMAT_PCM, 2, 44100, 176400, 4, 16, 0};
  HWAVEOUT device = nullptr;
  if (waveOutOpen(&device, WAVE_MAPPER, &format, 0, 0, CALLBACK_NULL) != MMSYSERR_NOERROR) return false;
  WAVEHDR header = {};
  header.lpData = reinterpret_cast<LPSTR>(const_cast<int16_t*>(samples.data()));
  header.dwBufferLength = static_cast<DWORD>(samples.size() * sizeof(int16_t));
  bool played = waveOutPrepareHeader(device, &header, sizeof header) == MMSYSERR_NOERROR &&
                waveOutWrite(device, &header, sizeof header) == MMSYSERR_NOERROR;
  const DWORD limitMs = 5000 + header.dwBufferLength / 176;
  for (DWORD waited = 0; played && !(header.dwFlags & WHDR_DONE) && waited < limitMs; waited += 10) Sleep(10);
  played = played && (header.dwFlags & WHDR_DONE);
  waveOutReset(device);
  waveOutUnprepareHeader(device, &header, sizeof header);
  waveOutClose(device);
  return played;
}

ToneMeasure measureTone(const std::vector<int16_t>& samples, int channel, int threshold, int rate) {
  ToneMeasure measure;
  const size_t frames = samples.size() / 2;
  size_t first = frames;
  size_t last = 0;
  for (size_t i = 0; i < frames; ++i) {
    if (std::abs(samples[2 * i + channel]) > threshold) {
      if (first == frames) first = i;
      last = i;
    }
  }
  if (first == frames) return measure;
  measure.firstFrame = first;
  measure.frames = last - first + 1;
  double energy = 0;
  std::vector<size_t> crossings;
  for (size_t i = first; i <= last; ++i) {
    const int value = samples[2 * i + channel];
    energy += double(value) * value;
    if (i > first && (samples[2 * (i - 1) + channel] < 0) != (value < 0)) crossings.push_back(i);
  }
  measure.rms = std::sqrt(energy / measure.frames);
  // Half periods from one crossing to the next; a gap in the sound is left out.
  std::vector<size_t> halves;
  for (size_t i = 1; i < crossings.size(); ++i) halves.push_back(crossings[i] - crossings[i - 1]);
  if (halves.empty()) return measure;
  std::vector<size_t> sorted = halves;
  std::nth_element(sorted.begin(), sorted.begin() + sorted.size() / 2, sorted.end());
  const size_t median = sorted[sorted.size() / 2];
  double total = 0;
  size_t counted = 0;
  for (size_t half : halves) {
    if (half <= 2 * median) {
      total += double(half);
      ++counted;
    } else {
      ++measure.gaps;
    }
  }
  measure.hz = rate / (2 * total / counted);
  return measure;
}

std::vector<size_t> soundOnsets(const std::vector<int16_t>& channel, int threshold, size_t quiet) {
  std::vector<size_t> onsets;
  size_t still = quiet;
  for (size_t i = 0; i < channel.size(); ++i) {
    if (std::abs(static_cast<int>(channel[i])) < threshold) {
      ++still;
      continue;
    }
    if (still >= quiet) onsets.push_back(i);
    still = 0;
  }
  return onsets;
}

}  // namespace audiotest
