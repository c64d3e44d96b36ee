// imGetPrefs and imAnalysis through the editor host. The settings dialog is
// modal on the test's thread; a second thread finds it and works it the way
// a user would, with timeouts so that nothing can hang.
#include <gtest/gtest.h>

#include <atomic>
#include <cstdio>
#include <functional>
#include <thread>
#include <vector>

#include "plugin_fixture.h"
#include "ui_controls.h"
#include "ui_message_box.h"
#include "ui_windows.h"

namespace {

using editor::HostClip;

constexpr DWORD kWaitMs = 5000;
// A host call still running this long after the steps is stuck: the test program ends.
constexpr DWORD kGiveUpMs = 30000;
constexpr char kDialogCaption[] = "Tessaline Moviquill Plug-in for Adobe Premiere";
constexpr char kMessageCaption[] = "Tessaline Moviquill Plug-in for Adobe Premiere Pro";
constexpr char kLengthMessage[] = "The clip length must between 1 ~ 8000000 frames";
constexpr int kFrameByFrame = 202, kNormal = 203, kKeepAspect = 204, kLength = 207, kAbout = 4;

// Works the settings dialog from a second thread while the test's thread
// runs it. Whatever the steps do, what is left open afterwards is closed (a
// message box nobody expected is answered and noted as a failure) until the
// host's call returns; a call that does not return even then ends the test
// program as a failure instead of hanging it.
class DialogUser {
 public:
  using Steps = std::function<void(DialogUser&, HWND dialog)>;

  explicit DialogUser(Steps steps) : thread_([this, steps] { run(steps); }) {}
  ~DialogUser() { finish(); }
  // Called by the test's thread once the host's call has returned.
  void finish() {
    returned_ = true;
    if (thread_.joinable()) thread_.join();
  }

  // A note of what went wrong, checked by the test's thread.
  void fail(const std::string& what) { failures += what + "; "; }
  // The next message box of this process; its text, "" when none came.
  std::string answerMessageBox(const char* button = "ok") {
    HWND box = ui::waitForMessageBox(GetCurrentProcessId(), kWaitMs);
    if (!box) return "";
    const ui::MessageBoxView view = ui::readMessageBox(box);
    messages.push_back(view.caption + "|" + view.icon + "|" + view.text);
    ui::pressMessageBoxButton(box, button);
    ui::waitUntil([&] { return !IsWindow(box); }, kWaitMs);
    return view.text;
  }
  // Moves the focus as a Tab or a click would, on the dialog's own thread.
  static void focus(HWND dialog, int id) {
    PostMessageA(dialog, WM_NEXTDLGCTL, reinterpret_cast<WPARAM>(GetDlgItem(dialog, id)), TRUE);
  }
  static void tab(HWND dialog) { PostMessageA(dialog, WM_NEXTDLGCTL, 0, FALSE); }
  static HWND focused(HWND dialog) {
    GUITHREADINFO info = {};
    info.cbSize = sizeof info;
    return GetGUIThreadInfo(GetWindowThreadProcessId(dialog, nullptr), &info) ? info.hwndFocus : nullptr;
  }
  static bool hasFocus(HWND control) { return focused(control) == control; }
  // An arrow key pressed on the control that has the focus.
  static void pressArrow(HWND dialog, UINT key) {
    HWND target = focused(dialog);
    PostMessageA(target, WM_KEYDOWN, key, 1);
    PostMessageA(target, WM_KEYUP, key, 0xC0000001);
  }

  std::string failures;
  std::vector<std::string> messages;
  RECT dialogRect = {};
  std::atomic<bool> sawDialog{false};

 private:
  void run(const Steps& steps) {
    HWND dialog = nullptr;
    ui::waitUntil(
        [&] {
          dialog = ui::findTopLevel(GetCurrentProcessId(), "#32770", kDialogCaption);
          return dialog || returned_;
        },
        kWaitMs);
    if (dialog) {
      sawDialog = true;
      GetWindowRect(dialog, &dialogRect);
      steps(*this, dialog);
    } else if (!returned_) {
      fail("no settings dialog");
    }
    closeLeftovers();
  }

