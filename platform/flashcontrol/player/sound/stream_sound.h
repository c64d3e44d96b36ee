// A timeline's streaming sound: the format from SoundStreamHead (or Head2) and
// the blocks that its frames carry, decoded as they come into a queue of
// 44100 Hz stereo frames that the mixer plays from.
#pragma once

#include <cstddef>
#include <cstdint>
#include <deque>
#include <memory>

#include "mp3_decoder.h"
#include "sound_format.h"

namespace swf {

struct StreamHead {
  SoundFormat format;
  uint16_t samplesPerBlock = 0;
  int16_t latencySeek = 0;  // MP3 only
};

// False when the body is cut short.
bool parseStreamHead(const uint8_t* body, size_t size, StreamHead* head);

class StreamSound {
 public:
  // At most this many frames wait in the queue; older ones are dropped.
  static constexpr size_t kMaxQueuedFrames = 10 * 44100;

  StreamSound(const StreamHead& head, Mp3DecoderFactory* mp3);
  void addBlock(const uint8_t* body, size_t size);
  // Adds the next frames into the stereo mix; returns how many it had.
  size_t mixInto(int32_t* mix, size_t frames);
  size_t queuedFrames() const { return queue_.size() / 2; }

 private:
  StreamHead head_;
  std::unique_ptr<Mp3Decoder> mp3_;
  std::deque<int16_t> queue_;
};

}  // namespace swf
