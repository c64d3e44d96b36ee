// The export settings dialog shown on a thread of its own and worked from the
// test thread as a user would: what it shows, what it enables, what it keeps.
#include <gtest/gtest.h>

#include <windows.h>
#include <commctrl.h>

#include <atomic>
#include <cstring>
#include <string>
#include <thread>
#include <vector>

#include "export_ids.h"
#include "export_settings_dialog.h"
#include "recording_mixer.h"
#include "test_files.h"
#include "ui_controls.h"
#include "ui_message_box.h"
#include "ui_windows.h"

namespace {

constexpr DWORD kWaitMs = 5000;
constexpr DWORD kWaveOutSourceLine = 0x1008;
constexpr DWORD kVolumeControl = 0x50030001;

HWND findOwnDialog(const char* title) {
  return ui::waitForWindow([&] { return ui::findTopLevel(GetCurrentProcessId(), "#32770", title); }, kWaitMs);
}

// The dialog runs modally on its own thread; clicks are sent, so each has
// been handled when click() returns.
class SettingsDialog {
 public:
  explicit SettingsDialog(const ExportSettings& settings) : settings_(settings) {
    thread_ = std::thread([this] { result_ = showExportSettingsDialog(nullptr, &settings_, 320, 240); });
    window_ = findOwnDialog("AVI Export Setting");
  }
  ~SettingsDialog() {
    if (IsWindow(window_)) PostMessageA(window_, WM_COMMAND, IDCANCEL, 0);
    if (thread_.joinable()) thread_.join();
  }
  SettingsDialog(const SettingsDialog&) = delete;
  SettingsDialog& operator=(const SettingsDialog&) = delete;

  HWND window() const { return window_; }
  void click(int id) { SendMessageA(GetDlgItem(window_, id), BM_CLICK, 0, 0); }
  bool enabled(int id) const { return ui::controlEnabled(window_, id); }
  bool checked(int id) const { return ui::checkState(window_, id) == BST_CHECKED; }
  std::string text(int id) const { return ui::controlText(window_, id); }
  void type(int id, const char* text) { SetDlgItemTextA(window_, id, text); }
  HWND focused() const {
    GUITHREADINFO info = {};
    info.cbSize = sizeof info;
    return GetGUIThreadInfo(GetWindowThreadProcessId(window_, nullptr), &info) ? info.hwndFocus : nullptr;
  }
  // An arrow key pressed on the control that has the focus; its way through the
  // dialog's message loop, as a key from the keyboard takes.
  void pressArrow(UINT key) {
    HWND target = focused();
    PostMessageA(target, WM_KEYDOWN, key, 1);
    PostMessageA(target, WM_KEYUP, key, 0xC0000001);
  }

  // Presses OK and answers the error box it may raise; its text, or "" when the dialog closed.
  std::string pressOk() {
    ui::pressButton(window_, IDOK);
    ui::waitUntil([&] { return !IsWindow(window_) || ui::waitForMessageBox(GetCurrentProcessId(), 50); }, kWaitMs);
    HWND box = ui::waitForMessageBox(GetCurrentProcessId(), 100);
    if (!box) return "";
    const ui::MessageBoxView view = ui::readMessageBox(box);
    ui::pressMessageBoxButton(box, "ok");
    ui::waitUntil([&] { return !IsWindow(box); }, kWaitMs);
    return view.caption + ": " + view.text;
  }
  // Closes with the button; the dialog's result, the settings it left.
  INT_PTR close(int button) {
    if (IsWindow(window_)) ui::pressButton(window_, button);
    thread_.join();
    return result_;
  }
  const ExportSettings& settings() const { return settings_; }  // after close()

