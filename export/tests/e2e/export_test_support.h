// What the export tests share: movies whose frames tell their number, WAV
// files that count, the fixture that works the program's export, read-backs.
#pragma once

#include <algorithm>
#include <cmath>
#include <cstdlib>
#include <functional>
#include <string>
#include <utility>
#include <vector>

#include "avi_reader.h"
#include "export_ids.h"
#include "program_test.h"
#include "resource_ids.h"
#include "swf_builder.h"
#include "test_files.h"
#include "ui_controls.h"
#include "ui_file_dialog.h"
#include "ui_message_box.h"
#include "ui_windows.h"

namespace e2e {

using mvqtest::Rect;
using mvqtest::Rgba;

constexpr int kWidth = 160, kHeight = 120;

// Frame k fills the stage with RGB(8 (k mod 32), 128, 8 (k div 32)).
inline COLORREF frameColour(int k) { return RGB(8 * (k % 32), 128, 8 * (k / 32)); }
inline int frameOf(COLORREF c) {
  if (c == CLR_INVALID || std::abs(GetGValue(c) - 128) > 3) return -1;
  return (GetRValue(c) + 4) / 8 + 32 * ((GetBValue(c) + 4) / 8);
}

using FrameHook = std::function<void(mvqtest::SwfBuilder& movie, int frame)>;

// frames frames at fps; loopAt >= 0 puts a go-to frame 0 on that frame; hook
// adds tags to each frame.
inline mvqtest::Bytes numberedMovie(int frames, double fps, int loopAt = -1, const FrameHook& hook = {},
                                    mvqtest::Compression compression = mvqtest::Compression::None) {
  mvqtest::SwfBuilder movie;
  movie.stage(Rect::pixels(kWidth, kHeight)).frameRate(fps).background(255, 255, 255);
  for (int k = 0; k < frames; ++k) {
    const COLORREF c = frameColour(k);
    movie.defineRectShape(static_cast<uint16_t>(k + 1), Rect::pixels(kWidth, kHeight),
                          Rgba{GetRValue(c), GetGValue(c), GetBValue(c)});
  }
  for (int k = 0; k < frames; ++k) {
    if (k > 0) movie.removeObject2(1);
    movie.placeObject2(static_cast<uint16_t>(k + 1), 1);
    if (hook) hook(movie, k);
    if (k == loopAt) {
      mvqtest::ActionBuilder jump;
      jump.gotoFrame(0).play();
      movie.doAction(jump);
    }
    movie.showFrame();
  }
  return movie.finish(compression);
}

// A stereo 16-bit 44100 Hz WAV file whose sample frame i holds (i, ~i).
inline mvqtest::Bytes countingWav(int sampleFrames) {
  mvqtest::Bytes data;
  for (int i = 0; i < sampleFrames; ++i) {
    mvqtest::putU16(data, static_cast<uint16_t>(i));
    mvqtest::putU16(data, static_cast<uint16_t>(~i));
  }
  mvqtest::Bytes wav;
  wav.insert(wav.end(), {'R', 'I', 'F', 'F'});
  mvqtest::putU32(wav, static_cast<uint32_t>(36 + data.size()));
  wav.insert(wav.end(), {'W', 'A', 'V', 'E', 'f', 'm', 't', ' '});
  mvqtest::putU32(wav, 16);
  mvqtest::putU16(wav, 1);
  mvqtest::putU16(wav, 2);
  mvqtest::putU32(wav, 44100);
  mvqtest::putU32(wav, 176400);
  mvqtest::putU16(wav, 4);
  mvqtest::putU16(wav, 16);
  wav.insert(wav.end(), {'d', 'a', 't', 'a'});
  mvqtest::putU32(wav, static_cast<uint32_t>(data.size()));
  wav.insert(wav.end(), data.begin(), data.end());
  return wav;
}

struct Choice {
  Choice(int mode = IDC_NORMAL, std::string start = "", std::string end = "", std::string rate = "",
         std::string wav = "")
      : mode(mode), start(std::move(start)), end(std::move(end)), rate(std::move(rate)), wav(std::move(wav)) {}
  int mode;
  std::string start, end, rate;
  std::string wav;  // empty: no sound, or the movie's own when record is set
  bool record = false;
  bool playAfter = false;
  const char* compressor = nullptr;  // part of a name to pick in the chooser; none: the one picked before
};

class ExportTest : public ProgramTest {
 protected:
  // Opens the movie, runs Create AVI with the choice; "" when the export ran,
  // else the text of the message box that stopped it (pressed away).
  std::string exportMovie(const std::string& movie, const std::string& out, const Choice& choice,
                          const std::function<void(HWND progress)>& during = {}) {
    if (!program_) program_ = launch(environment_);
    if (!program_ || !program_->openMovie(movie, movie)) return "no movie";
    return exportOpenMovie(out, choice, during);
  }

