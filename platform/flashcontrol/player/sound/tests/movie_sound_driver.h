// Test-only: plays a movie's sound tags the way the player's tick does, one
// frame of the main timeline and of every placed sprite per tick, into a
// SoundMixer. Sprites are taken as placed for good once a PlaceObject names them.
#pragma once

#include <cstddef>
#include <cstdint>
#include <vector>

#include "sound_library.h"
#include "sound_mixer.h"
#include "swf_tags.h"

namespace soundtest {

class MovieSoundDriver {
 public:
  explicit MovieSoundDriver(swf::Mp3DecoderFactory* mp3 = nullptr) : library_(mp3), mixer_(mp3) {}
  bool load(const std::vector<uint8_t>& file);
  void tick();
  swf::SoundMixer& mixer() { return mixer_; }
  const swf::SoundLibrary& library() const { return library_; }
  double frameRate() const { return tags_.frameRate; }
  // Stereo frames one tick lasts at the mixer's rate.
  size_t framesPerTick() const;

 private:
  struct Playhead {
    const std::vector<Tag>* tags;
    uintptr_t timeline;
    size_t next = 0;  // tag index of the next frame
  };
  void enterFrame(size_t index);
  void handle(const Tag& tag, uintptr_t timeline);

  SwfTags tags_;
  swf::SoundLibrary library_;
  swf::SoundMixer mixer_;
  std::vector<Playhead> playheads_;
};

}  // namespace soundtest
