// What a player trusts in the header, and exports that must not start: the
// sound stream's length in every file, a movie of no frames, a recording whose
// movie cannot be played.
#include <cstdio>

#include "export_test_support.h"
#include "recorded_sound.h"

namespace e2e {
namespace {

int aviFiles(const std::string& folder) {
  WIN32_FIND_DATAA found;
  HANDLE search = FindFirstFileA((folder + "\\*.avi").c_str(), &found);
  if (search == INVALID_HANDLE_VALUE) return 0;
  int count = 0;
  do ++count;
  while (FindNextFileA(search, &found));
  FindClose(search);
  return count;
}

// Sample frames of sound in each frame of a 10 fps export of 44100 Hz sound.
constexpr long kPerFrame = 4410;

TEST_F(ExportTest, TheSoundHeaderGivesTheSampleFramesWrittenNotTheWrites) {
  if (!exporttest::ffprobeAvailable()) GTEST_SKIP() << "no ffprobe";
  const std::string movie = writeMovie("numbers.swf", numberedMovie(20, 10));
  const std::string second = work_.write("second.wav", countingWav(44100));
  const std::string longer = work_.write("longer.wav", countingWav(44100 * 4));
  ASSERT_EQ("", exportMovie(movie, out("second.avi"), Choice{IDC_NORMAL, "", "", "", second}));
  EXPECT_EQ(44100, exporttest::soundHeaderLength(out("second.avi")));  // all of it, in 10 writes
  // A longer file is cut after the last frame's share.
  ASSERT_EQ("", exportMovie(movie, out("cut.avi"), Choice{IDC_NORMAL, "", "4", "", longer}));
  EXPECT_EQ(5 * kPerFrame, exporttest::soundHeaderLength(out("cut.avi")));
  EXPECT_EQ(5 * kPerFrame * 4, exporttest::probe(out("cut.avi")).soundBytes);
}

TEST_F(ExportTest, EverySplitFileGivesTheSoundItHolds) {
  if (!exporttest::ffprobeAvailable()) GTEST_SKIP() << "no ffprobe";
  environment_ = {{"MVQ_SPLIT_LIMIT_BYTES", "200000"}};  // three 160 x 120 frames and their sound a file
  const std::string movie = writeMovie("numbers.swf", numberedMovie(20, 10));
  const std::string wav = work_.write("long.wav", countingWav(44100 * 4));
  ASSERT_EQ("", exportMovie(movie, out("clip.avi"), Choice{IDC_FRAME_BY_FRAME, "", "17", "", wav}));
  std::vector<std::string> files;
  for (char name[32]; std::snprintf(name, sizeof name, "clip%04d.avi", static_cast<int>(files.size())) > 0 &&
                      mvqtest::fileExists(out(name));)
    files.push_back(name);
  long total = 0;
  for (const std::string& name : files) {
    const exporttest::ProbedVideo video = exporttest::probe(out(name));
    ASSERT_TRUE(video.ok) << name;
    EXPECT_EQ(video.frames * kPerFrame, exporttest::soundHeaderLength(out(name))) << name;
    EXPECT_EQ(video.frames * kPerFrame * 4, video.soundBytes) << name;
    total += video.frames;
  }
  EXPECT_EQ(18, total);
  EXPECT_GE(files.size(), 5u);
}

TEST_F(ExportTest, AMovieOfNoFramesIsRefusedBeforeAnythingIsWritten) {
  mvqtest::SwfBuilder empty;
  empty.stage(Rect::pixels(kWidth, kHeight)).frameRate(10).frameCount(0);
  empty.defineRectShape(1, Rect::pixels(kWidth, kHeight), Rgba{0, 128, 0}).placeObject2(1, 1).showFrame();
  const std::string movie = writeMovie("empty.swf", empty.finish());
  program_ = launch(environment_);
  ASSERT_TRUE(program_ && program_->openMovie(movie, movie));
  program_->command(ID_FILE_CREATE_AVI);
  HWND box = ui::waitForMessageBox(program_->processId(), kWaitMs);
  ASSERT_TRUE(box);
  EXPECT_EQ("This movie has no frames (its header says 0), so there is nothing to export.",
            ui::readMessageBox(box).text);
  ui::pressMessageBoxButton(box, "ok");
  EXPECT_FALSE(program_->waitForDialog("Create AVI File", 1500));
  EXPECT_EQ(0, aviFiles(work_.path()));
  // The program goes on: a movie with frames exports.
  const std::string numbers = writeMovie("numbers.swf", numberedMovie(3, 10));
  ASSERT_EQ("", exportMovie(numbers, out("numbers.avi"), Choice{IDC_NORMAL}));
  EXPECT_EQ(range(0, 2), shownFrames(out("numbers.avi")));
}

TEST_F(ExportTest, ARecordingWhoseMovieCannotBeLoadedStopsWithAMessage) {
  if (loopbackMissing()) GTEST_SKIP() << "no sound loopback or no ffprobe";
  const std::string movie = writeMovie("numbers.swf", numberedMovie(20, 10));
  program_ = launch(environment_);
  ASSERT_TRUE(program_ && program_->openMovie(movie, movie));
  // Gone after it was opened: its silent copy is all the program still has.
  ASSERT_TRUE(DeleteFileA(movie.c_str()));
  program_->command(ID_FILE_CREATE_AVI);
  HWND save = program_->waitForDialog("Create AVI File");
  ASSERT_TRUE(save && ui::chooseFile(save, out("silent.avi")));
  HWND settings = program_->waitForDialog("AVI Export Setting");
  ASSERT_TRUE(settings);
  ui::clickControl(settings, IDC_AUDIO_RECORD);
  ui::pressButton(settings, IDOK);
  HWND box = ui::waitForMessageBox(program_->processId(), kWaitMs);
  ASSERT_TRUE(box) << "the recording went on";
  EXPECT_EQ("The movie could not be loaded and played, so its sound cannot be recorded.", ui::readMessageBox(box).text);
  ui::pressMessageBoxButton(box, "ok");
  EXPECT_FALSE(program_->waitForDialog("Converting to AVI", 1500));
  EXPECT_FALSE(mvqtest::fileExists(out("silent.avi")));
  EXPECT_EQ(0, program_->exitThroughMenu());
  EXPECT_TRUE(mvqFiles(temp_.path()).empty());
}

}  // namespace
}  // namespace e2e
