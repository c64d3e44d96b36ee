#include "tick_pacer.h"

#include <gtest/gtest.h>

namespace {

// Fires every delay ms for seconds seconds, as the periodic event does; the ticks handed out.
uint64_t ticksOver(double fps, UINT advised, int seconds) {
  const double period = tickPeriodFor(advised, fps);
  const UINT delay = firingDelayFor(advised, period);
  TickPacer pacer;
  pacer.start(period, 5000);
  uint64_t ticks = 0;
  for (DWORD t = delay; t <= static_cast<DWORD>(seconds) * 1000; t += delay) ticks += pacer.take(5000 + t);
  return ticks;
}

TEST(TickPacer, TheAverageRateIsTheMoviesWhicheverWayTheIntervalWasRounded) {
  // Within the one tick the last firing may still owe.
  // 30 fps asks for 33 ms (30.3 ticks a second if taken as it is).
  EXPECT_NEAR(5400.0, ticksOver(30, 33, 180), 1);
  // 29.97 as the header's 8.8 rate holds it, 29.96875.
  EXPECT_NEAR(5394.4, ticksOver(7672 / 256.0, 33, 180), 1);
  // 24 fps: 41.67 ms, rounded up or truncated.
  EXPECT_NEAR(4320.0, ticksOver(24, 42, 180), 1);
  EXPECT_NEAR(4320.0, ticksOver(24, 41, 180), 1);
  EXPECT_NEAR(72000.0, ticksOver(30, 33, 2400), 1);  // 40 minutes
}

TEST(TickPacer, AnIntervalForAnotherRateIsKeptAsAdvised) {
  EXPECT_DOUBLE_EQ(100, tickPeriodFor(100, 30));
  EXPECT_DOUBLE_EQ(33, tickPeriodFor(33, 0));  // no movie known
  EXPECT_EQ(100u, firingDelayFor(100, 100));
  EXPECT_EQ(1u, firingDelayFor(0, 0));
  EXPECT_EQ(41u, firingDelayFor(42, 1000 / 24.0));  // never later than the period
}

TEST(TickPacer, ALateFiringHandsOutEveryTickDueAndNoneTwice) {
  TickPacer pacer;
  pacer.start(1000 / 30.0, 0);
  EXPECT_EQ(1u, pacer.take(33));
  EXPECT_EQ(0u, pacer.take(40));
  EXPECT_EQ(29u, pacer.take(1000));  // the timer thread held up for most of a second
  EXPECT_EQ(0u, pacer.take(1000));
  EXPECT_EQ(1u, pacer.take(1033));
}

TEST(TickPacer, TheMillisecondClockMayWrap) {
  TickPacer pacer;
  pacer.start(40, 0xFFFFFFF0u);
  EXPECT_EQ(1u, pacer.take(0xFFFFFFF0u + 40));  // 24 after the wrap
  EXPECT_EQ(1u, pacer.take(64));
}

TEST(TickPacer, WithoutAPeriodEveryFiringIsATick) {
  TickPacer pacer;
  pacer.start(0, 0);
  EXPECT_EQ(1u, pacer.take(0));
  EXPECT_EQ(1u, pacer.take(0));
}

}  // namespace
