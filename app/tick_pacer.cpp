#include "tick_pacer.h"

#include <cmath>

double tickPeriodFor(UINT advisedMs, double movieFramesPerSecond) {
  if (movieFramesPerSecond > 0) {
    const double exact = 1000 / movieFramesPerSecond;
    if (std::fabs(exact - advisedMs) < 1) return exact;
  }
  return advisedMs;
}

UINT firingDelayFor(UINT advisedMs, double periodMs) {
  UINT delay = advisedMs;
  if (periodMs >= 1 && delay > periodMs) delay = static_cast<UINT>(periodMs);
  return delay < 1 ? 1 : delay;
}

void TickPacer::start(double periodMs, DWORD now) {
  periodMs_ = periodMs;
  start_ = now;
  taken_ = 0;
}

unsigned TickPacer::take(DWORD now) {
  if (periodMs_ <= 0) return 1;  // no period to keep: one tick a firing
  // Unsigned difference: right across the millisecond clock's wrap.
  const DWORD elapsed = now - start_;
  const uint64_t due = static_cast<uint64_t>(elapsed / periodMs_ + 0.5);
  if (due <= taken_) return 0;
  const uint64_t fresh = due - taken_;
  taken_ = due;
  return static_cast<unsigned>(fresh);
}
