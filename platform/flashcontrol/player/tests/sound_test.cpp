// The player feeds its mixer as frames are entered: stream blocks frame by
// frame, event sounds of the main timeline and of clips, jumps that skip
// frames, removed clips, silence from outside, silenced copies and real
// movies of the swfdec suite.
#include <gtest/gtest.h>

#include <cstdlib>
#include <string>
#include <vector>

#include "movie_player.h"
#include "player_fixture.h"
#include "silent_copy.h"
#include "swf_builder.h"
#include "test_files.h"
#include "tick_frames.h"

namespace {

constexpr int kTick = 3675;  // 44100 Hz frames of one tick at 12 fps

const mvqtest::PcmFormat kMono;  // 44100 Hz 16-bit mono

std::vector<int16_t> level(int value, int samples = kTick) {
  return std::vector<int16_t>(size_t(samples), int16_t(value));
}

std::vector<int16_t> renderFrames(swf::MoviePlayer& player, size_t frames = kTick) {
  std::vector<int16_t> out(2 * frames, -1);
  player.mixer().render(out.data(), frames);
  return out;
}

// The value every sample of the block holds, or -1 when they differ.
int steadyLevel(const std::vector<int16_t>& block) {
  for (int16_t sample : block) {
    if (sample != block.front()) return -1;
  }
  return block.empty() ? -1 : block.front();
}

// A main timeline of `frames` frames whose stream block in frame f holds 1000 * (f + 1).
mvqtest::SwfBuilder steppedStream(int frames) {
  mvqtest::SwfBuilder movie;
  movie.frameRate(12).soundStreamHead(kMono, kTick);
  for (int f = 0; f < frames; ++f) movie.soundStreamBlock(kMono, level(1000 * (f + 1))).showFrame();
  return movie;
}

TEST(PlayerSound, StreamBlocksPlayFrameByFrameFromTheLoadAndAcrossTheLoop) {
  swf::MoviePlayer player;
  playertest::loadInto(player, steppedStream(3).finish());
  EXPECT_EQ(1000, steadyLevel(renderFrames(player))) << "frame 0 is fed when the movie loads";
  for (int expected : {2000, 3000, 1000, 2000}) {
    player.tick();
    EXPECT_EQ(expected, steadyLevel(renderFrames(player)));
  }
  EXPECT_TRUE(player.mixer().silent()) << "nothing fed twice";
}

TEST(PlayerSound, AClipsEventSoundStartsWhenTheClipIsPlacedAndItsOneFrameIsNotEnteredAgain) {
  mvqtest::TagStream clip;
  clip.startSound(1).showFrame();
  mvqtest::SwfBuilder movie;
  movie.frameRate(12).defineSound(1, kMono, level(500, 1000)).defineSprite(2, clip).showFrame();
  movie.placeObject2(2, 1).showFrame().showFrame();
  swf::MoviePlayer player;
  playertest::loadInto(player, movie.finish());
  player.setLoop(false);
  EXPECT_EQ(0, steadyLevel(renderFrames(player)));

  player.tick();
  EXPECT_EQ(1u, player.mixer().eventSoundsPlaying());
  const std::vector<int16_t> placed = renderFrames(player);
  EXPECT_EQ(500, steadyLevel(std::vector<int16_t>(placed.begin(), placed.begin() + 2 * 1000)));
  EXPECT_EQ(0, steadyLevel(std::vector<int16_t>(placed.begin() + 2 * 1000, placed.end())));
  for (int tick = 0; tick < 3; ++tick) {
    player.tick();
    EXPECT_EQ(0u, player.mixer().eventSoundsPlaying()) << "tick " << tick;
  }
}

TEST(PlayerSound, AJumpSkipsTheEventSoundsOfSkippedFramesAndBeginsTheStreamAgain) {
  const int levels[] = {100, 200, 400, 800};
  mvqtest::SwfBuilder movie;
  movie.frameRate(12);
  for (int i = 0; i < 4; ++i) movie.defineSound(uint16_t(i + 1), kMono, level(levels[i], 3 * kTick));
  movie.soundStreamHead(kMono, kTick);
  for (int f = 0; f < 4; ++f) {
    movie.startSound(uint16_t(f + 1)).soundStreamBlock(kMono, level(1000 * (f + 1))).showFrame();
  }
  swf::MoviePlayer player;
  playertest::loadInto(player, movie.finish());
  player.gotoFrame(3);
  // Frame 0's sound plays on; frame 3's starts; its block replaces frame 0's queued one.
  EXPECT_EQ(100 + 800 + 4000, steadyLevel(renderFrames(player)));
  EXPECT_EQ(2u, player.mixer().eventSoundsPlaying());

  player.gotoFrame(1);  // back: frame 1's sound joins, the stream begins at its block
  EXPECT_EQ(100 + 800 + 200 + 2000, steadyLevel(renderFrames(player)));
}

TEST(PlayerSound, ARemovedClipsStreamEndsAtOnceWhileAKeptOnePlaysOn) {
  mvqtest::TagStream clip;  // blocks twice a frame long: half stays queued
  clip.soundStreamHead(kMono, kTick).soundStreamBlock(kMono, level(3000, 2 * kTick)).showFrame();
  clip.soundStreamBlock(kMono, level(3000, 2 * kTick)).showFrame();
  mvqtest::TagStream kept;
  kept.soundStreamHead(kMono, kTick).soundStreamBlock(kMono, level(5, 2 * kTick)).showFrame();
  kept.soundStreamBlock(kMono, level(5, 2 * kTick)).showFrame();
  mvqtest::SwfBuilder movie;
  movie.frameRate(12).defineSprite(2, clip).defineSprite(3, kept);
  movie.placeObject2(2, 1).placeObject2(3, 2).showFrame().removeObject2(1).showFrame().showFrame();
  swf::MoviePlayer player;
  playertest::loadInto(player, movie.finish());
  EXPECT_EQ(3005, steadyLevel(renderFrames(player)));
  player.tick();
  EXPECT_EQ(5, steadyLevel(renderFrames(player)));
}

TEST(PlayerSound, SilenceEndsEverySoundAndTheStreamBeginsAgainWithTheNextFrame) {
  mvqtest::SwfBuilder movie = steppedStream(3);
  swf::MoviePlayer player;
  playertest::loadInto(player, movie.defineSound(9, kMono, level(7, 10 * kTick)).finish());
  player.silence();
  EXPECT_TRUE(player.mixer().silent());
  EXPECT_EQ(0, steadyLevel(renderFrames(player)));
  player.tick();
  EXPECT_EQ(2000, steadyLevel(renderFrames(player)));
}

TEST(PlayerSound, ANewMovieEndsTheOldOnesSoundAndLooksUpOnlyItsOwnSounds) {
  mvqtest::SwfBuilder first;
  first.frameRate(12).defineSound(1, kMono, level(300, 10 * kTick)).startSound(1).showFrame();
  mvqtest::SwfBuilder second;
  second.frameRate(12).showFrame().startSound(1).showFrame();
  swf::MoviePlayer player;
  playertest::loadInto(player, first.finish());
  EXPECT_EQ(1u, player.mixer().eventSoundsPlaying());
  playertest::loadInto(player, second.finish());
  EXPECT_EQ(0u, player.mixer().eventSoundsPlaying());
  player.tick();
  EXPECT_EQ(0u, player.mixer().eventSoundsPlaying()) << "sound 1 was the first movie's";
}

bool soundsWithinTicks(const mvqtest::Bytes& bytes, int ticks) {
  swf::MoviePlayer player;
  if (!player.load(bytes)) return false;
  bool heard = false;
  for (int tick = 0; tick < ticks; ++tick) {
    for (int16_t sample : renderFrames(player)) heard |= sample != 0;
    player.tick();
  }
  return heard;
}

TEST(PlayerSound, TheSilencedCopyOfAMovieWithSoundPlaysNothing) {
  mvqtest::TagStream clip;
  clip.startSound(1).soundStreamHead(kMono, kTick).soundStreamBlock(kMono, level(900)).showFrame();
  mvqtest::SwfBuilder movie;
  movie.frameRate(12).defineSound(1, kMono, level(800)).defineSprite(2, clip).startSound(1);
  movie.soundStreamHead(kMono, kTick, true).soundStreamBlock(kMono, level(700)).placeObject2(2, 1).showFrame();
  movie.soundStreamBlock(kMono, level(700)).showFrame();
  mvqtest::TempDir folder;
  const std::string original = folder.write("sound.swf", movie.finish());
  const std::string silent = folder.file("silent.swf");
  ASSERT_EQ(0, silenceMovieCopy(original.c_str(), silent.c_str()));

  EXPECT_TRUE(soundsWithinTicks(mvqtest::readFile(original), 3));
  EXPECT_FALSE(soundsWithinTicks(mvqtest::readFile(silent), 3));
}

// The swfdec suite's ADPCM movies: each reference frame k is the sound's
// decoded sample 2k + 1 at 11025 Hz, which the mixer's output carries at 8k + 4.
class PlayerSwfdecSound : public ::testing::TestWithParam<const char*> {};

TEST_P(PlayerSwfdecSound, TheMovieSoundsAsItsReferenceOverTenTicks) {
  const char* root = std::getenv("MVQ_SOURCE_DIR");
  const std::string movie = std::string(root ? root : ".") + "/../shared/corpus/swfdec-sound/" + GetParam();
  const mvqtest::Bytes bytes = mvqtest::readFile(movie);
  const mvqtest::Bytes referenceBytes = mvqtest::readFile(movie + ".1.0.raw");
  if (bytes.empty() || referenceBytes.empty()) GTEST_SKIP() << "corpus movie missing: " << movie;
  swf::MoviePlayer player;
  ASSERT_TRUE(player.load(bytes));
  swf::TickFrames share(player.frameRate());
  std::vector<int16_t> out;
  for (int tick = 0; tick < 10; ++tick) {
    player.tick();
    const std::vector<int16_t> block = renderFrames(player, share.next());
    out.insert(out.end(), block.begin(), block.end());
  }
  size_t compared = 0, within = 0;
  for (size_t k = 0; 2 * k + 1 < referenceBytes.size() / 2 && 8 * k + 4 < out.size() / 2; ++k) {
    for (size_t c = 0; c < 2; ++c) {
      const size_t at = 4 * k + 2 * c;
      const int reference = int16_t(referenceBytes[at] | referenceBytes[at + 1] << 8);
      within += std::abs(out[2 * (8 * k + 4) + c] - reference) <= 1 ? 1 : 0;
      ++compared;
    }
  }
  EXPECT_GT(compared, 1000u);
  EXPECT_EQ(compared, within);
  size_t last = out.size() / 2;
  while (last > 0 && out[2 * last - 2] == 0 && out[2 * last - 1] == 0) --last;
  EXPECT_NEAR(13264.0, double(last), 4.0) << "played once: the one-frame movie stays on its frame";
}

INSTANTIATE_TEST_SUITE_P(Corpus, PlayerSwfdecSound,
                         ::testing::Values("adpcm-2.swf", "adpcm-3-2.swf", "adpcm-4.swf", "adpcm-5-2.swf"));

}  // namespace
