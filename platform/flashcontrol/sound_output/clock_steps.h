// Follows how far a sound stream (the frames a device has played) runs behind a
// reference clock, both counted in sample frames, and tells when the stream has
// stepped away from it: a device that stalled and played its sound late. Two
// clocks a little apart (a sound card a few hundred parts per million off) drift
// slowly; that is followed, not corrected. Readings taken late (a busy thread,
// ticks handed out in a burst after a stall) look like a step for a moment, so
// only a lag that holds over a stretch of clock time counts.
#pragma once

#include <cstdint>
#include <deque>

class ClockSteps {
 public:
  // stepFrames: the smallest lag change taken as a step; spanFrames: the clock
  // time over which every reading must show it.
  ClockSteps(int64_t stepFrames, int64_t spanFrames);

  // Forgets everything: the next readings set the lag anew.
  void restart();
  // clockFrames: reference time since the stream began; streamFrames: where the
  // stream is, counting the corrections already made. Returns the frames the
  // stream must make up: more than 0 when it is behind (leave out that much of
  // what is to come), less than 0 when it is ahead, 0 else.
  int64_t observe(int64_t clockFrames, int64_t streamFrames);

 private:
  struct Reading {
    int64_t clock;
    int64_t lag;
  };
  // The least lag of readings covering the whole span, or false while they do not.
  bool spanLeast(int64_t* lag) const;

  int64_t stepFrames_;
  int64_t spanFrames_;
  std::deque<Reading> readings_;
  bool settled_ = false;
  int64_t baseline_ = 0;
  int64_t baselineClock_ = 0;
};