  void closeLeftovers() {
    const DWORD start = GetTickCount();
    while (!returned_) {
      if (HWND box = ui::waitForMessageBox(GetCurrentProcessId(), 50)) {
        fail("unexpected message box: " + ui::readMessageBox(box).text);
        ui::pressMessageBoxButton(box, "ok");
        ui::waitUntil([&] { return !IsWindow(box); }, kWaitMs);
      } else {
        // The settings dialog and whatever it opened over itself.
        for (HWND window : ui::topLevelWindows(GetCurrentProcessId()))
          if (ui::className(window) == "#32770" && ui::isVisible(window)) PostMessageA(window, WM_COMMAND, IDCANCEL, 0);
      }
      if (GetTickCount() - start > kGiveUpMs) {
        std::fprintf(stderr, "the host's call did not return: %s\n", failures.c_str());
        std::fflush(stderr);
        TerminateProcess(GetCurrentProcess(), 1);
      }
    }
  }

  std::atomic<bool> returned_{false};
  std::thread thread_;
};

class ClipSettingsTest : public PluginTest {
 protected:
  HostClip& settingsClip(int frames = 90) {
    HostClip& c = describedClip(movie("clip.swf", squareMovie(frames, 12)));
    return c;
  }
  // Runs imGetPrefs with the user's steps; its result.
  int32_t edit(HostClip& c, DialogUser::Steps steps) {
    DialogUser user(steps);
    const int32_t result = host_.editSettings(c);
    user.finish();
    EXPECT_TRUE(user.sawDialog);
    EXPECT_EQ(user.failures, "");
    messages_ = user.messages;
    dialogRect_ = user.dialogRect;
    return result;
  }
  std::vector<std::string> messages_;
  RECT dialogRect_ = {};
};

TEST_F(ClipSettingsTest, FirstTimeCallGivesTheLengthAndTheDefaults) {
  HostClip& c = clip(movie("new.swf", squareMovie(5, 12)));
  ASSERT_EQ(host_.createSettings(c), 0);
  EXPECT_EQ(c.settingsLength, 12);
  EXPECT_EQ(settingsOf(c)[0], -1);
  EXPECT_EQ(settingsOf(c)[1], 1);
  EXPECT_EQ(settingsOf(c)[2], 0);
}

TEST_F(ClipSettingsTest, DialogShowsTheSettingsCentredAndUnchangedConfirmIs300) {
  HostClip& c = settingsClip();
  settingsOf(c)[2] = 1;
  std::string shown;
  int byFrame = -1, normal = -1, aspect = -1;
  const int32_t result = edit(c, [&](DialogUser&, HWND dialog) {
    shown = ui::controlText(dialog, kLength);
    byFrame = ui::checkState(dialog, kFrameByFrame);
    normal = ui::checkState(dialog, kNormal);
    aspect = ui::checkState(dialog, kKeepAspect);
    ui::pressButton(dialog, IDOK);
    ui::waitUntil([&] { return !IsWindow(dialog); }, kWaitMs);
  });
  EXPECT_EQ(result, 300);
  EXPECT_EQ(shown, "90");
  EXPECT_EQ(byFrame, BST_CHECKED);
  EXPECT_EQ(normal, BST_UNCHECKED);
  EXPECT_EQ(aspect, BST_CHECKED);
  EXPECT_TRUE(messages_.empty());
  RECT owner;
  GetWindowRect(editor::editorMainWindow(), &owner);
  const int width = dialogRect_.right - dialogRect_.left, height = dialogRect_.bottom - dialogRect_.top;
  EXPECT_EQ(dialogRect_.left, (owner.left + owner.right - width) / 2);
  EXPECT_EQ(dialogRect_.top, (owner.top + owner.bottom - height) / 2);
  EXPECT_EQ(settingsOf(c)[0], 90);
}

TEST_F(ClipSettingsTest, ChangingOnlyTheSequenceModeIs17WithoutTheProjectMessage) {
  HostClip& c = settingsClip();
  const int32_t result = edit(c, [](DialogUser&, HWND dialog) {
    ui::clickControl(dialog, kNormal);
    ui::waitUntil([&] { return ui::checkState(dialog, kNormal) == BST_CHECKED; }, kWaitMs);
    ui::setChecked(dialog, kKeepAspect, true);
    ui::pressButton(dialog, IDOK);
    ui::waitUntil([&] { return !IsWindow(dialog); }, kWaitMs);
  });
  EXPECT_EQ(result, 17);
  EXPECT_TRUE(messages_.empty());
  EXPECT_EQ(settingsOf(c)[0], 90);
  EXPECT_EQ(settingsOf(c)[1], 2);
  EXPECT_EQ(settingsOf(c)[2], 1);
}

// The two modes are one group of radio buttons: a click on one clears the
// other, and the arrow keys go from one to the other and round.
TEST_F(ClipSettingsTest, TheSequenceModesAreOneRadioGroup) {
  HostClip& c = settingsClip();
  std::vector<std::string> states;
  edit(c, [&](DialogUser&, HWND dialog) {
    HWND byFrame = GetDlgItem(dialog, kFrameByFrame), normal = GetDlgItem(dialog, kNormal);
    auto note = [&] {
      const HWND focus = DialogUser::focused(dialog);
      states.push_back(std::string(focus == byFrame  ? "frame"
                                   : focus == normal ? "normal"
                                                     : "other") +
                       " " + std::to_string(ui::checkState(dialog, kFrameByFrame)) +
                       std::to_string(ui::checkState(dialog, kNormal)));
    };
    ui::clickControl(dialog, kNormal);
    ui::waitUntil([&] { return ui::checkState(dialog, kNormal) == BST_CHECKED; }, kWaitMs);
    note();
    ui::clickControl(dialog, kFrameByFrame);
    ui::waitUntil([&] { return ui::checkState(dialog, kFrameByFrame) == BST_CHECKED; }, kWaitMs);
    note();
    for (int next : {kNormal, kFrameByFrame}) {
      DialogUser::pressArrow(dialog, VK_DOWN);
      ui::waitUntil(
          [&] {
            return DialogUser::focused(dialog) == GetDlgItem(dialog, next) &&
                   ui::checkState(dialog, next) == BST_CHECKED;
          },
          kWaitMs);
      note();
    }
  });
  EXPECT_EQ(states, (std::vector<std::string>{"normal 01", "frame 10", "normal 01", "frame 10"}));
}

TEST_F(ClipSettingsTest, LengthPastTheLimitIsRefusedAndTheLimitItselfAccepted) {
  HostClip& c = settingsClip();
  std::string restored;
  const int32_t result = edit(c, [&](DialogUser& user, HWND dialog) {
    HWND edit = GetDlgItem(dialog, kLength);
    DialogUser::focus(dialog, kLength);
    ui::waitUntil([&] { return DialogUser::hasFocus(edit); }, kWaitMs);
    ui::setControlText(dialog, kLength, "8000001");
    DialogUser::tab(dialog);
    if (user.answerMessageBox().empty()) return user.fail("no message for 8000001");
    ui::waitUntil([&] { return ui::controlText(dialog, kLength) == "90"; }, kWaitMs);
    restored = ui::controlText(dialog, kLength);
    if (!ui::waitUntil([&] { return DialogUser::hasFocus(edit); }, kWaitMs))
      user.fail("the length box did not get the focus back");
    ui::setControlText(dialog, kLength, "8000000");
    DialogUser::tab(dialog);
    ui::pressButton(dialog, IDOK);
    // The editor (interface 5) is told to reopen its project window.
    if (user.answerMessageBox().empty()) user.fail("no project window message");
    ui::waitUntil([&] { return !IsWindow(dialog); }, kWaitMs);
  });
  EXPECT_EQ(result, 17);
  EXPECT_EQ(restored, "90");
  ASSERT_EQ(messages_.size(), 2u);
  EXPECT_EQ(messages_[0], std::string(kMessageCaption) + "|error|" + kLengthMessage);
  EXPECT_EQ(messages_[1], std::string(kMessageCaption) +
                              "|none|You need to close and re-open the project window once to "
                              "reflect the change of \"Maximum length\".");
  EXPECT_EQ(settingsOf(c)[0], 8000000);
}

TEST_F(ClipSettingsTest, ZeroAndEnterShowsTheMessageOnceAndKeepsTheDialogOpen) {
  HostClip& c = settingsClip();
  bool stillOpen = false;
  const int32_t result = edit(c, [&](DialogUser& user, HWND dialog) {
    HWND edit = GetDlgItem(dialog, kLength);
    DialogUser::focus(dialog, kLength);
    ui::waitUntil([&] { return DialogUser::hasFocus(edit); }, kWaitMs);
    ui::setControlText(dialog, kLength, "0");
    ui::pressButton(dialog, IDOK);
    user.answerMessageBox();
    ui::waitUntil([&] { return ui::controlText(dialog, kLength) == "90"; }, kWaitMs);
    // No second message follows, and the dialog is still there.
    if (ui::waitForMessageBox(GetCurrentProcessId(), 300)) user.fail("a second message");
    stillOpen = IsWindow(dialog) && ui::isVisible(dialog);
    PostMessageA(dialog, WM_COMMAND, IDCANCEL, 0);
    ui::waitUntil([&] { return !IsWindow(dialog); }, kWaitMs);
  });
  EXPECT_EQ(result, 300);
  EXPECT_TRUE(stillOpen);
  ASSERT_EQ(messages_.size(), 1u);
  EXPECT_NE(messages_[0].find(kLengthMessage), std::string::npos);
  EXPECT_EQ(settingsOf(c)[0], 90);
}

TEST_F(ClipSettingsTest, ProjectWindowMessageOnlyFromInterfaceVersion4On) {
  for (int version : {3, 4}) {
    editor::setInterfaceVersion(version);
    HostClip& c = settingsClip();
    const int32_t result = edit(c, [&](DialogUser& user, HWND dialog) {
      ui::setControlText(dialog, kLength, std::to_string(100 + version));
      ui::pressButton(dialog, IDOK);
      if (version >= 4) user.answerMessageBox();
      ui::waitUntil([&] { return !IsWindow(dialog); }, kWaitMs);
    });
    EXPECT_EQ(result, 17) << version;
    EXPECT_EQ(messages_.size(), version >= 4 ? 1u : 0u) << version;
    EXPECT_EQ(settingsOf(c)[0], 100 + version);
    closeAll();
  }
}

TEST_F(ClipSettingsTest, CancelDiscardsTheChanges) {
  HostClip& c = settingsClip();
  const int32_t result = edit(c, [](DialogUser&, HWND dialog) {
    ui::setControlText(dialog, kLength, "55");
    ui::clickControl(dialog, kNormal);
    ui::waitUntil([&] { return ui::checkState(dialog, kNormal) == BST_CHECKED; }, kWaitMs);
    PostMessageA(dialog, WM_CLOSE, 0, 0);
    ui::waitUntil([&] { return !IsWindow(dialog); }, kWaitMs);
  });
  EXPECT_EQ(result, 300);
  EXPECT_EQ(settingsOf(c)[0], 90);
  EXPECT_EQ(settingsOf(c)[1], 1);
}

TEST_F(ClipSettingsTest, AboutBoxOpensOverTheDialog) {
  HostClip& c = settingsClip();
  std::string title, link, caption;
  const int32_t result = edit(c, [&](DialogUser& user, HWND dialog) {
    ui::pressButton(dialog, kAbout);
    HWND about = ui::waitForWindow(
        [] {
          return ui::findTopLevel(GetCurrentProcessId(), "#32770",
                                  "About Tessaline Moviquill Plug-in for Adobe Premiere");
        },
        kWaitMs);
    if (!about) return user.fail("no About box");
    caption = ui::windowText(about);
    title = ui::controlText(about, 201);
    link = ui::controlText(about, 205);
    if (GetWindow(about, GW_OWNER) != dialog) user.fail("About box not owned by the dialog");
    ui::pressButton(about, IDOK);
    if (!ui::waitUntil([&] { return !IsWindow(about); }, kWaitMs)) user.fail("About box stays");
    ui::pressButton(dialog, IDOK);
    ui::waitUntil([&] { return !IsWindow(dialog); }, kWaitMs);
  });
  EXPECT_EQ(result, 300);
  EXPECT_EQ(title, "Tessaline Moviquill Plug-in for Adobe Premiere");
  EXPECT_EQ(link.rfind("https://", 0), 0u) << link;
}

TEST_F(ClipSettingsTest, NoSettingsBlockMeansNoDialog) {
  HostClip& c = clip(movie("bare.swf", squareMovie(3, 12)));
  DialogUser user([](DialogUser& u, HWND) { u.fail("a settings dialog opened"); });
  EXPECT_EQ(host_.editSettings(c), 300);
  user.finish();
  EXPECT_FALSE(user.sawDialog);
  EXPECT_EQ(user.failures, "");
}

class ClipAnalysisTest : public PluginTest {
 protected:
  std::string analysis(HostClip& c, int32_t size = 512, int32_t* answer = nullptr) {
    std::string text;
    int32_t sizeAnswer = 0;
    EXPECT_EQ(host_.analysis(c, size, &text, &sizeAnswer), 0);
    if (answer) *answer = sizeAnswer;
    return text;
  }
};

TEST_F(ClipAnalysisTest, Version5MovieHasNoCompressionLine) {
  HostClip& c = describedClip(movie("v5.swf", squareMovie(7, 12, 120, 40, mvqtest::Compression::None, 5)));
  EXPECT_EQ(analysis(c),
            "\r\nSWF file version: 5\r\nOriginal length: 7 frames in Flash main timeline\r\n"
            "Maximum length: 7 frames\r\nSequence mode: Frame by Frame\r\nKeep aspect ratio: No\r\n");
}

TEST_F(ClipAnalysisTest, CompressedVersion6MovieSaysSo) {
  HostClip& c = describedClip(movie("v6.swf", squareMovie(9, 12, 120, 40, mvqtest::Compression::Zlib, 6)));
  settingsOf(c)[1] = 2;
  settingsOf(c)[2] = 1;
  EXPECT_EQ(analysis(c),
            "\r\nSWF file version: 6\r\nCompressed\r\nOriginal length: 9 frames in Flash main "
            "timeline\r\n"
            "Maximum length: 9 frames\r\nSequence mode: Normal\r\nKeep aspect ratio: Yes\r\n");
  HostClip& plain = describedClip(movie("v6plain.swf", squareMovie(4, 12)));
  EXPECT_NE(analysis(plain).find("\r\nUncompress\r\n"), std::string::npos);
}

TEST_F(ClipAnalysisTest, SmallBufferIsAnsweredWithTheSizeAndNoText) {
  HostClip& c = describedClip(movie("small.swf", squareMovie(3, 12)));
  int32_t answer = 0;
  std::string text;
  ASSERT_EQ(host_.analysis(c, 100, &text, &answer), 0);
  EXPECT_EQ(answer, 512);
  EXPECT_EQ(text, std::string(100, '\x7F'));
  EXPECT_EQ(analysis(c, 511, &answer).size(), 511u);
  EXPECT_EQ(answer, 512);
}

TEST_F(ClipAnalysisTest, SettingsAloneGiveTheirLinesAndNoSettingsGive3) {
  HostClip& c = clip(movie("unopened.swf", squareMovie(3, 12)));
  std::string text;
  EXPECT_EQ(host_.analysis(c, 512, &text, nullptr), 3);
  ASSERT_EQ(host_.createSettings(c), 0);
  EXPECT_EQ(analysis(c),
            "\r\nMaximum length: -1 frames\r\nSequence mode: Frame by Frame\r\nKeep aspect ratio: "
            "No\r\n");
}

}  // namespace
