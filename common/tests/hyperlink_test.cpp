#include "hyperlink.h"

#include <gtest/gtest.h>

#include "file_association.h"
#include "resource_ids.h"
#include "ui_windows.h"

namespace {

class HyperLinkTest : public ::testing::Test {
 protected:
  void SetUp() override {
    parent_ = CreateWindowExA(0, "Static", "parent", WS_POPUP | WS_VISIBLE, 300, 300, 300, 100, nullptr, nullptr,
                              nullptr, nullptr);
    link_ = CreateWindowExA(0, "Static", "https://www.example.com/", WS_CHILD | WS_VISIBLE | SS_LEFT, 10, 10, 200, 20,
                            parent_, reinterpret_cast<HMENU>(397), nullptr, nullptr);
    dc_ = CreateCompatibleDC(nullptr);
  }
  void TearDown() override {
    DeleteDC(dc_);
    DestroyWindow(parent_);
  }
  LRESULT color() {
    return SendMessageA(link_, kReflectedMessageBase + WM_CTLCOLORSTATIC, reinterpret_cast<WPARAM>(dc_),
                        reinterpret_cast<LPARAM>(link_));
  }
  bool fontUnderlined() {
    LOGFONTA font = {};
    GetObjectA(GetCurrentObject(dc_, OBJ_FONT), sizeof font, &font);
    return font.lfUnderline != 0;
  }
  static void pumpFor(DWORD milliseconds) {
    const DWORD start = GetTickCount();
    MSG message;
    while (GetTickCount() - start < milliseconds) {
      while (PeekMessageA(&message, nullptr, 0, 0, PM_REMOVE)) DispatchMessageA(&message);
      Sleep(5);
    }
  }

