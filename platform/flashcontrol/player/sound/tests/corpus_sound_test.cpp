// The sound of real movies (../shared/corpus/swfdec-sound) against the swfdec
// suite's references. Each reference holds the movie's ADPCM event sound as
// stereo frames, one for every second sample of the sound as decoded at its own
// 11025 Hz: reference frame k is decoded sample 2k + 1, which the mixer's
// 44100 Hz output carries at frame 8k + 4.
#include <gtest/gtest.h>

#include <cstdio>
#include <cstdlib>
#include <string>
#include <vector>

#include "movie_sound_driver.h"
#include "test_files.h"

namespace {

std::string corpusFolder() {
  const char* root = std::getenv("MVQ_SOURCE_DIR");
  return std::string(root ? root : ".") + "/../shared/corpus/swfdec-sound/";
}

std::vector<int16_t> samplesOf(const mvqtest::Bytes& bytes) {
  std::vector<int16_t> samples(bytes.size() / 2);
  for (size_t i = 0; i < samples.size(); ++i) samples[i] = static_cast<int16_t>(bytes[2 * i] | bytes[2 * i + 1] << 8);
  return samples;
}

// The mixer's output over the movie's first ten ticks.
std::vector<int16_t> firstTenTicks(const mvqtest::Bytes& movie) {
  soundtest::MovieSoundDriver driver;
  if (!driver.load(movie)) return {};
  std::vector<int16_t> out;
  for (int tick = 0; tick < 10; ++tick) {
    driver.tick();
    std::vector<int16_t> block(2 * driver.framesPerTick());
    driver.mixer().render(block.data(), driver.framesPerTick());
    out.insert(out.end(), block.begin(), block.end());
  }
  return out;
}

size_t lastSoundingFrame(const std::vector<int16_t>& stereo) {
  for (size_t i = stereo.size() / 2; i > 0; --i) {
    if (stereo[2 * i - 2] != 0 || stereo[2 * i - 1] != 0) return i;
  }
  return 0;
}

class SwfdecSound : public ::testing::TestWithParam<const char*> {};

TEST_P(SwfdecSound, TheEventSoundMatchesTheReference) {
  const std::string movie = corpusFolder() + GetParam();
  const mvqtest::Bytes bytes = mvqtest::readFile(movie);
  const mvqtest::Bytes referenceBytes = mvqtest::readFile(movie + ".1.0.raw");
  if (bytes.empty() || referenceBytes.empty()) GTEST_SKIP() << "corpus movie missing: " << movie;
  const std::vector<int16_t> reference = samplesOf(referenceBytes);
  const std::vector<int16_t> out = firstTenTicks(bytes);
  ASSERT_EQ(2u * 44100, out.size());

  const size_t frames = reference.size() / 2;
  size_t within = 0;
  int worst = 0;
  for (size_t k = 0; k < frames && 8 * k + 4 < out.size() / 2; ++k) {
    for (int c = 0; c < 2; ++c) {
      const int difference = std::abs(out[2 * (8 * k + 4) + c] - reference[2 * k + c]);
      worst = std::max(worst, difference);
      within += difference <= 1 ? 1 : 0;
    }
  }
  std::printf("  %s: %zu of %zu reference samples within 1, worst difference %d\n", GetParam(), within, 2 * frames,
              worst);
  EXPECT_EQ(2 * frames, within);
  // 3316 samples at 11025 Hz last 13264 frames at 44100 Hz; then silence.
  EXPECT_NEAR(13264.0, double(lastSoundingFrame(out)), 4.0)
      << "one instance only: a one-frame movie stays on its frame";
}

INSTANTIATE_TEST_SUITE_P(Corpus, SwfdecSound,
                         ::testing::Values("adpcm-2.swf", "adpcm-2-2.swf", "adpcm-3.swf", "adpcm-3-2.swf",
                                           "adpcm-4.swf", "adpcm-4-2.swf", "adpcm-5.swf", "adpcm-5-2.swf"));

TEST(SwfdecSoundEmpty, ASoundWithoutSamplesInAClipPlaysSilence) {
  const std::string movie = corpusFolder() + "crash-0.5.3-no-samples.swf";
  const mvqtest::Bytes bytes = mvqtest::readFile(movie);
  if (bytes.empty()) GTEST_SKIP() << "corpus movie missing: " << movie;
  const std::vector<int16_t> out = firstTenTicks(bytes);
  ASSERT_EQ(2u * 44100, out.size());
  EXPECT_EQ(0u, lastSoundingFrame(out));
}

}  // namespace
