#include "tick_frames.h"

#include <gtest/gtest.h>

namespace {

TEST(TickFrames, TicksAddUpToTheMovieTime) {
  swf::TickFrames ticks(24);
  EXPECT_EQ(1837u, ticks.next());
  EXPECT_EQ(1838u, ticks.next());
  size_t total = 1837 + 1838;
  for (int i = 2; i < 24 * 60; ++i) total += ticks.next();
  EXPECT_EQ(44100u * 60, total) << "a minute of ticks is a minute of sound";
  ticks.restart();
  EXPECT_EQ(1837u, ticks.next());
  swf::TickFrames unset(0);
  EXPECT_EQ(3675u, unset.next());
  swf::TickFrames odd(7.5);
  EXPECT_EQ(5880u, odd.next());
}

}  // namespace
