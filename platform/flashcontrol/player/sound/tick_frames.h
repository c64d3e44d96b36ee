// How many 44100 Hz frames each tick of a movie lasts, so that the sound a
// control renders per tick adds up to exactly the movie's time: 24 fps gives
// 1837 and 1838 frames in turn.
#pragma once

#include <cstddef>
#include <cstdint>

namespace swf {

class TickFrames {
 public:
  // A rate of 0 or below counts as 12 frames per second, as the player's clock does.
  explicit TickFrames(double framesPerSecond);
  size_t next();
  void restart() { ticks_ = 0; }

 private:
  double framesPerSecond_;
  uint64_t ticks_ = 0;
};

}  // namespace swf