 private:
  ExportSettings settings_;
  INT_PTR result_ = 0;
  std::thread thread_;
  HWND window_ = nullptr;
};

ExportSettings opened(int start, int end, int rate100) {
  ExportSettings s = defaultExportSettings();
  s.startFrame = start;
  s.endFrame = end;
  s.frameRate100 = rate100;
  s.compressor = createCompressorRecord();
  return s;
}

class ExportSettingsDialogTest : public ::testing::Test {
 protected:
  void TearDown() override { freeCompressorRecord(settings_.compressor); }
  ExportSettings settings_ = opened(3, 40, 1500);
  mvqtest::TempDir work_;
};

TEST_F(ExportSettingsDialogTest, OpensWithTheSettingsItIsGiven) {
  settings_.sequenceMode = SequenceMode::FrameByFrame;
  settings_.playAfterCreating = true;
  const std::string wav = work_.write("tone.wav", mvqtest::Bytes{'x'});
  std::strcpy(settings_.wavPath, wav.c_str());
  SettingsDialog dialog(settings_);
  ASSERT_TRUE(dialog.window());
  EXPECT_EQ("3", dialog.text(IDC_START_FRAME));
  EXPECT_EQ("40", dialog.text(IDC_END_FRAME));
  EXPECT_EQ("1500", dialog.text(IDC_FRAME_RATE));
  EXPECT_FALSE(dialog.checked(IDC_SKIP_BACKWARD));
  EXPECT_TRUE(dialog.checked(IDC_FRAME_BY_FRAME));
  EXPECT_FALSE(dialog.checked(IDC_NORMAL));
  EXPECT_TRUE(dialog.checked(IDC_PLAY_AFTER));
  // A name follows one space; the default record names the uncompressed handler.
  const std::string compressor = dialog.text(IDC_COMPRESSOR_NAME);
  ASSERT_GT(compressor.size(), 1u);
  EXPECT_EQ(' ', compressor[0]);
  // The format as the installed drivers name it: " tag: details".
  const std::string format = dialog.text(IDC_FORMAT_TEXT);
  EXPECT_EQ(0u, format.find(" PCM: ")) << format;
  EXPECT_TRUE(dialog.checked(IDC_AUDIO_WAV));
  EXPECT_EQ(" " + wav, dialog.text(IDC_WAV_PATH));
  EXPECT_TRUE(dialog.enabled(IDC_FRAME_RATE));
  EXPECT_EQ(IDCANCEL, dialog.close(IDCANCEL));
}

TEST_F(ExportSettingsDialogTest, EachAudioChoiceEnablesOnlyItsOwnControls) {
  settings_.audioEnabled = false;
  RecordingMixer probe(nullptr);
  const bool mixerOpens = probe.open(nullptr, kWaveOutSourceLine, kVolumeControl);
  probe.close();
  SettingsDialog dialog(settings_);
  ASSERT_TRUE(dialog.window());
  const int recordOnly[] = {IDC_FORMAT_TEXT, IDC_FORMAT_SELECT, IDC_VOLUME_ADVANCE};
  const int wavOnly[] = {IDC_WAV_PATH, IDC_WAV_BROWSE};
  for (int choice : {IDC_AUDIO_NONE, IDC_AUDIO_RECORD, IDC_AUDIO_WAV, IDC_AUDIO_NONE}) {
    if (choice != IDC_AUDIO_NONE || dialog.checked(IDC_AUDIO_WAV)) dialog.click(choice);
    SCOPED_TRACE(choice);
    ASSERT_TRUE(dialog.checked(choice));
    for (int id : recordOnly) EXPECT_EQ(choice == IDC_AUDIO_RECORD, dialog.enabled(id)) << id;
    for (int id : wavOnly) EXPECT_EQ(choice == IDC_AUDIO_WAV, dialog.enabled(id)) << id;
    EXPECT_EQ(choice == IDC_AUDIO_RECORD && mixerOpens, dialog.enabled(IDC_RECORD_VOLUME));
    EXPECT_EQ(choice != IDC_AUDIO_RECORD, dialog.enabled(IDC_FRAME_RATE));
  }
}

// Each choice's radio buttons are one group: a click on one clears the
// others, and the arrow keys go from one to the next and round.
TEST_F(ExportSettingsDialogTest, EachChoicesRadioButtonsAreOneGroup) {
  settings_.audioEnabled = false;
  SettingsDialog dialog(settings_);
  ASSERT_TRUE(dialog.window());
  const std::vector<std::vector<int>> groups = {{IDC_SKIP_BACKWARD, IDC_FRAME_BY_FRAME, IDC_NORMAL},
                                                {IDC_AUDIO_NONE, IDC_AUDIO_RECORD, IDC_AUDIO_WAV}};
  for (const std::vector<int>& group : groups) {
    for (int clicked : {group[2], group[1], group[0]}) {
      dialog.click(clicked);
      for (int id : group) EXPECT_EQ(id == clicked, dialog.checked(id)) << clicked << " clicked, " << id;
    }
    for (size_t k = 1; k <= group.size(); ++k) {
      const int next = group[k % group.size()];
      dialog.pressArrow(VK_DOWN);
      EXPECT_TRUE(ui::waitUntil([&] { return dialog.focused() == GetDlgItem(dialog.window(), next); }, kWaitMs))
          << "down to " << next;
      ui::waitUntil([&] { return dialog.checked(next); }, kWaitMs);
      for (int id : group) EXPECT_EQ(id == next, dialog.checked(id)) << "down to " << next << ", " << id;
    }
  }
}

TEST_F(ExportSettingsDialogTest, RecordingLocksTheFrameRateAtTheConfirmedOne) {
  settings_.audioEnabled = false;
  SettingsDialog dialog(settings_);
  ASSERT_TRUE(dialog.window());
  dialog.type(IDC_FRAME_RATE, "999");
  dialog.click(IDC_AUDIO_RECORD);
  EXPECT_EQ("1500", dialog.text(IDC_FRAME_RATE));
  EXPECT_FALSE(dialog.enabled(IDC_FRAME_RATE));
  // Leaving the recording unlocks the box and keeps its value.
  dialog.click(IDC_AUDIO_WAV);
  EXPECT_TRUE(dialog.enabled(IDC_FRAME_RATE));
  EXPECT_EQ("1500", dialog.text(IDC_FRAME_RATE));
  // Pressing the radio that is already checked changes nothing.
  dialog.type(IDC_FRAME_RATE, "777");
  dialog.click(IDC_AUDIO_WAV);
  EXPECT_EQ("777", dialog.text(IDC_FRAME_RATE));
  dialog.click(IDC_AUDIO_NONE);
  EXPECT_EQ("777", dialog.text(IDC_FRAME_RATE));
  EXPECT_TRUE(dialog.enabled(IDC_FRAME_RATE));
}

TEST_F(ExportSettingsDialogTest, RecordingChosenBeforeOpensWithTheRateLocked) {
  SettingsDialog dialog(settings_);  // audio on, no WAV file: the movie's own sound
  ASSERT_TRUE(dialog.window());
  EXPECT_TRUE(dialog.checked(IDC_AUDIO_RECORD));
  EXPECT_FALSE(dialog.enabled(IDC_FRAME_RATE));
  EXPECT_TRUE(dialog.enabled(IDC_FORMAT_SELECT));
  EXPECT_FALSE(dialog.enabled(IDC_WAV_BROWSE));
}

TEST_F(ExportSettingsDialogTest, OkTakesTheEditedValuesAndForgetsAWavFileNotChosen) {
  std::strcpy(settings_.wavPath, work_.write("old.wav", mvqtest::Bytes{'x'}).c_str());
  SettingsDialog dialog(settings_);
  ASSERT_TRUE(dialog.window());
  dialog.click(IDC_SKIP_BACKWARD);
  dialog.click(IDC_PLAY_AFTER);
  dialog.click(IDC_AUDIO_NONE);
  dialog.type(IDC_START_FRAME, "4");
  dialog.type(IDC_END_FRAME, "4");
  dialog.type(IDC_FRAME_RATE, "2997");
  EXPECT_EQ("", dialog.pressOk());
  EXPECT_EQ(IDOK, dialog.close(IDOK));
  const ExportSettings& s = dialog.settings();
  EXPECT_EQ(SequenceMode::SkipBackwardGotos, s.sequenceMode);
  EXPECT_TRUE(s.playAfterCreating);
  EXPECT_FALSE(s.audioEnabled);
  EXPECT_STREQ("", s.wavPath);
  EXPECT_EQ(4, s.startFrame);
  EXPECT_EQ(4, s.endFrame);
  EXPECT_EQ(2997, s.frameRate100);
}

TEST_F(ExportSettingsDialogTest, CancelKeepsTheModeAndNumbersUnapplied) {
  SettingsDialog dialog(settings_);
  ASSERT_TRUE(dialog.window());
  dialog.click(IDC_FRAME_BY_FRAME);
  dialog.type(IDC_START_FRAME, "9");
  EXPECT_EQ(IDCANCEL, dialog.close(IDCANCEL));
  EXPECT_EQ(SequenceMode::Normal, dialog.settings().sequenceMode);
  EXPECT_EQ(3, dialog.settings().startFrame);
}

TEST_F(ExportSettingsDialogTest, OkRefusesAMissingCompressorOrWavFile) {
  {
    ExportSettings noCompressor = settings_;
    noCompressor.compressor = nullptr;
    SettingsDialog dialog(noCompressor);
    ASSERT_TRUE(dialog.window());
    EXPECT_EQ("", dialog.text(IDC_COMPRESSOR_NAME));
    EXPECT_EQ("Moviquill: Video compressor not selected.", dialog.pressOk());
    EXPECT_TRUE(IsWindow(dialog.window()));
  }
  std::strcpy(settings_.wavPath, work_.file("missing.wav").c_str());
  SettingsDialog dialog(settings_);
  ASSERT_TRUE(dialog.window());
  EXPECT_EQ("Moviquill: File not exists.", dialog.pressOk());
  EXPECT_TRUE(IsWindow(dialog.window()));
  // The frame range is checked after the sound source.
  dialog.click(IDC_AUDIO_NONE);
  dialog.type(IDC_END_FRAME, "2");
  EXPECT_EQ("Moviquill: The \"Start/End frame\" number is invalid.", dialog.pressOk());
  dialog.type(IDC_END_FRAME, "abc");  // reads as 0, below the start
  EXPECT_EQ("Moviquill: The \"Start/End frame\" number is invalid.", dialog.pressOk());
  dialog.type(IDC_START_FRAME, "x");
  dialog.type(IDC_FRAME_RATE, "-100");
  EXPECT_EQ("Moviquill: The \"Frame rate\" is invalid.", dialog.pressOk());
  dialog.type(IDC_FRAME_RATE, "1");
  EXPECT_EQ("", dialog.pressOk());
  EXPECT_EQ(IDOK, dialog.close(IDOK));
  EXPECT_EQ(0, dialog.settings().startFrame);
  EXPECT_EQ(0, dialog.settings().endFrame);
  EXPECT_EQ(1, dialog.settings().frameRate100);
}

// The wedge under the volume trackbar, drawn into a bitmap of the static's size.
TEST_F(ExportSettingsDialogTest, TheVolumeWedgeRisesToTheRight) {
  SettingsDialog dialog(settings_);
  ASSERT_TRUE(dialog.window());
  HWND wedge = GetDlgItem(dialog.window(), IDC_VOLUME_WEDGE);
  RECT r;
  GetClientRect(wedge, &r);
  ASSERT_GT(r.right, 10);
  ASSERT_GT(r.bottom, 4);
  HDC screen = GetDC(nullptr);
  HDC dc = CreateCompatibleDC(screen);
  HBITMAP bitmap = CreateCompatibleBitmap(screen, r.right, r.bottom);
  ReleaseDC(nullptr, screen);
  HGDIOBJ previous = SelectObject(dc, bitmap);
  PatBlt(dc, 0, 0, r.right, r.bottom, BLACKNESS);
  const LRESULT brush =
      SendMessageA(dialog.window(), WM_CTLCOLORSTATIC, reinterpret_cast<WPARAM>(dc), reinterpret_cast<LPARAM>(wedge));
  EXPECT_EQ(reinterpret_cast<LRESULT>(GetStockObject(HOLLOW_BRUSH)), brush);
  const int right = r.right - 2, bottom = r.bottom - 2;  // the rectangle shrunk by one
  const COLORREF grey = RGB(0x87, 0x7F, 0x87), white = RGB(255, 255, 255), black = RGB(0, 0, 0);
  EXPECT_EQ(grey, GetPixel(dc, r.right / 2, bottom + 1));  // the base, one row below the shrunk rectangle
  EXPECT_EQ(grey, GetPixel(dc, right + 1, r.bottom / 2));  // the right side
  EXPECT_EQ(white, GetPixel(dc, right + 1, 1));            // the slope starts at the top right
  EXPECT_EQ(black, GetPixel(dc, 1, 1));                    // nothing above the slope
  EXPECT_EQ(black, GetPixel(dc, 0, r.bottom - 1));         // nor outside the rectangle
  SelectObject(dc, previous);
  DeleteObject(bitmap);
  DeleteDC(dc);
}

// A window of the system volume control's class, run on a thread of its own.
class FakeVolumeControl {
 public:
  FakeVolumeControl() {
    thread_ = std::thread([this] {
      WNDCLASSA c = {};
      c.lpfnWndProc = DefWindowProcA;
      c.hInstance = GetModuleHandleA(nullptr);
      c.lpszClassName = "Volume Control";
      RegisterClassA(&c);
      threadId_ = GetCurrentThreadId();
      window_ = CreateWindowA("Volume Control", "Volume", WS_OVERLAPPEDWINDOW, 50, 60, 200, 100, nullptr, nullptr,
                              c.hInstance, nullptr);
      created_ = true;
      MSG m;
      while (GetMessageA(&m, nullptr, 0, 0) > 0) DispatchMessageA(&m);
      DestroyWindow(window_);
    });
    ui::waitUntil([&] { return created_.load(); }, kWaitMs);
  }
  ~FakeVolumeControl() {
    PostThreadMessageA(threadId_, WM_QUIT, 0, 0);
    thread_.join();
  }
  HWND window() const { return window_; }

