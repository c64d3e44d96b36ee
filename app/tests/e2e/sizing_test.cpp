// The preview's size: the stage size at open, the Dimensions dialog, and Keep
// Aspect Ratio choosing between the whole movie and a stretched one.
#include "program_test.h"
#include "resource_ids.h"
#include "test_movies.h"
#include "ui_controls.h"
#include "ui_windows.h"

namespace e2e {
namespace {

constexpr int kWidth = 200;
constexpr int kHeight = 160;

class SizingTest : public OpenMovieTest {
 protected:
  void SetUp() override {
    OpenMovieTest::SetUp();
    startWith("size.swf", countingMovie(kWidth, kHeight, 12));
  }
  HWND openDimensions() {
    program_->command(ID_OPTIONS_DIMENSIONS);
    return program_->waitForDialog("Dimensions");
  }
  bool clientBecomes(int width, int height) {
    return ui::waitUntil(
        [&] {
          const SIZE size = program_->clientSize();
          return size.cx == width && size.cy == height;
        },
        kWaitMs);
  }
  void closeWith(HWND dialog, int button) {
    ui::pressButton(dialog, button);
    ASSERT_TRUE(ui::waitUntil([&] { return !IsWindow(dialog); }, kWaitMs));
  }
  // Whether the point comes to show the marker (the stage's top-left
  // sixteenth), or not to show it: the preview repaints after a layout change
  // in its own time, so either answer is waited for.
  bool markerAt(int x, int y) { return shows(x, y, true); }
  bool noMarkerAt(int x, int y) { return shows(x, y, false); }
  bool shows(int x, int y, bool marker) {
    return ui::waitUntil([&] { return isMarker(program_->pixel(x, y)) == marker; }, 1500);
  }
};

TEST_F(SizingTest, TheDialogStartsFromTheOriginalSize) {
  HWND dialog = openDimensions();
  ASSERT_TRUE(dialog);
  EXPECT_EQ(BST_CHECKED, ui::checkState(dialog, IDC_USE_ORIGINAL_SIZE));
  EXPECT_EQ("Use original doc size", ui::controlText(dialog, IDC_USE_ORIGINAL_SIZE));
  EXPECT_EQ("200", ui::controlText(dialog, IDC_DIMENSION_WIDTH));
  EXPECT_EQ("160", ui::controlText(dialog, IDC_DIMENSION_HEIGHT));
  EXPECT_FALSE(ui::controlEnabled(dialog, IDC_DIMENSION_WIDTH));
  EXPECT_FALSE(ui::controlEnabled(dialog, IDC_DIMENSION_HEIGHT));
  ASSERT_TRUE(ui::setChecked(dialog, IDC_USE_ORIGINAL_SIZE, false));
  EXPECT_TRUE(ui::controlEnabled(dialog, IDC_DIMENSION_WIDTH));
  EXPECT_EQ("200", ui::controlText(dialog, IDC_DIMENSION_WIDTH));
  closeWith(dialog, IDCANCEL);
  EXPECT_TRUE(clientBecomes(kWidth, kHeight));
}

TEST_F(SizingTest, OkResizesTheClientAreaAndTheDialogRemembersTheOpeningSize) {
  HWND dialog = openDimensions();
  ASSERT_TRUE(dialog);
  ASSERT_TRUE(ui::setChecked(dialog, IDC_USE_ORIGINAL_SIZE, false));
  ASSERT_TRUE(ui::setControlText(dialog, IDC_DIMENSION_WIDTH, "400"));
  ASSERT_TRUE(ui::setControlText(dialog, IDC_DIMENSION_HEIGHT, "170"));
  closeWith(dialog, IDOK);
  EXPECT_TRUE(clientBecomes(400, 170));

  dialog = openDimensions();
  ASSERT_TRUE(dialog);
  EXPECT_EQ(BST_UNCHECKED, ui::checkState(dialog, IDC_USE_ORIGINAL_SIZE));
  EXPECT_EQ("400", ui::controlText(dialog, IDC_DIMENSION_WIDTH));
  EXPECT_EQ("170", ui::controlText(dialog, IDC_DIMENSION_HEIGHT));
  ASSERT_TRUE(ui::setControlText(dialog, IDC_DIMENSION_WIDTH, "333"));
  ASSERT_TRUE(ui::setChecked(dialog, IDC_USE_ORIGINAL_SIZE, true));
  EXPECT_EQ("200", ui::controlText(dialog, IDC_DIMENSION_WIDTH));
  ASSERT_TRUE(ui::setChecked(dialog, IDC_USE_ORIGINAL_SIZE, false));
  // What the dialog was opened with, not what was typed.
  EXPECT_EQ("400", ui::controlText(dialog, IDC_DIMENSION_WIDTH));
  ASSERT_TRUE(ui::setChecked(dialog, IDC_USE_ORIGINAL_SIZE, true));
  closeWith(dialog, IDOK);
  EXPECT_TRUE(clientBecomes(kWidth, kHeight));
}

TEST_F(SizingTest, LettersReadAsZero) {
  HWND dialog = openDimensions();
  ASSERT_TRUE(dialog);
  ASSERT_TRUE(ui::setChecked(dialog, IDC_USE_ORIGINAL_SIZE, false));
  ASSERT_TRUE(ui::setControlText(dialog, IDC_DIMENSION_WIDTH, "abc"));
  closeWith(dialog, IDOK);
  // A width of 0 leaves the window at the system's smallest width.
  ASSERT_TRUE(ui::waitUntil([&] { return program_->clientSize().cx < kWidth; }, kWaitMs));
  const int narrowest = program_->windowRect().right - program_->windowRect().left;
  EXPECT_LE(narrowest, GetSystemMetrics(SM_CXMINTRACK));
}

TEST_F(SizingTest, KeepAspectRatioShowsTheWholeMovieElseStretchesIt) {
  EXPECT_TRUE(program_->menuItem(ID_OPTIONS_KEEP_ASPECT).checked);
  HWND dialog = openDimensions();
  ASSERT_TRUE(dialog);
  ASSERT_TRUE(ui::setChecked(dialog, IDC_USE_ORIGINAL_SIZE, false));
  ASSERT_TRUE(ui::setControlText(dialog, IDC_DIMENSION_WIDTH, "400"));
  closeWith(dialog, IDOK);
  ASSERT_TRUE(clientBecomes(400, kHeight));

  // Scale mode 0: the stage at its own scale in the middle; the marker starts at x 100.
  EXPECT_TRUE(markerAt(100 + 25, 20));
  EXPECT_TRUE(noMarkerAt(25, 20));

  // Unchecked, scale mode 2: stretched to 400 wide, the marker from x 0 to 100.
  program_->command(ID_OPTIONS_KEEP_ASPECT);
  ASSERT_TRUE(ui::waitUntil([&] { return !program_->menuItem(ID_OPTIONS_KEEP_ASPECT).checked; }, kWaitMs));
  EXPECT_TRUE(markerAt(25, 20));
  EXPECT_TRUE(markerAt(90, 20));
  EXPECT_TRUE(noMarkerAt(100 + 25, 20));
  // The window keeps its size.
  EXPECT_EQ(400, program_->clientSize().cx);
  EXPECT_EQ(kHeight, program_->clientSize().cy);

  program_->command(ID_OPTIONS_KEEP_ASPECT);
  ASSERT_TRUE(ui::waitUntil([&] { return program_->menuItem(ID_OPTIONS_KEEP_ASPECT).checked; }, kWaitMs));
  EXPECT_TRUE(markerAt(100 + 25, 20));
}

TEST_F(SizingTest, ANarrowWindowStillGetsTheRequestedHeight) {
  HWND dialog = openDimensions();
  ASSERT_TRUE(dialog);
  ASSERT_TRUE(ui::setChecked(dialog, IDC_USE_ORIGINAL_SIZE, false));
  // So narrow that the menu bar wraps onto more lines.
  ASSERT_TRUE(ui::setControlText(dialog, IDC_DIMENSION_WIDTH, "120"));
  ASSERT_TRUE(ui::setControlText(dialog, IDC_DIMENSION_HEIGHT, "100"));
  closeWith(dialog, IDOK);
  EXPECT_TRUE(clientBecomes(120, 100));
}

}  // namespace
}  // namespace e2e
