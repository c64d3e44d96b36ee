// Exports through the real program, worked as a user would: File > Create AVI,
// the settings dialog, the progress window; the files read back with ffprobe,
// ffmpeg and the AVI file services.
#include <algorithm>
#include <cstdlib>
#include <functional>

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
namespace {

using mvqtest::Rect;
using mvqtest::Rgba;

constexpr int kWidth = 160, kHeight = 120;

// Frame k fills the stage with RGB(8 (k mod 32), 128, 8 (k div 32)).
COLORREF frameColour(int k) { return RGB(8 * (k % 32), 128, 8 * (k / 32)); }
int frameOf(COLORREF c) {
  if (c == CLR_INVALID || std::abs(GetGValue(c) - 128) > 3) return -1;
  return (GetRValue(c) + 4) / 8 + 32 * ((GetBValue(c) + 4) / 8);
}

// frames frames at fps; loopAt >= 0 puts a go-to frame 0 on that frame.
mvqtest::Bytes numberedMovie(int frames, double fps, int loopAt = -1) {
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
    if (k == loopAt) {
      mvqtest::ActionBuilder jump;
      jump.gotoFrame(0).play();
      movie.doAction(jump);
    }
    movie.showFrame();
  }
  return movie.finish();
}

// A stereo 16-bit 44100 Hz WAV file whose sample frame i holds (i, ~i).
mvqtest::Bytes countingWav(int sampleFrames) {
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
  int mode = IDC_NORMAL;
  std::string start, end, rate;
  std::string wav;  // empty: no sound
};

class ExportTest : public ProgramTest {
 protected:
  // Opens the movie, runs Create AVI with the choice; "" when the export ran,
  // else the text of the message box that stopped it (pressed away).
  std::string exportMovie(const std::string& movie, const std::string& out, const Choice& choice,
                          const std::function<void(HWND progress)>& during = {}) {
    if (!program_) program_ = launch(environment_);
    if (!program_ || !program_->openMovie(movie, movie)) return "no movie";
    program_->command(ID_FILE_CREATE_AVI);
    HWND save = program_->waitForDialog("Create AVI File");
    if (!save || !ui::chooseFile(save, out)) return "no save dialog";
    HWND settings = program_->waitForDialog("AVI Export Setting");
    if (!settings) return "no settings dialog";
    ui::clickControl(settings, choice.wav.empty() ? IDC_AUDIO_NONE : IDC_AUDIO_WAV);
    if (!choice.wav.empty()) {
      ui::clickControl(settings, IDC_WAV_BROWSE);
      HWND open = program_->waitForDialog("Open WAV file");
      if (!open || !ui::chooseFile(open, choice.wav)) return "no wav dialog";
      ui::waitUntil([&] { return !IsWindow(open); }, kWaitMs);
    }
    ui::clickControl(settings, choice.mode);
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
    ui::waitForIdle(program_->mainWindow());
    return "";
  }

  std::string out(const std::string& name) { return work_.file(name); }

  std::unique_ptr<ProgramSession> program_;
  ProgramSession::Environment environment_;
};

void expectProbe(const std::string& file, int frames, const char* rate) {
  if (!exporttest::ffprobeAvailable()) return;
  const exporttest::ProbedVideo video = exporttest::probe(file);
  ASSERT_TRUE(video.ok) << file;
  EXPECT_EQ(kWidth, video.width);
  EXPECT_EQ(kHeight, video.height);
  EXPECT_EQ(frames, video.frames);
  EXPECT_EQ(rate, video.rate);
}

std::vector<int> shownFrames(const std::string& file) {
  exporttest::AviReader avi(file);
  std::vector<int> frames;
  for (LONG k = 0; k < avi.frames(); ++k) frames.push_back(frameOf(avi.pixel(k, kWidth / 2, kHeight / 2)));
  return frames;
}

std::vector<int> range(int first, int last) {
  std::vector<int> frames;
  for (int k = first; k <= last; ++k) frames.push_back(k);
  return frames;
}

TEST_F(ExportTest, EachSequenceModeGivesOneFramePerMovieFrameAtTheChosenRate) {
  const std::string movie = writeMovie("numbers.swf", numberedMovie(20, 10));
  ASSERT_EQ("", exportMovie(movie, out("normal.avi"), Choice{IDC_NORMAL}));
  ASSERT_EQ("", exportMovie(movie, out("steps.avi"), Choice{IDC_FRAME_BY_FRAME}));
  ASSERT_EQ("", exportMovie(movie, out("skip.avi"), Choice{IDC_SKIP_BACKWARD, "", "", "2997"}));
  expectProbe(out("normal.avi"), 20, "10/1");
  expectProbe(out("steps.avi"), 20, "10/1");
  expectProbe(out("skip.avi"), 20, "2997/100");
  // Frame k of the file is the control's picture of movie frame k.
  EXPECT_EQ(range(0, 19), shownFrames(out("normal.avi")));
  EXPECT_EQ(range(0, 19), shownFrames(out("steps.avi")));
  EXPECT_EQ(range(0, 19), shownFrames(out("skip.avi")));
}