  // Create AVI on the movie the program shows now.
  std::string exportOpenMovie(const std::string& out, const Choice& choice,
                              const std::function<void(HWND progress)>& during = {}) {
    program_->command(ID_FILE_CREATE_AVI);
    HWND save = program_->waitForDialog("Create AVI File");
    if (!save || !ui::chooseFile(save, out)) return "no save dialog";
    HWND settings = program_->waitForDialog("AVI Export Setting");
    if (!settings) return "no settings dialog";
    if (choice.compressor && !chooseCompressor(settings, choice.compressor)) return "compressor not offered";
    ui::clickControl(settings, choice.record ? IDC_AUDIO_RECORD : choice.wav.empty() ? IDC_AUDIO_NONE : IDC_AUDIO_WAV);
    if (!choice.wav.empty()) {
      ui::clickControl(settings, IDC_WAV_BROWSE);
      HWND open = program_->waitForDialog("Open WAV file");
      if (!open || !ui::chooseFile(open, choice.wav)) return "no wav dialog";
      ui::waitUntil([&] { return !IsWindow(open); }, kWaitMs);
    }
    ui::clickControl(settings, choice.mode);
    ui::setChecked(settings, IDC_PLAY_AFTER, choice.playAfter);
    if (!choice.start.empty()) ui::setControlText(settings, IDC_START_FRAME, choice.start);
    if (!choice.end.empty()) ui::setControlText(settings, IDC_END_FRAME, choice.end);
    if (!choice.rate.empty()) ui::setControlText(settings, IDC_FRAME_RATE, choice.rate);
    ui::pressButton(settings, IDOK);
    const DWORD process = program_->processId();
    ui::waitUntil([&] { return !IsWindow(settings) || ui::waitForMessageBox(process, 50); }, kWaitMs);
    if (HWND box = ui::waitForMessageBox(process, 100)) {
      const std::string text = ui::readMessageBox(box).text;
      ui::pressMessageBoxButton(box, "ok");
      if (IsWindow(settings)) ui::pressButton(settings, IDCANCEL);
      return text;
    }
    // A short export may be over before its window is found.
    HWND progress = program_->waitForDialog("Converting to AVI");
    if (!progress && during) return "no progress window";
    if (during) during(progress);
    if (progress) ui::waitUntil([&] { return !IsWindow(progress); }, 120000);
    // After a recording the video pass shows a window of its own.
    if (choice.record)
      if (HWND video = program_->waitForDialog("Converting to AVI", 3000))
        ui::waitUntil([&] { return !IsWindow(video); }, 120000);
    ui::waitForIdle(program_->mainWindow());
    return "";
  }

  // Picks the compressor whose name has `name` in the chooser of the settings
  // dialog; false when the chooser or the entry is missing.
  bool chooseCompressor(HWND settings, const char* name) {
    ui::pressButton(settings, IDC_COMPRESSOR_SELECT);
    HWND chooser = program_->waitForDialog("Video Compression");
    if (!chooser) return false;
    HWND list = nullptr;
    for (HWND child : ui::childWindows(chooser))
      if (ui::className(child) == "ComboBox") list = child;
    DWORD_PTR index = CB_ERR;
    if (list)
      SendMessageTimeoutA(list, CB_SELECTSTRING, static_cast<WPARAM>(-1), reinterpret_cast<LPARAM>(name),
                          SMTO_ABORTIFHUNG, ui::kMessageTimeoutMs, &index);
    const bool found = static_cast<LRESULT>(index) != CB_ERR;
    ui::pressButton(chooser, found ? IDOK : IDCANCEL);
    return ui::waitUntil([&] { return !IsWindow(chooser); }, kWaitMs) && found;
  }

  std::string out(const std::string& name) { return work_.file(name); }

  std::unique_ptr<ProgramSession> program_;
  ProgramSession::Environment environment_;
};

// Without ffprobe the test counts as skipped, whatever else it checked.
inline void expectProbe(const std::string& file, int frames, const char* rate) {
  if (!exporttest::ffprobeAvailable()) GTEST_SKIP() << "no ffprobe to read " << file;
  const exporttest::ProbedVideo video = exporttest::probe(file);
  ASSERT_TRUE(video.ok) << file;
  EXPECT_EQ(kWidth, video.width);
  EXPECT_EQ(kHeight, video.height);
  EXPECT_EQ(frames, video.frames);
  EXPECT_EQ(rate, video.rate);
}

inline std::vector<int> shownFrames(const std::string& file) {
  exporttest::AviReader avi(file);
  std::vector<int> frames;
  for (LONG k = 0; k < avi.frames(); ++k) frames.push_back(frameOf(avi.pixel(k, kWidth / 2, kHeight / 2)));
  return frames;
}

inline std::vector<int> range(int first, int last) {
  std::vector<int> frames;
  for (int k = first; k <= last; ++k) frames.push_back(k);
  return frames;
}

}  // namespace e2e
