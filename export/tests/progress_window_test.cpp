// The progress window: where it opens, its confirmations and the flags the
// passes poll, its texts.
#include <gtest/gtest.h>

#include <windows.h>

#include "box_watcher.h"
#include "export_ids.h"
#include "progress_window.h"
#include "settings_store.h"
#include "ui_controls.h"
#include "ui_windows.h"

namespace {

class ProgressWindowTest : public ::testing::Test {
 protected:
  void SetUp() override {
    saved_ = appSettings.progressWin;
    appSettings.progressWin = RECT{120, 90, 0, 0};
    ASSERT_TRUE(progress_.create(nullptr));
  }
  void TearDown() override {
    progress_.destroy();
    appSettings.progressWin = saved_;
  }

  // Presses the button as a user would and answers the box it raises; the box's text.
  std::string press(int id, const char* answer) {
    ui::pressButton(progress_.window(), id);
    const WatchedBox box = watchMessageBox([&] { progress_.setPosition(0); }, answer);
    return box.shown ? box.view.caption + ": " + box.view.text : "";
  }

  ProgressWindow progress_;
  RECT saved_{};
};

TEST_F(ProgressWindowTest, OpensWhereItWasLastLeft) {
  RECT r = ui::windowRect(progress_.window());
  EXPECT_EQ(120, r.left);
  EXPECT_EQ(90, r.top);
  const int width = r.right - r.left;
  SetWindowPos(progress_.window(), nullptr, 300, 210, 0, 0, SWP_NOSIZE | SWP_NOZORDER);
  progress_.destroy();
  EXPECT_EQ(300, appSettings.progressWin.left);
  EXPECT_EQ(210, appSettings.progressWin.top);
  ASSERT_TRUE(progress_.create(nullptr));
  r = ui::windowRect(progress_.window());
  EXPECT_EQ(300, r.left);
  EXPECT_EQ(210, r.top);
  EXPECT_EQ(width, r.right - r.left);  // moved, not resized
}

TEST_F(ProgressWindowTest, NoLeavesTheFlagsClearAndYesSetsThem) {
  EXPECT_EQ("Moviquill: Are you sure you want to finish?", press(IDC_PROGRESS_FINISH, "no"));
  EXPECT_EQ("Moviquill: Are you sure you want to cancel ?", press(IDCANCEL, "no"));
  EXPECT_FALSE(progress_.finishRequested());
  EXPECT_FALSE(progress_.cancelRequested());
  EXPECT_FALSE(progress_.asking());
  EXPECT_TRUE(ui::controlEnabled(progress_.window(), IDC_PROGRESS_FINISH));

  EXPECT_EQ("Moviquill: Are you sure you want to finish?", press(IDC_PROGRESS_FINISH, "yes"));
  EXPECT_TRUE(progress_.finishRequested());
  EXPECT_FALSE(progress_.cancelRequested());
  EXPECT_FALSE(ui::controlEnabled(progress_.window(), IDC_PROGRESS_FINISH));
  // After Finish, Cancel still asks and counts.
  EXPECT_EQ("Moviquill: Are you sure you want to cancel ?", press(IDCANCEL, "yes"));
  EXPECT_TRUE(progress_.cancelRequested());
  EXPECT_FALSE(progress_.asking());
}

TEST_F(ProgressWindowTest, ButtonsAndTexts) {
  progress_.enableButton(1, false);
  progress_.enableButton(3, false);  // no such button
  progress_.enableButton(0, false);
  EXPECT_FALSE(ui::controlEnabled(progress_.window(), IDC_PROGRESS_FINISH));
  EXPECT_TRUE(ui::controlEnabled(progress_.window(), IDCANCEL));
  progress_.enableButton(2, false);
  EXPECT_FALSE(ui::controlEnabled(progress_.window(), IDCANCEL));
  progress_.enableButton(1, true);
  EXPECT_TRUE(ui::controlEnabled(progress_.window(), IDC_PROGRESS_FINISH));

  progress_.setCountText(IDS_CREATING_AUDIO, 0);
  EXPECT_EQ("Creating audio : 0  frames", ui::controlText(progress_.window(), IDC_PROGRESS_COUNT));
  progress_.setCountText(IDS_CREATING_VIDEO, 12345678);
  EXPECT_EQ("Creating video : 12345678  frames", ui::controlText(progress_.window(), IDC_PROGRESS_COUNT));
  progress_.setTotalText(10, 5, 14);
  EXPECT_EQ("Total : 10  frames\n(5 ~ 14)", ui::controlText(progress_.window(), IDC_PROGRESS_TOTAL));
  progress_.setCaption(IDS_CONVERTING);
  EXPECT_EQ("Converting to AVI", ui::windowText(progress_.window()));
}

}  // namespace
