// The movie's own sound, recorded through the PulseAudio loopback while the
// movie plays in real time, then exported with the frames.
#include <cstdlib>

#include "avi_reader.h"
#include "export_ids.h"
#include "export_test_support.h"
#include "recorded_sound.h"
#include "host_command.h"
#include "ui_controls.h"
#include "ui_message_box.h"
#include "ui_windows.h"

namespace e2e {
namespace {

constexpr int kSamplesPerFrame = kToneSamplesPerFrame;

TEST_F(ExportTest, RecordedSoundIsTheMoviesToneInStepWithTheFrames) {
  if (loopbackMissing()) GTEST_SKIP() << "no sound loopback or no ffprobe";
  const std::string movie = writeMovie("tone.swf", toneMovie(36, 12));
  Choice choice{IDC_NORMAL};
  choice.record = true;
  ASSERT_EQ("", exportMovie(movie, out("tone.avi"), choice));
  expectProbe(out("tone.avi"), 36, "12/1");
  const std::vector<int16_t> sound = leftChannel(out("tone.avi"), out("tone.raw"));
  ASSERT_EQ(36u * kSamplesPerFrame, sound.size());
  size_t first = 0;
  while (first < sound.size() && std::abs(sound[first]) < 2000) ++first;
  // The tone begins with frame 12. The recording starts as the movie does; the
  // output path (the control's jitter lead, the loopback) delays it a little.
  // In step means within one frame's duration.
  EXPECT_GE(first, 11u * kSamplesPerFrame);
  EXPECT_LE(first, 13u * kSamplesPerFrame);
  int peak = 0;
  for (size_t i = first; i < sound.size(); ++i) peak = std::max(peak, std::abs(static_cast<int>(sound[i])));
  EXPECT_NEAR(12000, peak, 2500);
  EXPECT_EQ(0, program_->exitThroughMenu());
  EXPECT_TRUE(mvqFiles(temp_.path()).empty());
}

bool waitForCount(HWND progress, const std::string& text, DWORD timeoutMs) {
  return ui::waitUntil([&] { return ui::controlText(progress, IDC_PROGRESS_COUNT) == text; }, timeoutMs);
}

void confirm(DWORD process, const char* question) {
  HWND box = ui::waitForMessageBox(process, kWaitMs);
  ASSERT_TRUE(box);
  EXPECT_EQ(question, ui::readMessageBox(box).text);
  ui::pressMessageBoxButton(box, "yes");
}

TEST_F(ExportTest, FinishAtTheFifthSecondOfRecordingGivesFiveSecondsOfVideo) {
  if (loopbackMissing()) GTEST_SKIP() << "no sound loopback or no ffprobe";
  const std::string movie = writeMovie("tone.swf", toneMovie(240, 0));
  Choice choice{IDC_NORMAL};
  choice.record = true;
  ASSERT_EQ("", exportMovie(movie, out("five.avi"), choice, [&](HWND progress) {
              ASSERT_TRUE(waitForCount(progress, "Creating audio : 60  frames", 20000));
              ui::pressButton(progress, IDC_PROGRESS_FINISH);
              confirm(program_->processId(), "Are you sure you want to finish?");
            }));
  exporttest::AviReader avi(out("five.avi"));
  ASSERT_TRUE(avi.ok());
  // The recording ends with what the recorder had been handed when the question
  // came up, just after second 5. The count shows the movie's frames, which run
  // 0.2 s (3 frames) ahead of the sound card, and the recorder is handed its
  // sound a 64000-byte buffer (0.36 s) at a time, 0.15 s behind the device.
  EXPECT_GE(avi.frames(), 50);
  EXPECT_LE(avi.frames(), 72);
  EXPECT_EQ(static_cast<long>(avi.frames()) * kSamplesPerFrame * 4, exporttest::probe(out("five.avi")).soundBytes);
}

TEST_F(ExportTest, CancelWhileRecordingLeavesNeitherRecordingNorVideo) {
  if (loopbackMissing()) GTEST_SKIP() << "no sound loopback or no ffprobe";
  const std::string movie = writeMovie("tone.swf", toneMovie(120, 0));
  Choice choice{IDC_NORMAL};
  choice.record = true;
  ASSERT_EQ("", exportMovie(movie, out("never.avi"), choice, [&](HWND progress) {
              ASSERT_TRUE(waitForCount(progress, "Creating audio : 24  frames", 20000));
              ui::pressButton(progress, IDCANCEL);
              confirm(program_->processId(), "Are you sure you want to cancel ?");
            }));
  EXPECT_FALSE(program_->waitForDialog("Converting to AVI", 1500));
  EXPECT_FALSE(mvqtest::fileExists(out("never.avi")));
  EXPECT_EQ(0, program_->exitThroughMenu());
  EXPECT_TRUE(mvqFiles(temp_.path()).empty());
}

}  // namespace
}  // namespace e2e
