// Sound in step with the pictures through long recordings: the movie's
// streaming sound marks every whole second and an event sound every half second
// between; the movie is recorded in real time and exported, and every mark must
// be in the AVI's sound within one frame of the frame that sounds it. A clock a
// little fast, or a sound output that loses blocks, shows only after minutes.
// Under the ctest label "long".
#include <cmath>
#include <cstdio>
#include <cstdlib>

#include "export_test_support.h"
#include "recorded_sound.h"

namespace e2e {
namespace {

constexpr double kPi = 3.14159265358979;
constexpr int kStreamRate = 22050;
constexpr uint16_t kMarkSound = 2;

// 30 ms of a 1 kHz tone.
std::vector<int16_t> mark(int rate) {
  std::vector<int16_t> samples(static_cast<size_t>(rate * 3 / 100));
  for (size_t i = 0; i < samples.size(); ++i)
    samples[i] = static_cast<int16_t>(12000 * std::sin(2 * kPi * 1000 * double(i) / rate));
  return samples;
}

struct MarkedMovie {
  mvqtest::Bytes bytes;
  double fps;               // as the header holds it (8.8)
  std::vector<int> frames;  // the frame of each mark, in order
};

MarkedMovie markedMovie(double fps, int seconds) {
  MarkedMovie movie;
  movie.fps = std::lround(fps * 256) / 256.0;
  const int frames = static_cast<int>(seconds * movie.fps) + 1;
  const double perFrame = kStreamRate / movie.fps;
  const mvqtest::PcmFormat format{kStreamRate, true, false};
  std::vector<int16_t> stream(static_cast<size_t>(std::lround(frames * perFrame)));
  const std::vector<int16_t> streamMark = mark(kStreamRate);
  std::vector<bool> eventAt(frames, false);
  for (int s = 1; s < seconds; ++s) {
    const int onSecond = static_cast<int>(std::lround(s * movie.fps));
    const int between = static_cast<int>(std::lround((s + 0.5) * movie.fps));
    const size_t at = static_cast<size_t>(std::lround(onSecond * perFrame));
    std::copy(streamMark.begin(), streamMark.end(), stream.begin() + at);
    eventAt[between] = true;
    movie.frames.push_back(onSecond);
    movie.frames.push_back(between);
  }
  mvqtest::SwfBuilder swf;
  swf.stage(Rect::pixels(32, 24)).frameRateRaw(static_cast<uint16_t>(std::lround(fps * 256))).background(255, 255, 255);
  swf.soundStreamHead(format, static_cast<uint16_t>(std::lround(perFrame)));
  swf.defineSound(kMarkSound, mvqtest::PcmFormat{44100, true, false}, mark(44100));
  for (int k = 0; k < frames; ++k) {
    const size_t begin = static_cast<size_t>(std::lround(k * perFrame));
    const size_t end = std::min(stream.size(), static_cast<size_t>(std::lround((k + 1) * perFrame)));
    swf.soundStreamBlock(format, std::vector<int16_t>(stream.begin() + begin, stream.begin() + end));
    if (eventAt[k]) swf.startSound(kMarkSound);
    swf.showFrame();
  }
  movie.bytes = swf.finish();
  return movie;
}

class SoundStepTest : public ExportTest {
 protected:
  // Records and exports the movie, then finds every mark in the AVI's sound
  // and measures it against the time of its frame in the AVI.
  void expectMarksInStep(double fps, int seconds) {
    if (loopbackMissing()) GTEST_SKIP() << "no sound loopback or no ffprobe";
    const MarkedMovie movie = markedMovie(fps, seconds);
    const std::string path = writeMovie("marks.swf", movie.bytes);
    Choice choice{IDC_NORMAL};
    choice.record = true;
    const DWORD recording = (seconds + 60) * 1000;
    DWORD recordedFor = 0;
    ASSERT_EQ("", exportMovie(path, out("marks.avi"), choice, [&](HWND progress) {
                const DWORD start = GetTickCount();
                ASSERT_TRUE(ui::waitUntil([&] { return !IsWindow(progress); }, recording));
                recordedFor = GetTickCount() - start;
                if (HWND video = program_->waitForDialog("Converting to AVI", 10000)) {
                  ASSERT_TRUE(ui::waitUntil([&] { return !IsWindow(video); }, 600000));
                }
              }));
    const exporttest::ProbedVideo video = exporttest::probe(out("marks.avi"));
    ASSERT_TRUE(video.ok);
    int rateNumerator = 0, rateDenominator = 1;
    ASSERT_EQ(2, std::sscanf(video.rate.c_str(), "%d/%d", &rateNumerator, &rateDenominator)) << video.rate;
    const double frameSeconds = double(rateDenominator) / rateNumerator;
    const std::vector<int16_t> sound = leftChannel(out("marks.avi"), out("marks.raw"));
    const std::vector<size_t> onsets = audiotest::soundOnsets(sound, 3000, 4410);
    // Each mark: the onset nearest its frame's time in the AVI.
    std::vector<double> offsets;
    for (size_t m = 0; m < movie.frames.size(); ++m) {
      const double due = movie.frames[m] * frameSeconds;
      double best = 1e9;
      for (size_t onset : onsets)
        if (std::fabs(onset / 44100.0 - due) < std::fabs(best)) best = onset / 44100.0 - due;
      offsets.push_back(best);
    }
    std::printf("fps %.5f, rate %s: %zu marks, %zu onsets; offsets (ms) first", movie.fps, video.rate.c_str(),
                movie.frames.size(), onsets.size());
    for (size_t m = 0; m < 4 && m < offsets.size(); ++m) std::printf(" %.1f", offsets[m] * 1000);
    std::printf(", last");
    for (size_t m = offsets.size() < 4 ? 0 : offsets.size() - 4; m < offsets.size(); ++m)
      std::printf(" %.1f", offsets[m] * 1000);
    // A recording that took longer than its sound lost some on the way in.
    std::printf("; the recording took %.2f s\n", recordedFor / 1000.0);
    if (std::getenv("MVQ_SOUND_STEP_ALL")) {
      for (double offset : offsets) std::printf(" %.0f", offset * 1000);
      std::printf("\n");
    }
    EXPECT_EQ(movie.frames.size(), onsets.size()) << "a mark lost, or one heard twice";
    int late = 0;
    for (size_t m = 0; m < offsets.size(); ++m)
      if (std::fabs(offsets[m]) > frameSeconds && late++ < 5)
        ADD_FAILURE() << "the mark of frame " << movie.frames[m] << " is " << offsets[m] * 1000 << " ms off";
    EXPECT_EQ(0, late) << "marks more than one frame off";
    EXPECT_EQ(0, program_->exitThroughMenu());
  }
};

TEST_F(SoundStepTest, ThreeMinutesAt30) { expectMarksInStep(30, 180); }
TEST_F(SoundStepTest, ThreeMinutesAt2997) { expectMarksInStep(29.97, 180); }
TEST_F(SoundStepTest, ThreeMinutesAt24) { expectMarksInStep(24, 180); }

}  // namespace
}  // namespace e2e