 private:
  std::thread thread_;
  std::atomic<bool> created_{false};
  std::atomic<DWORD> threadId_{0};
  HWND window_ = nullptr;
};

TEST_F(ExportSettingsDialogTest, AdvanceShowsARunningVolumeControlWhereItIs) {
  FakeVolumeControl volume;
  ASSERT_TRUE(volume.window());
  ASSERT_FALSE(IsWindowVisible(volume.window()));
  const RECT before = ui::windowRect(volume.window());
  SettingsDialog dialog(settings_);
  ASSERT_TRUE(dialog.window());
  ASSERT_TRUE(dialog.enabled(IDC_VOLUME_ADVANCE));
  dialog.click(IDC_VOLUME_ADVANCE);
  EXPECT_TRUE(ui::waitUntil([&] { return IsWindowVisible(volume.window()) != FALSE; }, kWaitMs));
  const RECT after = ui::windowRect(volume.window());
  EXPECT_TRUE(EqualRect(&before, &after));
  dialog.close(IDCANCEL);
  // Not started by the dialog, so it is left running.
  EXPECT_TRUE(IsWindow(volume.window()));
}

TEST_F(ExportSettingsDialogTest, TheVolumeTrackbarSetsTheRecordingLevel) {
  RecordingMixer mixer(nullptr);
  if (!mixer.open(nullptr, kWaveOutSourceLine, kVolumeControl) || mixer.steps() < 2)
    GTEST_SKIP() << "no recording line with a wave-output volume here";
  const int saved = mixer.level();
  SettingsDialog dialog(settings_);
  ASSERT_TRUE(dialog.window());
  HWND bar = GetDlgItem(dialog.window(), IDC_RECORD_VOLUME);
  EXPECT_EQ(static_cast<LRESULT>(mixer.steps()), SendMessageA(bar, TBM_GETRANGEMAX, 0, 0));
  EXPECT_EQ(saved, SendMessageA(bar, TBM_GETPOS, 0, 0));
  const int wanted = saved == 1 ? 2 : 1;
  SendMessageA(bar, TBM_SETPOS, TRUE, wanted);
  SendMessageA(dialog.window(), WM_HSCROLL, TB_THUMBPOSITION, reinterpret_cast<LPARAM>(bar));
  EXPECT_EQ(saved, mixer.level());  // a code the dialog ignores
  SendMessageA(dialog.window(), WM_HSCROLL, TB_ENDTRACK, reinterpret_cast<LPARAM>(bar));
  EXPECT_EQ(wanted, mixer.level());
  mixer.setLevel(saved);
}

TEST_F(ExportSettingsDialogTest, CancelledChoosersLeaveTheNamesAsTheyWere) {
  SettingsDialog dialog(settings_);
  ASSERT_TRUE(dialog.window());
  const std::string compressor = dialog.text(IDC_COMPRESSOR_NAME);
  const std::string format = dialog.text(IDC_FORMAT_TEXT);
  for (int id : {IDC_COMPRESSOR_SELECT, IDC_FORMAT_SELECT}) {
    ui::pressButton(dialog.window(), id);
    HWND chooser = ui::waitForWindow(
        [&] {
          for (HWND w : ui::topLevelWindows(GetCurrentProcessId()))
            if (w != dialog.window() && IsWindowVisible(w) && GetWindow(w, GW_OWNER) == dialog.window()) return w;
          return HWND();
        },
        kWaitMs);
    ASSERT_TRUE(chooser) << id;
    ui::pressButton(chooser, IDCANCEL);
    ASSERT_TRUE(ui::waitUntil([&] { return !IsWindow(chooser); }, kWaitMs)) << id;
  }
  EXPECT_EQ(compressor, dialog.text(IDC_COMPRESSOR_NAME));
  EXPECT_EQ(format, dialog.text(IDC_FORMAT_TEXT));
  EXPECT_EQ(IDCANCEL, dialog.close(IDCANCEL));
  EXPECT_EQ(defaultExportSettings().audioFormat.nSamplesPerSec, dialog.settings().audioFormat.nSamplesPerSec);
}

}  // namespace
