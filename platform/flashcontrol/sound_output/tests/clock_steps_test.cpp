// The step detector that holds sound on its clock: steps are reported once and
// in full, a late reading alone is not a step, slow drift is followed.
#include "clock_steps.h"

#include <gtest/gtest.h>

namespace {

constexpr int64_t kTick = 1470;  // a 30 fps tick at 44100 Hz
constexpr int64_t kStep = 441;   // 10 ms
constexpr int64_t kSpan = 4 * kTick;

// Readings every tick of a stream lagging the clock by lag.
struct Feed {
  ClockSteps steps{kStep, kSpan};
  int64_t clock = 0;
  int64_t made = 0;  // corrections applied to the stream so far

  int64_t read(int64_t lag, int64_t after = kTick) {
    clock += after;
    const int64_t correction = steps.observe(clock, clock - lag + made);
    made += correction;
    return correction;
  }
  int64_t settle(int64_t lag) {
    int64_t total = 0;
    for (int64_t k = 0; k <= kSpan / kTick; ++k) total += read(lag);
    return total;
  }
};

TEST(ClockSteps, NothingToMakeUpWhileTheLagHolds) {
  Feed feed;
  EXPECT_EQ(0, feed.settle(2000));
  for (int k = 0; k < 300; ++k) EXPECT_EQ(0, feed.read(2000)) << k;
}

TEST(ClockSteps, AStallIsMadeUpOnceAndInFull) {
  Feed feed;
  feed.settle(1000);
  int64_t total = 0;
  for (int k = 0; k < 100; ++k) total += feed.read(1000 + 3000);  // the device stalled 68 ms
  EXPECT_EQ(3000, total);
}

TEST(ClockSteps, AStreamAheadIsReportedAsNegative) {
  Feed feed;
  feed.settle(1000);
  int64_t total = 0;
  for (int k = 0; k < 100; ++k) total += feed.read(1000 - 900);
  EXPECT_EQ(-900, total);
}

TEST(ClockSteps, LateReadingsAloneAreNoStep) {
  Feed feed;
  feed.settle(1000);
  // Every third reading taken 40 ms late: the lag looks larger only then.
  for (int k = 0; k < 300; ++k) EXPECT_EQ(0, feed.read(k % 3 == 0 ? 1000 + 1764 : 1000)) << k;
}

TEST(ClockSteps, ReadingsInABurstAfterAStallDoNotMakeAStep) {
  Feed feed;
  feed.settle(1000);
  // Ten ticks handed out at once 300 ms late, before the device caught up.
  int64_t total = feed.read(1000 + 13230, 13230);
  for (int k = 0; k < 9; ++k) total += feed.read(1000 + 13230, 0);
  for (int k = 0; k < 100; ++k) total += feed.read(1000);
  EXPECT_EQ(0, total);
}

TEST(ClockSteps, AStepJustBelowTheThresholdIsLeftAlone) {
  Feed feed;
  feed.settle(1000);
  for (int k = 0; k < 50; ++k) EXPECT_EQ(0, feed.read(1000 + kStep - 1));
}

TEST(ClockSteps, SlowDriftIsFollowedNotCorrected) {
  Feed feed;
  feed.settle(0);
  // A sound card 200 parts per million slow, for ten minutes.
  int64_t total = 0;
  for (int k = 0; k < 30 * 600; ++k) total += feed.read(feed.clock * 200 / 1000000);
  EXPECT_EQ(0, total);
}

TEST(ClockSteps, RestartTakesTheNextLagAsItsOwn) {
  Feed feed;
  feed.settle(1000);
  feed.steps.restart();
  EXPECT_EQ(0, feed.settle(9000));
  EXPECT_EQ(0, feed.read(9000));
  EXPECT_EQ(2000, feed.settle(11000));
}

}  // namespace
