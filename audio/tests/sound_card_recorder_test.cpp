#include "sound_card_recorder.h"

#include <gtest/gtest.h>

#include <cmath>
#include <cstdlib>
#include <string>
#include <vector>

#include "model_recorder_platform.h"
#include "test_files.h"
#include "tone.h"
#include "wav_samples.h"

namespace {

using audiotest::pcmFormat;

using audiotest::ModelRecorderPlatform;
using audiotest::waitUntil;
using mvqtest::TempDir;

const WAVEFORMATEX kCdFormat = pcmFormat(2, 44100, 16);

std::vector<uint8_t> recordedData(const std::string& path) {
  WavFile file;
  std::vector<uint8_t> data;
  if (FAILED(file.open(path.c_str(), WavFile::ReadMode))) return data;
  data.resize(file.dataSize());
  DWORD read = 0;
  if (!data.empty()) file.read(data.data(), file.dataSize(), &read);
  data.resize(read);
  return data;
}

std::vector<int16_t> asSamples(const std::vector<uint8_t>& bytes) {
  std::vector<int16_t> samples(bytes.size() / 2);
  for (size_t i = 0; i < samples.size(); ++i) samples[i] = static_cast<int16_t>(bytes[2 * i] | bytes[2 * i + 1] << 8);
  return samples;
}

// ---- against a modelled device: what the recorder asks of the system ----

class RecorderWithModelDevice : public ::testing::Test {
 protected:
  std::string path(const char* name = "rec.wav") const { return folder_.file(name); }
  TempDir folder_;
  ModelRecorderPlatform device_;
};

TEST_F(RecorderWithModelDevice, OpenAsksTheMapperToPostToItsOwnThreadWithTheRecomputedFormat) {
  WAVEFORMATEX format = kCdFormat;
  format.nBlockAlign = 9;
  format.nAvgBytesPerSec = 1;
  format.cbSize = 22;
  SoundCardRecorder recorder(device_);
  ASSERT_EQ(S_OK, recorder.open(path().c_str(), &format));
  const WAVEFORMATEX opened = device_.openedFormat();
  EXPECT_EQ(4, opened.nBlockAlign);
  EXPECT_EQ(176400u, opened.nAvgBytesPerSec);
  EXPECT_EQ(0, opened.cbSize);
  EXPECT_EQ(DWORD(CALLBACK_THREAD), device_.openFlags());
  EXPECT_TRUE(mvqtest::fileExists(path()));
  EXPECT_EQ(S_OK, recorder.close());
  EXPECT_EQ(1, device_.closeCalls());
}

TEST_F(RecorderWithModelDevice, ABlockAlignOf6GivesBuffersOf63996Bytes) {
  SoundCardRecorder recorder(device_);
  const WAVEFORMATEX format = pcmFormat(2, 44100, 24);
  ASSERT_EQ(S_OK, recorder.open(path().c_str(), &format));
  const std::vector<WAVEHDR> headers = device_.preparedHeaders();
  ASSERT_EQ(4u, headers.size());
  for (size_t i = 0; i < headers.size(); ++i) {
    EXPECT_EQ(63996u, headers[i].dwBufferLength);
    EXPECT_EQ(i, headers[i].dwUser);
  }
  EXPECT_EQ(S_OK, recorder.close());
}

TEST_F(RecorderWithModelDevice, AMissingDeviceFailsWithEFailAndLeavesNoFile) {
  device_.openResult = MMSYSERR_BADDEVICEID;
  SoundCardRecorder recorder(device_);
  EXPECT_EQ(E_FAIL, recorder.open(path().c_str(), &kCdFormat));
  EXPECT_FALSE(mvqtest::fileExists(path()));
  EXPECT_EQ(E_FAIL, recorder.start(0, nullptr));
  EXPECT_EQ(S_OK, recorder.close());
  device_.openResult = MMSYSERR_NOERROR;
  EXPECT_EQ(S_OK, recorder.open(path().c_str(), &kCdFormat)) << "the recorder is usable afterwards";
}

TEST_F(RecorderWithModelDevice, FailuresAfterTheDeviceOpenedCloseIt) {
  {
    device_.prepareResult = MMSYSERR_NOMEM;
    SoundCardRecorder recorder(device_);
    EXPECT_EQ(E_FAIL, recorder.open(path().c_str(), &kCdFormat));
    EXPECT_EQ(1, device_.closeCalls());
  }
  device_.prepareResult = MMSYSERR_NOERROR;
  SoundCardRecorder recorder(device_);
  EXPECT_EQ(E_FAIL, recorder.open(folder_.file("no\\such\\folder\\rec.wav").c_str(), &kCdFormat));
  EXPECT_EQ(2, device_.closeCalls());
}

TEST_F(RecorderWithModelDevice, BadArgumentsAndASecondOpenAreRefused) {
  SoundCardRecorder recorder(device_);
  EXPECT_EQ(E_INVALIDARG, recorder.open(nullptr, &kCdFormat));
  EXPECT_EQ(E_INVALIDARG, recorder.open(path().c_str(), nullptr));
  const WAVEFORMATEX silent = pcmFormat(0, 44100, 16);
  EXPECT_EQ(E_INVALIDARG, recorder.open(path().c_str(), &silent));
  WAVEFORMATEX adpcm = kCdFormat;
  adpcm.wFormatTag = 0x11;
  adpcm.cbSize = 2;
  EXPECT_EQ(E_INVALIDARG, recorder.open(path().c_str(), &adpcm)) << "its extra bytes are not there";
  EXPECT_EQ(0, device_.openCalls());
  ASSERT_EQ(S_OK, recorder.open(path().c_str(), &kCdFormat));
  EXPECT_EQ(E_FAIL, recorder.open(path("other.wav").c_str(), &kCdFormat));
  EXPECT_EQ(1, device_.openCalls());
}

TEST_F(RecorderWithModelDevice, TooLittleFreeSpaceMakesStartFail) {
  SoundCardRecorder recorder(device_);
  ASSERT_EQ(S_OK, recorder.open(path().c_str(), &kCdFormat));
  device_.volumeFreeBytes = 102399;
  EXPECT_EQ(E_FAIL, recorder.start(0, nullptr));
  EXPECT_EQ(E_FAIL, recorder.start(100, nullptr));
  EXPECT_EQ(0, device_.addCalls());
  EXPECT_FALSE(recorder.running());
  EXPECT_EQ(folder_.path() + "\\", device_.freeSpaceDirectory());

  device_.volumeFreeBytes = 200000;
  EXPECT_EQ(E_FAIL, recorder.start(200000, nullptr)) << "the limit must stay below the free space";
  EXPECT_EQ(S_OK, recorder.start(199999, nullptr));
  EXPECT_TRUE(recorder.running());
  EXPECT_EQ(S_OK, recorder.close());
}

TEST_F(RecorderWithModelDevice, WithoutALimitRecordingStopsGrowingAtTheFreeSpace) {
  device_.volumeFreeBytes = 102400;
  SoundCardRecorder recorder(device_);
  ASSERT_EQ(S_OK, recorder.open(path().c_str(), &kCdFormat));
  ASSERT_EQ(S_OK, recorder.start(0, nullptr));
  ASSERT_TRUE(device_.giveBack(64000));
  ASSERT_TRUE(device_.giveBack(64000));
  ASSERT_TRUE(waitUntil([&] { return recorder.recordedBytes() == 102400; }));
  EXPECT_EQ(S_OK, recorder.close());
  EXPECT_EQ(102400u, recordedData(path()).size());
}

TEST_F(RecorderWithModelDevice, StartWhileRunningNeitherResetsTheCountNorQueuesTwice) {
  SoundCardRecorder recorder(device_);
  ASSERT_EQ(S_OK, recorder.open(path().c_str(), &kCdFormat));
  ASSERT_EQ(S_OK, recorder.start(0, nullptr));
  EXPECT_EQ(4, device_.addCalls());
  ASSERT_TRUE(device_.giveBack(1000));
  ASSERT_TRUE(waitUntil([&] { return device_.addCalls() == 5; }));
  EXPECT_EQ(S_OK, recorder.start(0, nullptr));
  EXPECT_EQ(5, device_.addCalls());
  EXPECT_EQ(1, device_.startCalls());
  EXPECT_EQ(1000u, recorder.recordedBytes());
  EXPECT_EQ(S_OK, recorder.close());
}

TEST_F(RecorderWithModelDevice, TheLimitCutsTheBufferThatReachesItAndStopsQueueing) {
  HANDLE limitReached = CreateEventA(nullptr, TRUE, FALSE, nullptr);
  SoundCardRecorder recorder(device_);
  ASSERT_EQ(S_OK, recorder.open(path().c_str(), &kCdFormat));
  ASSERT_EQ(S_OK, recorder.start(100000, limitReached));
  ASSERT_TRUE(device_.giveBack(64000));
  ASSERT_TRUE(waitUntil([&] { return device_.addCalls() == 5; })) << "a buffer below the limit is queued again";
  EXPECT_NE(WAIT_OBJECT_0, WaitForSingleObject(limitReached, 0));
  ASSERT_TRUE(device_.giveBack(64000));
  ASSERT_EQ(WAIT_OBJECT_0, WaitForSingleObject(limitReached, 5000));
  EXPECT_EQ(100000u, recorder.recordedBytes());
  ASSERT_TRUE(device_.giveBack(64000));
  EXPECT_EQ(S_OK, recorder.stop());
  EXPECT_EQ(5, device_.addCalls()) << "buffers at and past the limit are not queued again";
  EXPECT_EQ(100000u, recorder.recordedBytes());
  EXPECT_EQ(S_OK, recorder.close());

  const std::vector<uint8_t> data = recordedData(path());
  ASSERT_EQ(100000u, data.size());
  for (size_t i = 0; i < data.size(); ++i) {
    if (data[i] != i % 251) {
      ADD_FAILURE() << "byte " << i << " is not the device's";
      break;
    }
  }
  CloseHandle(limitReached);
}

TEST_F(RecorderWithModelDevice, StopWritesTheBuffersTheResetReturnsWithoutQueueingThem) {
  SoundCardRecorder recorder(device_);
  ASSERT_EQ(S_OK, recorder.open(path().c_str(), &kCdFormat));
  ASSERT_EQ(S_OK, recorder.start(0, nullptr));
  EXPECT_EQ(S_OK, recorder.stop());
  EXPECT_FALSE(recorder.running());
  EXPECT_EQ(0, device_.queued());
  EXPECT_EQ(4, device_.addCalls());
  EXPECT_EQ(S_OK, recorder.stop()) << "stopping a stopped recorder succeeds";
  EXPECT_EQ(S_OK, recorder.close());
  EXPECT_EQ(S_OK, recorder.close()) << "closing a closed recorder succeeds";
  EXPECT_EQ(1, device_.closeCalls());
}

TEST_F(RecorderWithModelDevice, ADeviceThatDoesNotStartIsClosed) {
  device_.startResult = MMSYSERR_ERROR;
  SoundCardRecorder recorder(device_);
  ASSERT_EQ(S_OK, recorder.open(path().c_str(), &kCdFormat));
  EXPECT_EQ(E_FAIL, recorder.start(0, nullptr));
  EXPECT_FALSE(recorder.running());
  EXPECT_EQ(1, device_.closeCalls());
  EXPECT_EQ(0, device_.queued());
}

// ---- against the sound card: the PulseAudio loopback of ./moviquill test ----

class RecorderUnderLoopback : public ::testing::Test {
 protected:
  void SetUp() override {
    if (std::getenv("MVQ_PULSE_MISSING")) GTEST_SKIP() << "the PulseAudio loopback did not start";
    if (waveInGetNumDevs() == 0 || waveOutGetNumDevs() == 0) GTEST_SKIP() << "no wave devices (no sound loopback)";
  }
  TempDir folder_;
};

TEST_F(RecorderUnderLoopback, AToneKeepsItsFrequencyAndLevelInTheRecording) {
  const std::string path = folder_.file("tone.wav");
  SoundCardRecorder recorder;
  ASSERT_EQ(S_OK, recorder.open(path.c_str(), &kCdFormat));
  ASSERT_EQ(S_OK, recorder.start(0, nullptr));
  Sleep(200);
  ASSERT_TRUE(audiotest::playThroughWaveOut(audiotest::stereoTone(1000, 12000, 44100)));
  Sleep(300);
  ASSERT_EQ(S_OK, recorder.stop());
  const uint64_t recorded = recorder.recordedBytes();
  ASSERT_EQ(S_OK, recorder.close());

  const std::vector<int16_t> samples = asSamples(recordedData(path));
  EXPECT_EQ(recorded, samples.size() * 2);
  for (int channel = 0; channel < 2; ++channel) {
    const audiotest::ToneMeasure tone = audiotest::measureTone(samples, channel, 3000);
    EXPECT_NEAR(1000.0, tone.hz, 10.0) << "channel " << channel;
    EXPECT_NEAR(12000 / std::sqrt(2.0), tone.rms, 12000 * 0.05) << "channel " << channel;
    EXPECT_NEAR(44100.0, double(tone.frames), 44100 * 0.03) << "channel " << channel;
    EXPECT_GT(tone.firstFrame, 0u) << "the recording began before the tone";
  }
}

TEST_F(RecorderUnderLoopback, ALimitOf100BytesLeavesExactly100Bytes) {
  const std::string path = folder_.file("limit.wav");
  HANDLE limitReached = CreateEventA(nullptr, TRUE, FALSE, nullptr);
  SoundCardRecorder recorder;
  ASSERT_EQ(S_OK, recorder.open(path.c_str(), &kCdFormat));
  ASSERT_EQ(S_OK, recorder.start(100, limitReached));
  EXPECT_EQ(WAIT_OBJECT_0, WaitForSingleObject(limitReached, 10000));
  EXPECT_EQ(S_OK, recorder.stop());
  EXPECT_EQ(100u, recorder.recordedBytes());
  EXPECT_EQ(S_OK, recorder.close());
  EXPECT_EQ(100u, recordedData(path).size());
  CloseHandle(limitReached);
}

TEST_F(RecorderUnderLoopback, StopCountsWhatTheResetGaveBack) {
  const std::string path = folder_.file("stop.wav");
  SoundCardRecorder recorder;
  ASSERT_EQ(S_OK, recorder.open(path.c_str(), &kCdFormat));
  ASSERT_EQ(S_OK, recorder.start(0, nullptr));
  Sleep(150);  // less than one buffer: only the reset hands sound back
  ASSERT_EQ(S_OK, recorder.stop());
  const uint64_t recorded = recorder.recordedBytes();
  EXPECT_GT(recorded, 0u);
  EXPECT_EQ(0u, recorded % 4);
  ASSERT_EQ(S_OK, recorder.close());
  EXPECT_EQ(recorded, recordedData(path).size());
}

TEST_F(RecorderUnderLoopback, StartWhileRunningKeepsTheRecordingGoing) {
  const std::string path = folder_.file("twice.wav");
  SoundCardRecorder recorder;
  ASSERT_EQ(S_OK, recorder.open(path.c_str(), &kCdFormat));
  ASSERT_EQ(S_OK, recorder.start(0, nullptr));
  ASSERT_TRUE(waitUntil([&] { return recorder.recordedBytes() >= 64000; }));
  const uint64_t before = recorder.recordedBytes();
  EXPECT_EQ(S_OK, recorder.start(0, nullptr));
  EXPECT_GE(recorder.recordedBytes(), before);
  ASSERT_EQ(S_OK, recorder.stop());
  const uint64_t recorded = recorder.recordedBytes();
  ASSERT_EQ(S_OK, recorder.close());
  EXPECT_EQ(recorded, recordedData(path).size());
}

}  // namespace
