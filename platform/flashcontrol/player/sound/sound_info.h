// StartSound: which sound, and how to start it (SOUNDINFO).
#pragma once

#include <cstddef>
#include <cstdint>
#include <vector>

namespace swf {

struct EnvelopePoint {
  uint32_t position44 = 0;  // output frame from the start of the sound
  uint16_t left = 32768;    // 32768 = full level
  uint16_t right = 32768;
};

struct SoundInfo {
  bool syncStop = false;        // stop the sound's playing instances instead
  bool syncNoMultiple = false;  // do not start while an instance plays
  bool hasInPoint = false;
  bool hasOutPoint = false;
  uint32_t inPoint = 0;  // output frames at 44100 Hz
  uint32_t outPoint = 0;
  uint16_t loopCount = 1;  // plays this many times (0 counts as 1)
  std::vector<EnvelopePoint> envelope;
};

struct StartSoundCommand {
  uint16_t soundId = 0;
  SoundInfo info;
};

// False when the body is cut short.
bool parseStartSound(const uint8_t* body, size_t size, StartSoundCommand* command);

}  // namespace swf
