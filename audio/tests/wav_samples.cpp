#include "wav_samples.h"

#include "wav_file.h"

namespace audiotest {

std::vector<int16_t> wavSamples(const std::string& path) {
  WavFile file;
  std::vector<int16_t> samples;
  if (FAILED(file.open(path.c_str(), WavFile::ReadMode))) return samples;
  samples.resize(file.dataSize() / 2);
  DWORD read = 0;
  if (!samples.empty()) file.read(samples.data(), file.dataSize(), &read);
  samples.resize(read / 2);
  return samples;
}

WAVEFORMATEX pcmFormat(WORD channels, DWORD rate, WORD bits) {
  WAVEFORMATEX format = {};
  format.wFormatTag = WAVE_FORMAT_PCM;
  format.nChannels = channels;
  format.nSamplesPerSec = rate;
  format.wBitsPerSample = bits;
  format.nBlockAlign = static_cast<WORD>(channels * bits / 8);
  format.nAvgBytesPerSec = rate * format.nBlockAlign;
  return format;
}

}  // namespace audiotest
