// The movie's DefineSound characters, decoded once and kept at the mixer's
// 44100 Hz stereo so that StartSound can play them at once.
#pragma once

#include <cstddef>
#include <cstdint>
#include <map>
#include <memory>
#include <vector>

#include "mp3_decoder.h"

namespace swf {

struct PlayableSound {
  uint16_t id = 0;
  std::vector<int16_t> samples;  // 44100 Hz stereo, interleaved
  size_t frames() const { return samples.size() / 2; }
};

class SoundLibrary {
 public:
  explicit SoundLibrary(Mp3DecoderFactory* mp3 = nullptr) : mp3_(mp3) {}

  // A DefineSound body. False when it is cut short before its data; a sound
  // that cannot be decoded is kept as silence.
  bool define(const uint8_t* body, size_t size);
  // Playing sounds keep what they hold even after clear().
  std::shared_ptr<const PlayableSound> find(uint16_t id) const;
  void clear() { sounds_.clear(); }
  size_t size() const { return sounds_.size(); }

 private:
  Mp3DecoderFactory* mp3_;
  std::map<uint16_t, std::shared_ptr<const PlayableSound>> sounds_;
};

}  // namespace swf
