// The player as the control drives it: loading, one frame per tick, play,
// stop, rewind, loop and the goto that holds its frame.
#include <gtest/gtest.h>

#include "player_fixture.h"

namespace {

using mvqtest::ActionBuilder;
using mvqtest::PlaceObject2;
using mvqtest::Rect;
using mvqtest::Rgba;
using mvqtest::SwfBuilder;
using playertest::Picture;

mvqtest::Bytes framesMovie(int frames, double rate = 12) {
  SwfBuilder b;
  b.stage(Rect::pixels(30, 20)).frameRate(rate);
  for (int i = 0; i < frames; ++i) b.showFrame();
  return b.finish();
}

// A clip at depth 1 showing red, green, blue in turn over the whole stage,
// on a root of `frames` frames.
mvqtest::Bytes cyclingClipMovie(int frames) {
  SwfBuilder b;
  b.version(6).stage(Rect::pixels(10, 10));
  const Rgba colours[3] = {{255, 0, 0}, {0, 255, 0}, {0, 0, 255}};
  for (int i = 0; i < 3; ++i) b.defineRectShape(uint16_t(i + 1), Rect::twips(0, 0, 200, 200), colours[i]);
  mvqtest::TagStream clip;
  clip.placeObject2(1, 1).showFrame();
  for (int i = 1; i < 3; ++i) {
    PlaceObject2 swap;
    swap.depth = 1, swap.move = true, swap.character = uint16_t(i + 1);
    clip.placeObject2(swap).showFrame();
  }
  b.defineSprite(10, clip);
  b.placeObject2(10, 1).showFrame();
  for (int i = 1; i < frames; ++i) b.showFrame();
  return b.finish();
}

char colourOf(const swf::MoviePlayer& p) {
  Picture pic = playertest::render(p, 10, 10);
  if (pic.r(5, 5) == 255) return 'r';
  if (pic.g(5, 5) == 255) return 'g';
  if (pic.b(5, 5) == 255) return 'b';
  return '?';
}

TEST(MoviePlayer, LoadsStandingAtTheFirstFramePlaying) {
  swf::MoviePlayer p;
  EXPECT_FALSE(p.loaded());
  ASSERT_TRUE(p.load(framesMovie(4, 25)));
  EXPECT_TRUE(p.loaded());
  EXPECT_EQ(p.currentFrame(), 0);
  EXPECT_TRUE(p.playing());
  EXPECT_EQ(p.frameCount(), 4);
  EXPECT_EQ(p.stageWidthPixels(), 30);
  EXPECT_EQ(p.stageHeightTwips(), 400);
  EXPECT_DOUBLE_EQ(p.frameRate(), 25);
  EXPECT_EQ(p.frameIntervalMs(), 40);
  EXPECT_EQ(p.backgroundRgb(), 0xFFFFFFu);
}

TEST(MoviePlayer, FrameIntervalsFollowTheRate) {
  swf::MoviePlayer p;
  ASSERT_TRUE(p.load(framesMovie(1, 12)));
  EXPECT_EQ(p.frameIntervalMs(), 83);
  ASSERT_TRUE(p.load(framesMovie(1, 0.5)));
  EXPECT_EQ(p.frameIntervalMs(), 2000);
  ASSERT_TRUE(p.load(framesMovie(1, 0)));
  EXPECT_EQ(p.frameIntervalMs(), 83);
  ASSERT_TRUE(p.load(framesMovie(1, 250)));
  EXPECT_EQ(p.frameIntervalMs(), 4);
}

TEST(MoviePlayer, AFailedLoadKeepsThePreviousMovie) {
  swf::MoviePlayer p;
  ASSERT_TRUE(p.load(framesMovie(5)));
  p.tick();
  p.tick();
  EXPECT_FALSE(p.load(mvqtest::Bytes{'F', 'W', 'S', 6, 0, 0}));
  EXPECT_FALSE(p.load(mvqtest::Bytes{}));
  EXPECT_EQ(p.frameCount(), 5);
  EXPECT_EQ(p.currentFrame(), 2);
}

TEST(MoviePlayer, EachTickIsOneFrameAndNothingMovesWithoutOne) {
  swf::MoviePlayer p;
  ASSERT_TRUE(p.load(framesMovie(3)));
  playertest::render(p, 30, 20);
  EXPECT_EQ(p.currentFrame(), 0);
  p.tick();
  EXPECT_EQ(p.currentFrame(), 1);
  p.tick();
  p.tick();
  EXPECT_EQ(p.currentFrame(), 0);  // looped
  p.setLoop(false);
  p.tick();
  p.tick();
  p.tick();
  EXPECT_EQ(p.currentFrame(), 2);
  EXPECT_FALSE(p.playing());
}

TEST(MoviePlayer, StopPlayAndRewind) {
  swf::MoviePlayer p;
  ASSERT_TRUE(p.load(framesMovie(5)));
  p.tick();
  p.stop();
  p.tick();
  EXPECT_EQ(p.currentFrame(), 1);
  EXPECT_FALSE(p.playing());
  p.play();
  p.tick();
  EXPECT_EQ(p.currentFrame(), 2);
  p.rewind();
  EXPECT_EQ(p.currentFrame(), 0);
  EXPECT_FALSE(p.playing());
}

TEST(MoviePlayer, GotoFrameHoldsTheMainTimelineWhileClipsPlayOn) {
  swf::MoviePlayer p;
  ASSERT_TRUE(p.load(cyclingClipMovie(6)));
  EXPECT_EQ(colourOf(p), 'r');
  p.gotoFrame(4);
  EXPECT_EQ(p.currentFrame(), 4);
  EXPECT_FALSE(p.playing());
  std::string seen;
  for (int i = 0; i < 4; ++i) {
    p.tick();
    EXPECT_EQ(p.currentFrame(), 4);
    seen.push_back(colourOf(p));
  }
  EXPECT_EQ(seen, "gbrg");  // the clip placed at frame 0 kept its own playhead
  p.gotoFrame(100);
  EXPECT_EQ(p.currentFrame(), 5);
  p.play();
  p.tick();
  EXPECT_EQ(p.currentFrame(), 0);
}

TEST(MoviePlayer, GotoFrameRunsTheFrameItLandsOn) {
  SwfBuilder b;
  b.version(6);
  b.showFrame().showFrame();
  b.doAction(ActionBuilder().gotoFrame(0).play()).showFrame();
  swf::MoviePlayer p;
  ASSERT_TRUE(p.load(b.finish()));
  p.gotoFrame(2);
  EXPECT_EQ(p.currentFrame(), 0);
  EXPECT_TRUE(p.playing());
}

TEST(MoviePlayer, NothingLoadedDrawsOnlyABackgroundWhenAsked) {
  swf::MoviePlayer p;
  p.tick();
  p.gotoFrame(3);
  Picture opaque = playertest::render(p, 8, 8, swf::ScaleMode::ShowAll, true);
  EXPECT_EQ(opaque.r(3, 3), 255);
  EXPECT_EQ(opaque.a(3, 3), 255);
  Picture clear = playertest::render(p, 8, 8, swf::ScaleMode::ShowAll, false);
  EXPECT_EQ(clear.a(3, 3), 0);
  swf::Canvas none{};
  p.render(none, 0, 0, 10, 10, swf::ScaleMode::ShowAll, true);
}

}  // namespace