  HWND parent_ = nullptr;
  HWND link_ = nullptr;
  HDC dc_ = nullptr;
};

TEST_F(HyperLinkTest, DrawsUnderlinedBlueOnNoBackgroundAndAsksForClicks) {
  HyperLink link;
  ASSERT_TRUE(link.attach(link_));
  EXPECT_EQ(0, GetWindowLongA(link_, GWL_STYLE) & SS_NOTIFY);
  EXPECT_EQ(reinterpret_cast<LRESULT>(GetStockObject(NULL_BRUSH)), color());
  EXPECT_EQ(RGB(0, 0, 255), GetTextColor(dc_));
  EXPECT_EQ(TRANSPARENT, GetBkMode(dc_));
  EXPECT_TRUE(fontUnderlined());
  EXPECT_NE(0, GetWindowLongA(link_, GWL_STYLE) & SS_NOTIFY);
}

TEST_F(HyperLinkTest, TurnsRedUnderTheMouseAndBlueAgainWhenItLeaves) {
  HyperLink link;
  ASSERT_TRUE(link.attach(link_));
  RECT rect;
  GetWindowRect(link_, &rect);
  SetCursorPos(rect.left + 5, rect.top + 5);
  SendMessageA(link_, WM_MOUSEMOVE, 0, MAKELPARAM(5, 5));
  EXPECT_TRUE(link.hovering());
  color();
  EXPECT_EQ(RGB(255, 0, 0), GetTextColor(dc_));

  // Still inside: the timer keeps it red.
  pumpFor(250);
  EXPECT_TRUE(link.hovering());

  SetCursorPos(5, 5);
  EXPECT_TRUE(ui::waitUntil(
      [&] {
        pumpFor(20);
        return !link.hovering();
      },
      1000));
  color();
  EXPECT_EQ(RGB(0, 0, 255), GetTextColor(dc_));
}

TEST_F(HyperLinkTest, UsesItsOwnColoursWhenGiven) {
  HyperLink link;
  link.setColors(RGB(1, 2, 3), RGB(4, 5, 6));
  ASSERT_TRUE(link.attach(link_));
  color();
  EXPECT_EQ(RGB(1, 2, 3), GetTextColor(dc_));
  SendMessageA(link_, WM_MOUSEMOVE, 0, 0);
  color();
  EXPECT_EQ(RGB(4, 5, 6), GetTextColor(dc_));
}

TEST_F(HyperLinkTest, ShowsTheHandCursor) {
  HyperLink link;
  ASSERT_TRUE(link.attach(link_));
  SetCursor(LoadCursorA(nullptr, IDC_ARROW));
  EXPECT_EQ(0, SendMessageA(link_, WM_SETCURSOR, reinterpret_cast<WPARAM>(link_), MAKELPARAM(HTCLIENT, WM_MOUSEMOVE)));
  EXPECT_EQ(LoadCursorA(GetModuleHandleA(nullptr), MAKEINTRESOURCEA(IDC_HAND_CURSOR)), GetCursor());
}

TEST_F(HyperLinkTest, PicturesKeepTheDefaultColours) {
  HyperLink link;
  SetWindowLongA(link_, GWL_STYLE, (GetWindowLongA(link_, GWL_STYLE) & ~0x1F) | SS_ETCHEDFRAME);
  ASSERT_TRUE(link.attach(link_));
  SetTextColor(dc_, RGB(9, 9, 9));
  EXPECT_EQ(0, color());
  EXPECT_EQ(RGB(9, 9, 9), GetTextColor(dc_));
  EXPECT_NE(0, GetWindowLongA(link_, GWL_STYLE) & SS_NOTIFY);
}

TEST_F(HyperLinkTest, AClickOpensTheControlsTextWhenNoTargetIsSet) {
  ScopedFileAssociation association(".htm");
  const std::string target = newMarkerPath("mvq-link");
  ASSERT_TRUE(association.useCommand("cmd.exe /c copy nul \"%1\""));
  SetWindowTextA(link_, target.c_str());
  HyperLink link;
  ASSERT_TRUE(link.attach(link_));
  SendMessageA(link_, kReflectedMessageBase + WM_COMMAND, MAKEWPARAM(397, STN_CLICKED),
               reinterpret_cast<LPARAM>(link_));
  EXPECT_EQ(std::wstring(target.begin(), target.end()), link.target());
  EXPECT_TRUE(ui::waitUntil([&] { return GetFileAttributesA(target.c_str()) != INVALID_FILE_ATTRIBUTES; }, 10000));
  DeleteFileA(target.c_str());
}

TEST_F(HyperLinkTest, AGivenTargetWinsOverTheText) {
  ScopedFileAssociation association(".htm");
  const std::string target = newMarkerPath("mvq-link");
  ASSERT_TRUE(association.useCommand("cmd.exe /c copy nul \"%1\""));
  HyperLink link;
  link.setTarget(std::wstring(target.begin(), target.end()).c_str());
  ASSERT_TRUE(link.attach(link_));
  SendMessageA(link_, kReflectedMessageBase + WM_COMMAND, MAKEWPARAM(397, STN_DBLCLK), reinterpret_cast<LPARAM>(link_));
  EXPECT_TRUE(ui::waitUntil([&] { return GetFileAttributesA(target.c_str()) != INVALID_FILE_ATTRIBUTES; }, 10000));
  DeleteFileA(target.c_str());
  EXPECT_EQ("https://www.example.com/", ui::windowText(link_));
}

TEST_F(HyperLinkTest, OtherReflectedMessagesGetDefaultAnswers) {
  HyperLink link;
  ASSERT_TRUE(link.attach(link_));
  // The default answer to a control-colour message is a brush, not the link's.
  const LRESULT brush = SendMessageA(link_, kReflectedMessageBase + WM_CTLCOLOREDIT, reinterpret_cast<WPARAM>(dc_),
                                     reinterpret_cast<LPARAM>(link_));
  EXPECT_NE(0, brush);
  EXPECT_NE(reinterpret_cast<LRESULT>(GetStockObject(NULL_BRUSH)), brush);
}

TEST_F(HyperLinkTest, AttachesOnlyOnceAndSurvivesItsControl) {
  HyperLink link;
  ASSERT_TRUE(link.attach(link_));
  HyperLink second;
  EXPECT_FALSE(second.attach(link_));
  color();
  DestroyWindow(link_);
  EXPECT_FALSE(second.attach(link_));
}

}  // namespace
