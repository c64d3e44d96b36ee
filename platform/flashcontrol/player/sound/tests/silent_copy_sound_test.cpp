// A movie whose sound tags the silencing copy disabled plays nothing.
#include <gtest/gtest.h>

#include <vector>

#include "movie_sound_driver.h"
#include "silent_copy.h"
#include "swf_builder.h"
#include "test_files.h"

namespace {

bool soundsWithinTicks(const mvqtest::Bytes& movie, int ticks) {
  soundtest::MovieSoundDriver driver;
  if (!driver.load(movie)) return false;
  bool heard = false;
  for (int tick = 0; tick < ticks; ++tick) {
    driver.tick();
    std::vector<int16_t> block(2 * driver.framesPerTick());
    driver.mixer().render(block.data(), driver.framesPerTick());
    for (int16_t sample : block) heard |= sample != 0;
  }
  return heard;
}

TEST(SilentCopySound, TheSilencedCopyOfAMovieWithSoundPlaysNothing) {
  mvqtest::PcmFormat format;
  const std::vector<int16_t> tone(3675, 8000);
  mvqtest::SwfBuilder builder;
  builder.frameRate(12).defineSound(1, format, tone).startSound(1).soundStreamHead(format, 3675);
  builder.soundStreamBlock(format, tone).showFrame().soundStreamBlock(format, tone).showFrame();
  mvqtest::TempDir folder;
  const std::string original = folder.write("sound.swf", builder.finish());
  const std::string silent = folder.file("silent.swf");
  ASSERT_EQ(0, silenceMovieCopy(original.c_str(), silent.c_str()));

  EXPECT_TRUE(soundsWithinTicks(mvqtest::readFile(original), 3));
  EXPECT_FALSE(soundsWithinTicks(mvqtest::readFile(silent), 3));
}

}  // namespace
