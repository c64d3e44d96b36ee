#include "message_boxes.h"

#include <gtest/gtest.h>

#include "box_watcher.h"
#include "resource_ids.h"
#include "test_strings.h"

namespace {

using Buttons = std::vector<std::string>;

TEST(ErrorBox, ShowsTheStringWithTheErrorIconUnderTheProgramTitle) {
  const WatchedBox box = watchMessageBox([] { errorBox(nullptr, IDS_FILE_OPEN_ERROR); }, "ok");
  ASSERT_TRUE(box.shown);
  EXPECT_EQ("Moviquill", box.view.caption);
  EXPECT_EQ("File Open Error", box.view.text);
  EXPECT_EQ("error", box.view.icon);
  EXPECT_EQ((Buttons{"ok"}), box.view.buttons);
}

TEST(ErrorBox, TheControlMessagesReadAsWritten) {
  WatchedBox box = watchMessageBox([] { errorBox(nullptr, IDS_UPGRADE_FLASH_CONTROL); }, "ok");
  ASSERT_TRUE(box.shown);
  EXPECT_EQ("Please upgrade the Flash ActiveX control version to 6.0 r23 above.", box.view.text);
  box = watchMessageBox([] { errorBox(nullptr, IDS_GET_FLASH_CONTROL); }, "ok");
  ASSERT_TRUE(box.shown);
  EXPECT_EQ(0u, box.view.text.find("Please get Flash ActiveX control from http"));
  EXPECT_EQ('.', box.view.text.back());
}

TEST(ErrorBox, AMissingStringShowsNothing) {
  const WatchedBox box = watchMessageBox([] { errorBox(nullptr, 9999); }, "ok", 500);
  EXPECT_FALSE(box.shown);
}

TEST(ErrorBox, TextsAreCutAt255Characters) {
  const WatchedBox box = watchMessageBox([] { errorBox(nullptr, IDS_TEST_LONG); }, "ok");
  ASSERT_TRUE(box.shown);
  EXPECT_EQ(255u, box.view.text.size());
}

TEST(StringMessageBox, ReturnsTheButtonPressed) {
  int pressed = 0;
  WatchedBox box = watchMessageBox([&] { pressed = stringMessageBox(nullptr, IDS_SELECT_FLASH_FILE, MB_YESNO); }, "no");
  ASSERT_TRUE(box.shown);
  EXPECT_EQ(IDNO, pressed);
  EXPECT_EQ("Moviquill", box.view.caption);
  EXPECT_EQ("Select a Flash File", box.view.text);
  EXPECT_EQ((Buttons{"yes", "no"}), box.view.buttons);
  EXPECT_EQ("none", box.view.icon);

  box = watchMessageBox([&] { pressed = stringMessageBox(nullptr, IDS_OUT_OF_MEMORY, MB_YESNO | MB_ICONWARNING); },
                        "yes");
  EXPECT_EQ(IDYES, pressed);
  EXPECT_EQ("warning", box.view.icon);
}

TEST(StringMessageBox, TextsAreCutAt259Characters) {
  const WatchedBox box = watchMessageBox([] { stringMessageBox(nullptr, IDS_TEST_LONG, MB_OK); }, "ok");
  ASSERT_TRUE(box.shown);
  EXPECT_EQ(259u, box.view.text.size());
}

TEST(StringMessageBox, AMissingStringGivesZeroAndNoBox) {
  int pressed = -1;
  const WatchedBox box = watchMessageBox([&] { pressed = stringMessageBox(nullptr, 9999, MB_OK); }, "ok", 500);
  EXPECT_FALSE(box.shown);
  EXPECT_EQ(0, pressed);
}

TEST(FormattedMessageBox, PutsTheNumberInPlaceOfThePlaceholder) {
  int pressed = 0;
  const WatchedBox box =
      watchMessageBox([&] { pressed = formattedMessageBox(nullptr, IDS_TEST_FORMAT, MB_OKCANCEL, 300); }, "cancel");
  ASSERT_TRUE(box.shown);
  EXPECT_EQ(IDCANCEL, pressed);
  EXPECT_EQ("Files larger than 300 MB are continued in the next file.", box.view.text);
  EXPECT_EQ("Moviquill", box.view.caption);
  EXPECT_EQ((Buttons{"ok", "cancel"}), box.view.buttons);
}

TEST(FormattedMessageBox, AMissingStringGivesZero) { EXPECT_EQ(0, formattedMessageBox(nullptr, 9999, MB_OK, 1)); }

}  // namespace