TEST_F(ExportTest, StartAndEndFramesChooseTheExportedFrames) {
  const std::string movie = writeMovie("numbers.swf", numberedMovie(20, 10));
  ASSERT_EQ("", exportMovie(movie, out("one.avi"), Choice{IDC_NORMAL, "7", "7"}));
  ASSERT_EQ("", exportMovie(movie, out("from5.avi"), Choice{IDC_FRAME_BY_FRAME, "5", "12"}));
  expectProbe(out("one.avi"), 1, "10/1");
  expectProbe(out("from5.avi"), 8, "10/1");
  EXPECT_EQ(std::vector<int>{7}, shownFrames(out("one.avi")));
  EXPECT_EQ(range(5, 12), shownFrames(out("from5.avi")));
}

TEST_F(ExportTest, SkippingBackwardGotosGetsOutOfAMainTimelineLoop) {
  const std::string movie = writeMovie("loop.swf", numberedMovie(20, 10, 9));
  ASSERT_EQ("", exportMovie(movie, out("skip.avi"), Choice{IDC_SKIP_BACKWARD}));
  ASSERT_EQ("", exportMovie(movie, out("normal.avi"), Choice{IDC_NORMAL}));
  // Frame 9's go-to runs before it is shown; past it the export goes on with 10, 11, ...
  const std::vector<int> skipped = shownFrames(out("skip.avi"));
  ASSERT_EQ(20u, skipped.size());
  EXPECT_EQ(range(0, 8), std::vector<int>(skipped.begin(), skipped.begin() + 9));
  EXPECT_EQ(range(10, 19), std::vector<int>(skipped.begin() + 10, skipped.end()));
  // Played normally the loop holds the movie.
  const std::vector<int> looped = shownFrames(out("normal.avi"));
  ASSERT_EQ(20u, looped.size());
  EXPECT_EQ(range(0, 8), std::vector<int>(looped.begin(), looped.begin() + 9));
  EXPECT_EQ(range(0, 8), std::vector<int>(looped.begin() + 9, looped.begin() + 18));
}

TEST_F(ExportTest, WavSoundStartsAtTheFirstExportedFrameAndEndsWithTheLastOne) {
  if (!exporttest::ffprobeAvailable()) GTEST_SKIP() << "no ffprobe";
  const std::string movie = writeMovie("numbers.swf", numberedMovie(20, 10));
  const std::string shortWav = work_.write("short.wav", countingWav(4410 * 5 + 100));  // 5 frames and a bit
  const std::string longWav = work_.write("long.wav", countingWav(44100 * 4));
  ASSERT_EQ("", exportMovie(movie, out("short.avi"), Choice{IDC_NORMAL, "", "", "", shortWav}));
  ASSERT_EQ("", exportMovie(movie, out("long.avi"), Choice{IDC_FRAME_BY_FRAME, "6", "", "", longWav}));
  ASSERT_EQ("", exportMovie(movie, out("ntsc.avi"), Choice{IDC_NORMAL, "", "9", "2997", longWav}));
  // All of a shorter file; a longer one cut after the last frame's chunk.
  EXPECT_EQ((4410 * 5 + 100) * 4, exporttest::probe(out("short.avi")).soundBytes);
  EXPECT_EQ(14 * 4410 * 4, exporttest::probe(out("long.avi")).soundBytes);
  // 44100 / 29.97 rounded up: 1472 sample frames a frame.
  EXPECT_EQ(10 * 1472 * 4, exporttest::probe(out("ntsc.avi")).soundBytes);
  // The WAV file's first samples, whatever the start frame.
  const std::vector<BYTE> first = exporttest::soundPrefix(out("long.avi"), 8);
  EXPECT_EQ((std::vector<BYTE>{0, 0, 0xFF, 0xFF, 1, 0, 0xFE, 0xFF}), first);
}

