// The control plays its movie's sound on the host's ticks: a builder-made
// movie's streaming tone, loaded with put_Movie and ticked through the host's
// timer, is recorded from the PulseAudio loopback; Stop, Rewind and a new movie
// end it at once.
#include <gtest/gtest.h>

#include <cmath>
#include <cstdlib>
#include <string>
#include <vector>

#include "host_services.h"
#include "sound_card_recorder.h"
#include "stand_in.h"
#include "tone.h"
#include "wav_samples.h"

namespace {

constexpr double kFps = 12;
constexpr int kSamplesPerFrame = 3675;  // 44100 / 12

// frames movie frames of a continuous 1000 Hz stereo tone as streaming PCM.
mvqtest::Bytes toneMovie(int frames) {
  mvqtest::PcmFormat format;
  format.stereo = true;
  const std::vector<int16_t> tone = audiotest::stereoTone(1000, 10000, frames * kSamplesPerFrame);
  mvqtest::SwfBuilder movie;
  movie.frameRate(kFps).soundStreamHead(format, kSamplesPerFrame);
  for (int f = 0; f < frames; ++f) {
    const auto begin = tone.begin() + 2 * f * kSamplesPerFrame;
    movie.soundStreamBlock(format, std::vector<int16_t>(begin, begin + 2 * kSamplesPerFrame)).showFrame();
  }
  return movie.finish();
}

class ControlSoundUnderLoopback : public ::testing::Test {
 protected:
  void SetUp() override {
    if (std::getenv("MVQ_PULSE_MISSING")) GTEST_SKIP() << "the PulseAudio loopback did not start";
    if (waveInGetNumDevs() == 0 || waveOutGetNumDevs() == 0) GTEST_SKIP() << "no wave devices (no sound loopback)";
    ASSERT_TRUE(SUCCEEDED(OleInitialize(nullptr)));
    initialized_ = true;
    flash_ = createStandIn();
    ASSERT_TRUE(flash_);
    ole_ = flash_.as<IOleObject>(IID_IOleObject);
    ASSERT_TRUE(ole_);
    ASSERT_EQ(S_OK, ole_->SetClientSite(&site_));
    ASSERT_EQ(S_OK, recorder_.open(wav_.c_str(), &kCd));
    ASSERT_EQ(S_OK, recorder_.start(0, nullptr));
    Sleep(200);
  }
  void TearDown() override {
    if (ole_) ole_->SetClientSite(nullptr);
    ole_.reset();
    flash_.reset();
    if (initialized_) OleUninitialize();
  }
  HRESULT load(const mvqtest::Bytes& movie, const char* name = "tone.swf") {
    return flash_->put_Movie(Bstr(files_.write(name, movie)));
  }
  // Ticks on a steady schedule at the movie's rate, as the host's timer gives them.
  void playOnTicks(int ticks) {
    const DWORD start = timeGetTime();
    for (int tick = 0; tick < ticks; ++tick) {
      const DWORD due = start + static_cast<DWORD>(tick * 1000 / kFps);
      const DWORD now = timeGetTime();
      if (int(due - now) > 0) Sleep(due - now);
      ASSERT_EQ(S_OK, site_.services.service.timer.tick());
    }
  }
  std::vector<int16_t> stopRecording() {
    Sleep(300);
    EXPECT_EQ(S_OK, recorder_.stop());
    EXPECT_EQ(S_OK, recorder_.close());
    return audiotest::wavSamples(wav_);
  }

  static constexpr WAVEFORMATEX kCd = {WAVE_FORMAT_PCM, 2, 44100, 176400, 4, 16, 0};
  bool initialized_ = false;
  ServiceClientSite site_;
  ComPtr<IShockwaveFlash> flash_;
  ComPtr<IOleObject> ole_;
  mvqtest::TempDir files_;
  std::string wav_ = files_.file("control.wav");
  SoundCardRecorder recorder_;
};

TEST_F(ControlSoundUnderLoopback, TheMoviesStreamingToneIsRecordedWholeWhileItPlaysOnTicks) {
  ASSERT_EQ(S_OK, load(toneMovie(30)));
  playOnTicks(24);
  Sleep(400);  // what is queued plays out before the movie stops
  ASSERT_EQ(S_OK, flash_->Stop());
  const std::vector<int16_t> samples = stopRecording();
  for (int channel = 0; channel < 2; ++channel) {
    const audiotest::ToneMeasure tone = audiotest::measureTone(samples, channel, 2500);
    EXPECT_NEAR(1000.0, tone.hz, 10.0);
    EXPECT_NEAR(10000 / std::sqrt(2.0), tone.rms, 10000 * 0.05);
    // The movie is read at the first tick: its first frame sounds then, and each
    // of the 24 ticks adds a frame; 25 frames at 12 fps.
    EXPECT_NEAR(25 * 44100 / kFps, double(tone.frames), 44100 * 0.03);
    EXPECT_EQ(0, tone.gaps);
  }
}

enum class Silencer { Stop, Rewind, NewMovie };

class ControlSilencing : public ControlSoundUnderLoopback, public ::testing::WithParamInterface<Silencer> {
 protected:
  HRESULT silence() {
    switch (GetParam()) {
      case Silencer::Stop: return flash_->Stop();
      case Silencer::Rewind: return flash_->Rewind();
      case Silencer::NewMovie:
        return load(mvqtest::SwfBuilder().frameRate(kFps).showFrame().showFrame().finish(), "quiet.swf");
    }
    return E_FAIL;
  }
};

TEST_P(ControlSilencing, StopRewindAndANewMovieEndTheQueuedSoundAtOnce) {
  ASSERT_EQ(S_OK, load(toneMovie(30)));
  for (int tick = 0; tick < 12; ++tick) ASSERT_EQ(S_OK, site_.services.service.timer.tick());  // a second queued
  Sleep(300);
  ASSERT_EQ(S_OK, silence());
  for (int tick = 0; tick < 3; ++tick) ASSERT_EQ(S_OK, site_.services.service.timer.tick());
  Sleep(1200);  // long enough for the whole second to have played, had it stayed queued
  const audiotest::ToneMeasure tone = audiotest::measureTone(stopRecording(), 0, 2500);
  EXPECT_GT(tone.frames, 44100u / 10);
  EXPECT_LT(tone.frames, 44100u * 6 / 10) << "the rest of the second was never played";
}

INSTANTIATE_TEST_SUITE_P(Controls, ControlSilencing,
                         ::testing::Values(Silencer::Stop, Silencer::Rewind, Silencer::NewMovie));

}  // namespace
