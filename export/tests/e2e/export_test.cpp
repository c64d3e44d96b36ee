// Exports through the real program, worked as a user would: File > Create AVI,
// the settings dialog, the progress window; the files read back with ffprobe,
// ffmpeg and the AVI file services.
#include "export_test_support.h"
#include "file_association.h"

namespace e2e {
namespace {

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
              // Finished once a few frames are written, so that the partial file holds some.
              ASSERT_TRUE(ui::waitUntil(
                  [&] {
                    const ui::BarState bar = ui::progressBarState(progress, IDC_PROGRESS_BAR);
                    return bar.found && bar.position > bar.low + 1;
                  },
                  kWaitMs));
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
  if (exporttest::ffprobeAvailable()) {
    EXPECT_EQ(avi.frames(), exporttest::probe(out("part.avi")).frames);
  }
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

TEST_F(ExportTest, PlayAfterCreatingOpensTheFinishedFileOnlyWhenChecked) {
  ScopedFileAssociation association(".avi");
  ASSERT_TRUE(association.useCommand("cmd.exe /c copy \"%1\" \"%1.played\""));
  const std::string movie = writeMovie("numbers.swf", numberedMovie(20, 10));
  ASSERT_EQ("", exportMovie(movie, out("quiet.avi"), Choice{IDC_NORMAL, "", "2"}));
  Choice shown{IDC_NORMAL, "", "4"};
  shown.playAfter = true;
  ASSERT_EQ("", exportMovie(movie, out("shown.avi"), shown));
  ASSERT_TRUE(ui::waitUntil([&] { return mvqtest::fileExists(out("shown.avi.played")); }, 15000));
  // Opened once it was complete; the export before it was not opened at all.
  EXPECT_EQ(range(0, 4), shownFrames(out("shown.avi.played")));
  EXPECT_FALSE(mvqtest::fileExists(out("quiet.avi.played")));
}

TEST_F(ExportTest, ARecordingThatCannotFitInTheTemporaryFolderIsRefused) {
  const std::string movie = writeMovie("numbers.swf", numberedMovie(20, 10));
  Choice choice{IDC_NORMAL, "", "2000000000"};  // hundreds of terabytes of sound
  choice.record = true;
  std::string text = exportMovie(movie, out("huge.avi"), choice);
  HWND box = text.empty() ? ui::waitForMessageBox(program_->processId(), kWaitMs) : nullptr;
  if (box) {
    text = ui::readMessageBox(box).text;
    ui::pressMessageBoxButton(box, "ok");
  }
  EXPECT_EQ("Disk space not enough. Please change your temp directory.", text);
  EXPECT_FALSE(mvqtest::fileExists(out("huge.avi")));
  // The program is usable again and leaves nothing behind.
  EXPECT_EQ(0, program_->exitThroughMenu());
  EXPECT_TRUE(mvqFiles(temp_.path()).empty());
}

TEST_F(ExportTest, ExitingUnderTheSettingsDialogEndsTheProgramCleanly) {
  const std::string movie = writeMovie("numbers.swf", numberedMovie(20, 10));
  program_ = launch(environment_);
  ASSERT_TRUE(program_ && program_->openMovie(movie, movie));
  program_->command(ID_FILE_CREATE_AVI);
  HWND save = program_->waitForDialog("Create AVI File");
  ASSERT_TRUE(save && ui::chooseFile(save, out("never.avi")));
  ASSERT_TRUE(program_->waitForDialog("AVI Export Setting"));
  ui::postCommand(program_->mainWindow(), ID_FILE_EXIT);
  EXPECT_EQ(0, program_->waitForExit(2 * kWaitMs));
  EXPECT_FALSE(mvqtest::fileExists(out("never.avi")));
  EXPECT_TRUE(mvqFiles(temp_.path()).empty());
}

TEST_F(ExportTest, AMovieLoadsFilesFromBesideTheOpenedMovieNotItsCopies) {
  // The program plays temporary copies; the movie's first frame loads a
  // movie lying beside the one the user opened.
  writeMovie("child.swf", numberedMovie(1, 10));
  mvqtest::ActionBuilder load;
  const std::string target = std::string("child.swf") + '\0' + "_level1" + '\0';
  load.action(0x83, mvqtest::Bytes(target.begin(), target.end()));  // GetURL
  mvqtest::SwfBuilder parent;
  parent.version(6).stage(Rect::pixels(kWidth, kHeight)).frameRate(10).background(255, 255, 255);
  parent.doAction(load).showFrame().showFrame().showFrame().showFrame();
  const std::string movie = writeMovie("parent.swf", parent.finish(mvqtest::Compression::Zlib));
  ASSERT_EQ("", exportMovie(movie, out("loads.avi"), Choice{IDC_NORMAL}));
  const std::vector<int> frames = shownFrames(out("loads.avi"));
  ASSERT_EQ(frames.size(), 4u);
  EXPECT_EQ(frames.back(), 0) << "the loaded movie shows";
}

}  // namespace
}  // namespace e2e
