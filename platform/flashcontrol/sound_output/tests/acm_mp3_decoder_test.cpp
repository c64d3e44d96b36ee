#include "acm_mp3_decoder.h"

#include <gtest/gtest.h>

#include <cmath>
#include <string>
#include <vector>

#include "byte_writer.h"
#include "host_command.h"
#include "sound_library.h"
#include "test_files.h"
#include "tone.h"

namespace {

// One second of a 1000 Hz stereo tone at 40 % of full scale, encoded by the
// host's ffmpeg as plain MP3 frames (no tags).
class Mp3Tone : public ::testing::Test {
 protected:
  void SetUp() override {
    if (!audiotest::hostToolAvailable("ffmpeg")) GTEST_SKIP() << "the host's ffmpeg is not reachable";
    const std::string path = folder_.file("tone.mp3");
    const auto made = audiotest::runHostCommand(
        "ffmpeg -v error -f lavfi -i 'aevalsrc=0.4*sin(2*PI*1000*t)|0.4*sin(2*PI*1000*t):s=44100:d=1' "
        "-c:a libmp3lame -b:a 128k -id3v2_version 0 -write_xing 0 -f mp3 '" +
        audiotest::hostPath(path) + "'");
    mp3_ = mvqtest::readFile(path);
    if (!made || mp3_.empty()) GTEST_SKIP() << "ffmpeg made no MP3";
  }
  mvqtest::TempDir folder_;
  mvqtest::Bytes mp3_;
};

TEST_F(Mp3Tone, BlocksFedOneAfterAnotherDecodeToTheTone) {
  std::unique_ptr<AcmMp3Decoder> decoder = AcmMp3Decoder::open(44100, 2);
  ASSERT_NE(nullptr, decoder) << "Wine ships an MPEG Layer-3 codec";
  std::vector<int16_t> samples;
  for (size_t at = 0; at < mp3_.size(); at += 417) {
    decoder->decode(mp3_.data() + at, std::min<size_t>(417, mp3_.size() - at), samples);
  }
  const size_t frames = samples.size() / 2;
  EXPECT_GE(frames, 44100u - 1152);
  EXPECT_LE(frames, 44100u + 3 * 1152);
  for (int channel = 0; channel < 2; ++channel) {
    const audiotest::ToneMeasure tone = audiotest::measureTone(samples, channel, 4000);
    EXPECT_NEAR(1000.0, tone.hz, 5.0);
    EXPECT_NEAR(0.4 * 32767 / std::sqrt(2.0), tone.rms, 0.4 * 32767 * 0.05);
  }
}

TEST_F(Mp3Tone, AnMp3DefineSoundIsDecodedThroughTheFactory) {
  mvqtest::Bytes body;
  mvqtest::putU16(body, 5);
  mvqtest::putU8(body, 2 << 4 | 3 << 2 | 2 | 1);  // MP3, 44100 Hz, 16-bit, stereo
  mvqtest::putU32(body, 30000);                   // samples to keep
  mvqtest::putU16(body, 0);                       // seek samples
  mvqtest::append(body, mp3_);
  AcmMp3DecoderFactory factory;
  swf::SoundLibrary library(&factory);
  ASSERT_TRUE(library.define(body.data(), body.size()));
  const auto sound = library.find(5);
  ASSERT_NE(nullptr, sound);
  EXPECT_EQ(30000u, sound->frames());
  EXPECT_NEAR(1000.0, audiotest::measureTone(sound->samples, 0, 4000).hz, 5.0);

  swf::SoundLibrary silent;
  ASSERT_TRUE(silent.define(body.data(), body.size()));
  EXPECT_EQ(0u, silent.find(5)->frames()) << "without a decoder MP3 is silence";
}

TEST(AcmMp3Decoder, FormatsNoCodecTakesMakeNoDecoder) {
  EXPECT_EQ(nullptr, AcmMp3Decoder::open(0, 2));
  EXPECT_EQ(nullptr, AcmMp3Decoder::open(44100, 3));
  AcmMp3DecoderFactory factory;
  EXPECT_EQ(nullptr, factory.create(-5, 1));
}

TEST(AcmMp3Decoder, GarbageDecodesToNothingAndNeverBreaks) {
  std::unique_ptr<AcmMp3Decoder> decoder = AcmMp3Decoder::open(22050, 1);
  if (!decoder) GTEST_SKIP() << "no MP3 codec";
  std::vector<uint8_t> garbage(5000);
  for (size_t i = 0; i < garbage.size(); ++i) garbage[i] = static_cast<uint8_t>(i * 37 + 11);
  std::vector<int16_t> samples;
  decoder->decode(garbage.data(), garbage.size(), samples);
  decoder->decode(nullptr, 10, samples);
  EXPECT_LT(samples.size(), 5000u * 20);
}

}  // namespace
