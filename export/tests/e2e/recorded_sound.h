// Reading back a recorded sound track: the loopback's presence and the decoded
// track (audiotest::soundOnsets finds the marks in it).
#pragma once

#include <cmath>
#include <cstdint>
#include <cstdlib>
#include <string>
#include <vector>

#include "avi_reader.h"
#include "export_test_support.h"
#include "host_command.h"
#include "test_files.h"
#include "tone.h"

namespace e2e {

constexpr int kToneSamplesPerFrame = 44100 / 12;

// A numbered movie at 12 fps, silent up to toneFrom, then a 440 Hz tone in its streaming sound.
inline mvqtest::Bytes toneMovie(int frames, int toneFrom) {
  const mvqtest::PcmFormat mono{44100, true, false};
  return numberedMovie(frames, 12, -1, [&](mvqtest::SwfBuilder& movie, int frame) {
    if (frame == 0) movie.soundStreamHead(mono, kToneSamplesPerFrame);
    std::vector<int16_t> block(kToneSamplesPerFrame);
    if (frame >= toneFrom)
      for (int i = 0; i < kToneSamplesPerFrame; ++i)
        block[i] = static_cast<int16_t>(
            12000 * std::sin(2 * 3.14159265358979 * 440 * (frame * kToneSamplesPerFrame + i) / 44100));
    movie.soundStreamBlock(mono, block);
  });
}

inline bool loopbackMissing() {
  return std::getenv("MVQ_PULSE_MISSING") || !std::getenv("PULSE_SERVER") || !exporttest::ffprobeAvailable();
}

// The decoded sound track as 16-bit stereo 44100 Hz sample frames (left channel).
inline std::vector<int16_t> leftChannel(const std::string& avi, const std::string& raw) {
  std::vector<int16_t> left;
  if (!audiotest::runHostCommand("ffmpeg -v error -y -i '" + audiotest::hostPath(avi) +
                                 "' -map 0:a:0 -ac 2 -ar 44100 -f s16le '" + audiotest::hostPath(raw) + "'"))
    return left;
  const mvqtest::Bytes bytes = mvqtest::readFile(raw);
  for (size_t i = 0; i + 3 < bytes.size(); i += 4) left.push_back(static_cast<int16_t>(bytes[i] | (bytes[i + 1] << 8)));
  return left;
}

}  // namespace e2e
