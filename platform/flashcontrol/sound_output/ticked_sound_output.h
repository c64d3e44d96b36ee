// What the stand-in control does with its movie's sound: the mixer renders exactly
// one frame's share of the movie's time (TickFrames) and the block goes to the
// wave output, once as the movie starts and then after every tick, so that each
// frame sounds while it is shown. The device opens with the first sound a movie
// makes (each movie anew); from then on every share is queued, silent or not, so
// sound stays in step with the frames. Stop, Rewind and a new movie silence it at once.
#pragma once

#include "sound_mixer.h"
#include "tick_frames.h"
#include "wave_out_stream.h"

#include <vector>

class TickedSoundOutput {
 public:
  explicit TickedSoundOutput(swf::SoundMixer& mixer) : mixer_(mixer), frames_(12) {}

  // A movie was loaded: its rate sets the share of each tick. The previous
  // movie's queued blocks end, and the first frame's share (the sound the load
  // gave the mixer) is played at once rather than a frame late with the first tick.
  void startMovie(double framesPerSecond);
  // After the player's tick has fed the mixer.
  void tick();
  // Everything queued or playing ends now.
  void silence();

  bool deviceOpen() const { return output_.isOpen(); }
  int queuedBlocks() const { return output_.queuedBuffers(); }

 private:
  void playShare();

  swf::SoundMixer& mixer_;
  swf::TickFrames frames_;
  WaveOutStream output_;
  std::vector<int16_t> block_;
};
