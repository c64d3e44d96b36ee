// Paces the control's ticks at an exact average rate although the system's
// periodic timer fires only at whole milliseconds: a 30 fps movie asks for
// 33 ms, and a tick every 33 ms would run it 1 % fast, ahead of its sound.
// Each firing hands out the ticks that fell due by then, so a firing may give
// none, one or (after a late firing) several.
#pragma once

#include <windows.h>

#include <cstdint>

// The tick period to keep, in milliseconds: the movie's own frame interval when
// the control advised it rounded to whole milliseconds (either way), otherwise
// the advised interval itself.
double tickPeriodFor(UINT advisedMs, double movieFramesPerSecond);

// The whole-millisecond delay of the periodic event: never above the period,
// so that no tick falls due more than one firing late; at least 1.
UINT firingDelayFor(UINT advisedMs, double periodMs);

class TickPacer {
 public:
  void start(double periodMs, DWORD now);
  // The ticks due by now (the k-th at start + k periods, to the nearest firing)
  // that were not handed out yet.
  unsigned take(DWORD now);

 private:
  double periodMs_ = 0;
  DWORD start_ = 0;
  uint64_t taken_ = 0;
};
