// A movie's streaming sound, played on ticks at the movie's rate through the
// wave output, recorded from the PulseAudio loopback.
#include <gtest/gtest.h>

#include <cmath>
#include <cstdlib>
#include <string>
#include <vector>

#include "loopback_recording.h"
#include "movie_sound_driver.h"
#include "swf_builder.h"
#include "ticked_sound_output.h"
#include "tone.h"

namespace {

constexpr double kFps = 12;
constexpr int kSamplesPerFrame = 3675;  // 44100 / 12

// frames movie frames of a continuous 1000 Hz stereo tone as streaming PCM.
mvqtest::Bytes toneMovie(int frames) {
  mvqtest::PcmFormat format;
  format.rate = 44100;
  format.stereo = true;
  const std::vector<int16_t> tone = audiotest::stereoTone(1000, 10000, frames * kSamplesPerFrame);
  mvqtest::SwfBuilder movie;
  movie.frameRate(kFps).soundStreamHead(format, kSamplesPerFrame, true);
  for (int f = 0; f < frames; ++f) {
    const auto begin = tone.begin() + 2 * f * kSamplesPerFrame;
    movie.soundStreamBlock(format, std::vector<int16_t>(begin, begin + 2 * kSamplesPerFrame)).showFrame();
  }
  return movie.finish();
}

class MovieSoundUnderLoopback : public LoopbackRecording {
 protected:
  // The player's load enters the movie's first frame; the driver's first tick does.
  static void startMovie(soundtest::MovieSoundDriver& driver, TickedSoundOutput& sound) {
    driver.tick();
    sound.startMovie(driver.frameRate());
  }
  // frames frames of the movie: the first sounds as it starts, each further one
  // with its tick, at the movie's rate on a steady schedule as the host's timer gives them.
  static void playFrames(soundtest::MovieSoundDriver& driver, TickedSoundOutput& sound, int frames) {
    startMovie(driver, sound);
    const DWORD start = timeGetTime();
    for (int tick = 1; tick < frames; ++tick) {
      const DWORD due = start + static_cast<DWORD>(tick * 1000 / driver.frameRate());
      const DWORD now = timeGetTime();
      if (int(due - now) > 0) Sleep(due - now);
      driver.tick();
      sound.tick();
    }
    for (int waited = 0; sound.queuedBlocks() > 0 && waited < 5000; waited += 10) Sleep(10);
  }
};

TEST_F(MovieSoundUnderLoopback, StreamingSoundPlayedOnTicksIsRecordedWholeAndInTune) {
  soundtest::MovieSoundDriver driver;
  ASSERT_TRUE(driver.load(toneMovie(24)));
  TickedSoundOutput sound(driver.mixer());
  playFrames(driver, sound, 24);
  const std::vector<int16_t> samples = stopRecording();
  for (int channel = 0; channel < 2; ++channel) {
    const audiotest::ToneMeasure tone = audiotest::measureTone(samples, channel, 2500);
    EXPECT_NEAR(1000.0, tone.hz, 10.0);
    EXPECT_NEAR(10000 / std::sqrt(2.0), tone.rms, 10000 * 0.05);
    // Two seconds of movie are two seconds of sound: nothing lost, nothing doubled.
    EXPECT_NEAR(2.0 * 44100, double(tone.frames), 44100 * 0.03);
    EXPECT_EQ(0, tone.gaps) << "the tick blocks follow one another without a break";
  }
}

TEST_F(MovieSoundUnderLoopback, TheFirstFrameSoundsAsTheMovieStartsWithoutATick) {
  soundtest::MovieSoundDriver driver;
  ASSERT_TRUE(driver.load(toneMovie(24)));
  TickedSoundOutput sound(driver.mixer());
  startMovie(driver, sound);
  EXPECT_TRUE(sound.deviceOpen());
  EXPECT_GT(sound.queuedBlocks(), 0);
  for (int waited = 0; sound.queuedBlocks() > 0 && waited < 5000; waited += 10) Sleep(10);
  const audiotest::ToneMeasure tone = audiotest::measureTone(stopRecording(), 0, 2500);
  EXPECT_NEAR(double(kSamplesPerFrame), double(tone.frames), 44100 * 0.01) << "one frame's share";
}

TEST_F(MovieSoundUnderLoopback, ResetSilencesWhatIsQueuedAtOnce) {
  soundtest::MovieSoundDriver driver;
  ASSERT_TRUE(driver.load(toneMovie(24)));
  for (int tick = 0; tick < 24; ++tick) {  // two seconds queued at once
    driver.tick();
    std::vector<int16_t> block(2 * kSamplesPerFrame);
    driver.mixer().render(block.data(), kSamplesPerFrame);
    ASSERT_TRUE(output_.write(block.data(), kSamplesPerFrame));
  }
  Sleep(500);
  output_.reset();
  driver.mixer().stopAll();
  EXPECT_EQ(0, output_.queuedBuffers());
  const audiotest::ToneMeasure tone = audiotest::measureTone(stopRecording(), 0, 2500);
  EXPECT_GT(tone.frames, 44100u / 10);
  EXPECT_LT(tone.frames, 44100u) << "the second second was never played";
}

// Ticks that run ahead of the device (a timer a little fast, a burst of late
// ticks delivered at once) must not lose sound: a lost block moves every later
// sound earlier.
TEST_F(MovieSoundUnderLoopback, BlocksWrittenFarAheadOfTheDeviceAreAllPlayed) {
  constexpr int kBlocks = 160, kFrames = 441;  // 1.6 s in 10 ms blocks, at once
  const std::vector<int16_t> tone = audiotest::stereoTone(1000, 10000, kBlocks * kFrames);
  for (int i = 0; i < kBlocks; ++i) ASSERT_TRUE(output_.write(tone.data() + 2 * i * kFrames, kFrames)) << i;
  EXPECT_GT(output_.queuedBuffers(), 64);
  for (int waited = 0; output_.queuedBuffers() > 0 && waited < 10000; waited += 10) Sleep(10);
  EXPECT_EQ(uint64_t(kBlocks * kFrames + WaveOutStream::kLeadFrames), output_.playedFrames());
  const audiotest::ToneMeasure measured = audiotest::measureTone(stopRecording(), 0, 2500);
  EXPECT_NEAR(double(kBlocks * kFrames), double(measured.frames), 44100 * 0.01);
}

TEST_F(MovieSoundUnderLoopback, ASilentMovieAfterASoundingOneLeavesTheDeviceClosed) {
  soundtest::MovieSoundDriver driver;
  ASSERT_TRUE(driver.load(toneMovie(24)));
  TickedSoundOutput sound(driver.mixer());
  startMovie(driver, sound);
  ASSERT_TRUE(sound.deviceOpen());
  ASSERT_TRUE(driver.load(mvqtest::SwfBuilder().frameRate(kFps).showFrame().showFrame().finish()));
  startMovie(driver, sound);
  for (int tick = 0; tick < 100; ++tick) {  // an export's silent copy, ticked at once
    driver.tick();
    sound.tick();
  }
  EXPECT_FALSE(sound.deviceOpen());
  stopRecording();
}

TEST_F(MovieSoundUnderLoopback, SilenceEndsTheSoundAtOnceAndAMovieWithoutSoundOpensNoDevice) {
  soundtest::MovieSoundDriver driver;
  ASSERT_TRUE(driver.load(toneMovie(24)));
  TickedSoundOutput sound(driver.mixer());
  sound.startMovie(driver.frameRate());
  for (int tick = 0; tick < 12; ++tick) {  // a second of sound queued at once
    driver.tick();
    sound.tick();
  }
  EXPECT_TRUE(sound.deviceOpen());
  Sleep(300);
  sound.silence();
  EXPECT_TRUE(driver.mixer().silent());
  EXPECT_EQ(0, sound.queuedBlocks());

  soundtest::MovieSoundDriver quiet;
  ASSERT_TRUE(quiet.load(mvqtest::SwfBuilder().frameRate(kFps).showFrame().showFrame().finish()));
  TickedSoundOutput none(quiet.mixer());
  playFrames(quiet, none, 2);
  EXPECT_FALSE(none.deviceOpen());
  const audiotest::ToneMeasure tone = audiotest::measureTone(stopRecording(), 0, 2500);
  EXPECT_GT(tone.frames, 44100u / 10);
  EXPECT_LT(tone.frames, 44100u * 8 / 10) << "the rest of the second was never played";
}

TEST(WaveOutStream, WithoutADeviceNothingIsQueued) {
  WaveOutStream output;
  const int16_t frame[2] = {1, 2};
  EXPECT_FALSE(output.write(frame, 1));
  output.reset();
  output.close();
  EXPECT_EQ(0, output.queuedBuffers());
}

}  // namespace
