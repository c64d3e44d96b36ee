// A recording of the PulseAudio loopback around a test that plays through the
// wave output: the device is open and the recorder running when the test begins.
// Without the loopback the test skips.
#pragma once

#include <gtest/gtest.h>

#include <windows.h>
#include <mmsystem.h>

#include <cstdlib>
#include <string>
#include <vector>

#include "sound_card_recorder.h"
#include "test_files.h"
#include "wave_out_stream.h"
#include "wav_samples.h"

class LoopbackRecording : public ::testing::Test {
 protected:
  void SetUp() override {
    if (std::getenv("MVQ_PULSE_MISSING")) GTEST_SKIP() << "the PulseAudio loopback did not start";
    if (waveInGetNumDevs() == 0 || waveOutGetNumDevs() == 0) GTEST_SKIP() << "no wave devices (no sound loopback)";
    ASSERT_TRUE(output_.open());
    ASSERT_EQ(S_OK, recorder_.open(path_.c_str(), &kCd));
    ASSERT_EQ(S_OK, recorder_.start(0, nullptr));
    Sleep(200);
  }
  // Interleaved stereo samples of the whole recording.
  std::vector<int16_t> stopRecording() {
    Sleep(300);
    EXPECT_EQ(S_OK, recorder_.stop());
    EXPECT_EQ(S_OK, recorder_.close());
    return audiotest::wavSamples(path_);
  }

  static constexpr WAVEFORMATEX kCd = {WAVE_FORMAT_PCM, 2, 44100, 176400, 4, 16, 0};
  mvqtest::TempDir folder_;
  std::string path_ = folder_.file("recording.wav");
  SoundCardRecorder recorder_;
  WaveOutStream output_;
};
