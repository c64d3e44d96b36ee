#include "tick_frames.h"

#include "upsampler.h"

namespace swf {

TickFrames::TickFrames(double framesPerSecond) : framesPerSecond_(framesPerSecond > 0 ? framesPerSecond : 12) {}

size_t TickFrames::next() {
  const auto at = [this](uint64_t tick) { return static_cast<uint64_t>(tick * double(kMixRate) / framesPerSecond_); };
  const size_t frames = static_cast<size_t>(at(ticks_ + 1) - at(ticks_));
  ++ticks_;
  return frames;
}

}  // namespace swf