TEST_F(ExportTest, SplitFilesAreNumberedAndCancelDeletesThemAll) {
  // Four 160 x 120 frames pass 200000 bytes.
  environment_ = {{"MVQ_SPLIT_LIMIT_BYTES", "200000"}};
  const std::string movie = writeMovie("numbers.swf", numberedMovie(20, 10));
  ASSERT_EQ("", exportMovie(movie, out("clip.avi"), Choice{IDC_FRAME_BY_FRAME, "", "17"}));
  EXPECT_FALSE(mvqtest::fileExists(out("clip.avi")));
  std::vector<int> all;
  for (int n = 0; n < 5; ++n) {
    char name[32];
    std::snprintf(name, sizeof name, "clip%04d.avi", n);
    ASSERT_TRUE(mvqtest::fileExists(out(name))) << name;
    expectProbe(out(name), n < 4 ? 4 : 2, "10/1");
    const std::vector<int> frames = shownFrames(out(name));
    all.insert(all.end(), frames.begin(), frames.end());
  }
  EXPECT_FALSE(mvqtest::fileExists(out("clip0005.avi")));
  EXPECT_EQ(range(0, 17), all);

  // Far past the movie's end, so that Cancel comes while it runs.
  ASSERT_EQ("", exportMovie(movie, out("gone.avi"), Choice{IDC_FRAME_BY_FRAME, "", "100000"}, [&](HWND progress) {
    EXPECT_TRUE(ui::waitUntil([&] { return mvqtest::fileExists(out("gone0002.avi")); }, 60000));
    ui::pressButton(progress, IDCANCEL);
    HWND box = ui::waitForMessageBox(program_->processId(), kWaitMs);
    ASSERT_TRUE(box);
    EXPECT_EQ("Are you sure you want to cancel ?", ui::readMessageBox(box).text);
    ui::pressMessageBoxButton(box, "yes");
  }));
  EXPECT_FALSE(mvqtest::fileExists(out("gone.avi")));
  EXPECT_FALSE(mvqtest::fileExists(out("gone0000.avi")));
  EXPECT_FALSE(mvqtest::fileExists(out("gone0001.avi")));
  EXPECT_FALSE(mvqtest::fileExists(out("gone0002.avi")));
  EXPECT_FALSE(mvqtest::fileExists(out("gone0003.avi")));
}

TEST_F(ExportTest, FinishKeepsAPlayablePartialFileAndNoTemporaryFileStays) {
  const std::string movie = writeMovie("numbers.swf", numberedMovie(20, 10));
  ASSERT_EQ("", exportMovie(movie, out("part.avi"), Choice{IDC_FRAME_BY_FRAME, "", "100000"}, [&](HWND progress) {
    Sleep(1500);
    ui::pressButton(progress, IDC_PROGRESS_FINISH);
    HWND box = ui::waitForMessageBox(program_->processId(), kWaitMs);
    ASSERT_TRUE(box);
    EXPECT_EQ("Are you sure you want to finish?", ui::readMessageBox(box).text);
    ui::pressMessageBoxButton(box, "yes");
  }));
  exporttest::AviReader avi(out("part.avi"));
  ASSERT_TRUE(avi.ok());
  EXPECT_GT(avi.frames(), 0);
  EXPECT_LT(avi.frames(), 100001);
  const std::vector<int> frames = shownFrames(out("part.avi"));
  const int checked = static_cast<int>(std::min<size_t>(20, frames.size()));
  EXPECT_EQ(range(0, checked - 1), std::vector<int>(frames.begin(), frames.begin() + checked));
  if (exporttest::ffprobeAvailable()) EXPECT_EQ(avi.frames(), exporttest::probe(out("part.avi")).frames);
  EXPECT_EQ(0, program_->exitThroughMenu());
  EXPECT_TRUE(mvqFiles(temp_.path()).empty());
}

TEST_F(ExportTest, TheSettingsDialogRefusesWhatCannotBeExported) {
  const std::string movie = writeMovie("numbers.swf", numberedMovie(20, 10));
  const std::string noWav = work_.write("nowav.wav", mvqtest::Bytes{'n', 'o', 't', ' ', 'w', 'a', 'v'});
  EXPECT_EQ("The \"Start/End frame\" number is invalid.",
            exportMovie(movie, out("a.avi"), Choice{IDC_NORMAL, "8", "7"}));
  EXPECT_EQ("The \"Start/End frame\" number is invalid.",
            exportMovie(movie, out("a.avi"), Choice{IDC_NORMAL, "-1", "7"}));
  EXPECT_EQ("The \"Frame rate\" is invalid.", exportMovie(movie, out("a.avi"), Choice{IDC_NORMAL, "", "", "0"}));
  EXPECT_EQ("Invalid wav file.", exportMovie(movie, out("a.avi"), Choice{IDC_NORMAL, "", "", "", noWav}));
  EXPECT_FALSE(mvqtest::fileExists(out("a.avi")));
  // An empty start frame reads as 0 and passes.
  EXPECT_EQ("", exportMovie(movie, out("b.avi"), Choice{IDC_NORMAL, " ", "3"}));
  EXPECT_EQ(range(0, 3), shownFrames(out("b.avi")));
}

}  // namespace
}  // namespace e2e
