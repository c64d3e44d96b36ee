// Play, Stop and Rewind: the preview runs on the program's own clock.
#include "program_test.h"
#include "resource_ids.h"
#include "test_movies.h"
#include "ui_windows.h"

namespace e2e {
namespace {

class PlaybackTest : public OpenMovieTest {
 protected:
  void SetUp() override {
    OpenMovieTest::SetUp();
    startWith("count.swf", countingMovie(200, 150, 12));
  }
  // The frame shown, the same over a few ticks' time.
  int heldFrame() {
    const int frame = program_->shownFrame();
    Sleep(400);
    return program_->shownFrame() == frame ? frame : -2;
  }
};

TEST_F(PlaybackTest, StaysOnTheFirstFrameUntilPlayed) { EXPECT_EQ(0, heldFrame()); }

TEST_F(PlaybackTest, PlayAdvancesTheMovieAndStopHoldsIt) {
  program_->command(ID_CONTROL_PLAY);
  const int first = program_->waitForFrameOtherThan(0);
  EXPECT_GT(first, 0);
  EXPECT_GT(program_->waitForFrameOtherThan(first), -1);
  EXPECT_TRUE(program_->menuItem(ID_CONTROL_PLAY).checked);
  EXPECT_FALSE(program_->menuItem(ID_CONTROL_STOP).checked);

  program_->command(ID_CONTROL_STOP);
  ASSERT_TRUE(ui::waitUntil([&] { return program_->menuItem(ID_CONTROL_STOP).checked; }, kWaitMs));
  EXPECT_FALSE(program_->menuItem(ID_CONTROL_PLAY).checked);
  const int held = heldFrame();
  EXPECT_GE(held, 0);

  // Playing again goes on from the frame it stopped at.
  program_->command(ID_CONTROL_PLAY);
  const int next = program_->waitForFrameOtherThan(held);
  EXPECT_NE(-1, next);
}

TEST_F(PlaybackTest, RewindWhileStoppedShowsTheFirstFrameAndStaysStopped) {
  program_->command(ID_CONTROL_PLAY);
  ASSERT_GT(program_->waitForFrameOtherThan(0), 0);
  program_->command(ID_CONTROL_STOP);
  int held = -1;
  ASSERT_TRUE(ui::waitUntil([&] { return (held = heldFrame()) > 0; }, kWaitMs));
  program_->command(ID_CONTROL_REWIND);
  ASSERT_TRUE(ui::waitUntil([&] { return program_->shownFrame() == 0; }, kWaitMs));
  EXPECT_EQ(0, heldFrame());
  EXPECT_TRUE(program_->menuItem(ID_CONTROL_STOP).checked);
  EXPECT_FALSE(program_->menuItem(ID_CONTROL_PLAY).checked);
}

TEST_F(PlaybackTest, RewindWhilePlayingRestartsFromTheFirstFrame) {
  program_->command(ID_CONTROL_PLAY);
  // Far enough in that the first frames come only after a rewind (the movie loops at 24).
  ASSERT_TRUE(ui::waitUntil([&] { return program_->shownFrame() >= 6 && program_->shownFrame() < 18; }, kWaitMs));
  program_->command(ID_CONTROL_REWIND);
  ASSERT_TRUE(ui::waitUntil([&] { return program_->shownFrame() < 4; }, kWaitMs));
  EXPECT_TRUE(ui::waitUntil([&] { return program_->shownFrame() >= 4; }, kWaitMs));
  EXPECT_TRUE(program_->menuItem(ID_CONTROL_PLAY).checked);
}

}  // namespace
}  // namespace e2e
