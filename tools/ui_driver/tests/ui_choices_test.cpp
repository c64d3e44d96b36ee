#include <windows.h>
#include <commctrl.h>

#include <gtest/gtest.h>

#include "ui_choices.h"
#include "ui_controls.h"

namespace {

constexpr int kList = 880;
constexpr int kBar = 302;

// A window of this test's own with a drop-down list and a progress bar, as a
// dialog holds them; it counts the selection changes it is told of.
class Panel : public ::testing::Test {
 protected:
  void SetUp() override {
    INITCOMMONCONTROLSEX controls = {sizeof controls, ICC_PROGRESS_CLASS};
    InitCommonControlsEx(&controls);
    WNDCLASSA windowClass = {};
    windowClass.lpfnWndProc = panelProc;
    windowClass.hInstance = GetModuleHandleA(nullptr);
    windowClass.lpszClassName = "MvqChoicesPanel";
    RegisterClassA(&windowClass);
    selectionChanges = 0;
    panel_ = CreateWindowA("MvqChoicesPanel", "panel", WS_OVERLAPPEDWINDOW, 0, 0, 300, 200, nullptr, nullptr,
                           windowClass.hInstance, nullptr);
    ASSERT_NE(nullptr, panel_);
    list_ = CreateWindowA("COMBOBOX", "", WS_CHILD | CBS_DROPDOWNLIST, 0, 0, 200, 100, panel_,
                          reinterpret_cast<HMENU>(kList), windowClass.hInstance, nullptr);
    CreateWindowA(PROGRESS_CLASSA, "", WS_CHILD, 0, 120, 200, 20, panel_, reinterpret_cast<HMENU>(kBar),
                  windowClass.hInstance, nullptr);
    for (const char* entry :
         {"Full Frames (Uncompressed)", "Wine MS Video 1", "ZMBV lossless (Moviquill)", "Another ZMBV"})
      SendMessageA(list_, CB_ADDSTRING, 0, reinterpret_cast<LPARAM>(entry));
    SendMessageA(list_, CB_SETCURSEL, 0, 0);
  }
  void TearDown() override { DestroyWindow(panel_); }

  static void pump() {
    MSG message;
    while (PeekMessageA(&message, nullptr, 0, 0, PM_REMOVE)) DispatchMessageA(&message);
  }

  static LRESULT CALLBACK panelProc(HWND window, UINT message, WPARAM wParam, LPARAM lParam) {
    if (message == WM_COMMAND && LOWORD(wParam) == kList && HIWORD(wParam) == CBN_SELCHANGE) ++selectionChanges;
    return DefWindowProcA(window, message, wParam, lParam);
  }

  static int selectionChanges;
  HWND panel_ = nullptr;
  HWND list_ = nullptr;
};

int Panel::selectionChanges = 0;

TEST_F(Panel, ListsTheEntriesInOrder) {
  const std::vector<std::string> items = ui::comboItems(panel_, kList);
  ASSERT_EQ(4u, items.size());
  EXPECT_EQ("Full Frames (Uncompressed)", items[0]);
  EXPECT_EQ("ZMBV lossless (Moviquill)", items[2]);
  EXPECT_EQ(0, SendMessageA(list_, CB_GETCURSEL, 0, 0));  // reading them leaves the choice
  EXPECT_TRUE(ui::comboItems(panel_, 999).empty());
}

TEST_F(Panel, ChoosesTheFirstEntryContainingThePartAndTellsTheWindow) {
  std::string chosen;
  ASSERT_TRUE(ui::chooseComboItem(panel_, kList, "ZMBV", &chosen));
  EXPECT_EQ("ZMBV lossless (Moviquill)", chosen);
  EXPECT_EQ(2, SendMessageA(list_, CB_GETCURSEL, 0, 0));
  pump();
  EXPECT_EQ(1, selectionChanges);
}

TEST_F(Panel, AMissingEntryChangesNothing) {
  std::string chosen = "before";
  EXPECT_FALSE(ui::chooseComboItem(panel_, kList, "zmbv", &chosen));  // case counts
  EXPECT_FALSE(ui::chooseComboItem(panel_, 999, "ZMBV", &chosen));
  EXPECT_EQ("before", chosen);
  EXPECT_EQ(0, SendMessageA(list_, CB_GETCURSEL, 0, 0));
  pump();
  EXPECT_EQ(0, selectionChanges);
}

TEST_F(Panel, ReadsTheBarsPositionAndRange) {
  HWND bar = GetDlgItem(panel_, kBar);
  SendMessageA(bar, PBM_SETRANGE32, 5, 240);
  SendMessageA(bar, PBM_SETPOS, 17, 0);
  const ui::BarState state = ui::progressBarState(panel_, kBar);
  ASSERT_TRUE(state.found);
  EXPECT_EQ(17, state.position);
  EXPECT_EQ(5, state.low);
  EXPECT_EQ(240, state.high);
  EXPECT_FALSE(ui::progressBarState(panel_, 999).found);
}

}  // namespace
