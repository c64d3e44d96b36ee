#include "display_warning_dialog.h"

#include <gtest/gtest.h>

namespace {

const RECT kScreen = {0, 0, 1280, 1024};

TEST(CentredOnScreen, SplitsTheRemainderTowardZero) {
  const POINT at = centredOnScreen(SIZE{301, 200}, kScreen, kScreen);
  EXPECT_EQ(640 - 150, at.x);
  EXPECT_EQ(512 - 100, at.y);
}

TEST(CentredOnScreen, StaysInsideTheWorkArea) {
  const RECT work = {600, 0, 1280, 990};
  POINT at = centredOnScreen(SIZE{200, 100}, kScreen, work);
  EXPECT_EQ(600, at.x);
  at = centredOnScreen(SIZE{400, 1000}, kScreen, RECT{0, 0, 800, 990});
  EXPECT_EQ(800 - 400, at.x);
  EXPECT_EQ(990 - 1000, at.y);  // pushed up from the bottom, past the top
}

TEST(CentredOnScreen, TheLeadingEdgeIsCheckedFirst) {
  // Below the top of the work area: moved down to it, even if it then sticks out below.
  const POINT at = centredOnScreen(SIZE{100, 700}, kScreen, RECT{0, 200, 1280, 800});
  EXPECT_EQ(200, at.y);
}

}  // namespace
