// Damaged and hostile movies load or fail cleanly, and whatever loads plays
// and draws within bounds.
#include <gtest/gtest.h>

#include <memory>

#include "player_fixture.h"
#include "tags/tag_codes.h"
#include "timeline/stage.h"

namespace {

using mvqtest::ActionBuilder;
using mvqtest::Bytes;
using mvqtest::Matrix;
using mvqtest::PlaceObject2;
using mvqtest::Rect;
using mvqtest::Rgba;
using mvqtest::SwfBuilder;
using mvqtest::TagStream;
using playertest::FillDraft;
using playertest::LineDraft;
using playertest::ShapeWriter;

// Loads, plays a few frames and draws a small picture: must not crash or hang.
bool exercise(const Bytes& movie) {
  swf::MoviePlayer p;
  if (!p.load(movie)) return false;
  for (int i = 0; i < 3; ++i) p.tick();
  p.gotoFrame(1);
  p.tick();
  playertest::render(p, 32, 24);
  return true;
}

Bytes richMovie(mvqtest::Compression compression = mvqtest::Compression::None) {
  SwfBuilder b;
  b.version(8).stage(Rect::pixels(64, 48)).background(9, 9, 9);
  ShapeWriter w(4);
  LineDraft l = LineDraft::solid(60, {0, 0, 0});
  l.join = 2;
  w.fill(FillDraft::gradient(0x13, Matrix::scale(0.05, 0.05, 600, 400), {{0, {255, 0, 0}}, {255, {0, 0, 255, 100}}}))
      .line(l)
      .select(0, 1, 1)
      .moveTo(100, 100)
      .curveTo(900, 0, 1200, 800)
      .lineTo(100, 100);
  b.tag(w.tagCode(), w.body(1, Rect::twips(0, 0, 1280, 960)));
  TagStream sprite;
  sprite.placeObject2(1, 1)
      .doAction(ActionBuilder().play())
      .showFrame()
      .moveObject2(1, Matrix::translate(40, 40))
      .showFrame();
  b.defineSprite(2, sprite);
  PlaceObject2 named;
  named.depth = 2, named.character = 2, named.name = "kid";
  b.placeObject2(named).frameLabel("start").showFrame();
  b.doAction(ActionBuilder().push(mvqtest::PushValue::string("start")).action(0x9F, {1})).removeObject2(2).showFrame();
  return b.finish(compression);
}

TEST(Hostile, EveryTruncationLoadsOrFailsCleanly) {
  const Bytes plain = richMovie();
  ASSERT_TRUE(exercise(plain));
  int loaded = 0;
  for (size_t n = 0; n < plain.size(); ++n) loaded += exercise(Bytes(plain.begin(), plain.begin() + long(n)));
  EXPECT_GT(loaded, int(plain.size()) / 2);
}

TEST(Hostile, CompressedTruncationsAndFlippedBytes) {
  Bytes packed = richMovie(mvqtest::Compression::Zlib);
  EXPECT_TRUE(exercise(packed));
  for (size_t n = 8; n < packed.size(); n += 3) exercise(Bytes(packed.begin(), packed.begin() + long(n)));
  Bytes body = richMovie();
  uint32_t state = 12345;
  for (int round = 0; round < 300; ++round) {
    Bytes broken = body;
    for (int k = 0; k < 4; ++k) {
      state = state * 1103515245u + 12345u;
      size_t at = 8 + (state >> 8) % (broken.size() - 8);
      broken[at] = uint8_t(state >> 3);
    }
    exercise(broken);
  }
}

size_t countObjects(const swf::MovieClip& clip, int& deepest, int depth = 1) {
  size_t n = clip.children().size();
  deepest = std::max(deepest, depth);
  for (const auto& e : clip.children())
    if (e.second.clip) n += countObjects(*e.second.clip, deepest, depth + 1);
  return n;
}

TEST(Hostile, SpritesPlacingThemselvesStopAtTheLimits) {
  SwfBuilder b;
  b.defineRectShape(1, Rect::twips(0, 0, 100, 100), Rgba{1, 2, 3});
  TagStream self;
  self.placeObject2(1, 1)
      .placeObject2(5, 2, Matrix::translate(10, 0))
      .placeObject2(5, 3, Matrix::translate(0, 10))
      .showFrame();
  b.defineSprite(5, self);
  b.placeObject2(5, 1).showFrame().showFrame();
  Bytes movie = b.finish();
  swf::Movie m;
  ASSERT_TRUE(m.parse(movie));
  swf::Stage stage(m);
  stage.tick(true);
  int deepest = 0;
  size_t objects = countObjects(stage.root(), deepest);
  EXPECT_LE(objects, swf::kMaxDisplayObjects);
  EXPECT_LE(deepest, swf::kMaxClipNesting + 1);
  EXPECT_TRUE(exercise(movie));
}

TEST(Hostile, HugeDeclaredCountsCostNothing) {
  SwfBuilder b;
  b.frameCount(65535);
  TagStream empty;
  empty.showFrame();
  for (int i = 0; i < 2000; ++i) b.defineSprite(uint16_t(i + 1), empty, uint16_t(65535));
  b.placeObject2(7, 1).showFrame();
  Bytes movie = b.finish();
  swf::MoviePlayer p;
  ASSERT_TRUE(p.load(movie));
  EXPECT_EQ(p.frameCount(), 65535);
  for (int i = 0; i < 50; ++i) p.tick();
  EXPECT_EQ(p.currentFrame(), 50);
  p.gotoFrame(60000);
  EXPECT_EQ(p.currentFrame(), 60000);

  // A shape claiming 65535 fill styles, with the bytes for two.
  Bytes shape = {1, 0, 0x10, 0, 0xFF, 0xFF, 0xFF, 0x00, 255, 0, 0, 0x00, 0, 255, 0};
  SwfBuilder s;
  s.tag(uint16_t(swf::TagCode::DefineShape2), shape).placeObject2(1, 1).showFrame();
  EXPECT_TRUE(exercise(s.finish()));
}

TEST(Hostile, ExtremeTransformsAndMissingCharacters) {
  SwfBuilder b;
  b.version(8).stage(Rect::pixels(64, 48));
  ShapeWriter w(3);
  w.fill(FillDraft::solid({255, 0, 0}))
      .line(LineDraft::solid(65535, {0, 0, 0}))
      .select(0, 1, 1)
      .rect(-30000, -30000, 30000, 30000);
  w.moveTo(0, 0).curveTo(65000, -65000, 0, 65000);
  b.tag(w.tagCode(), w.body(1, Rect::twips(-30000, -30000, 30000, 30000)));
  b.placeObject2(1, 1, Matrix::scale(30000, 30000, -1000000, 1000000));
  b.placeObject2(1, 2, Matrix::scale(0, 0));
  b.placeObject2(1, 3, Matrix::scale(1e-4, 30000));
  b.placeObject2(999, 4);
  b.showFrame();
  EXPECT_TRUE(exercise(b.finish()));
}

TEST(Hostile, EndlessActionsEveryFrameStillLetFramesPass) {
  SwfBuilder b;
  b.version(6);
  TagStream looping;
  looping.doAction(ActionBuilder().jump(-5)).showFrame().showFrame();
  b.defineSprite(2, looping);
  for (int i = 0; i < 20; ++i) b.placeObject2(2, uint16_t(i + 1));
  b.doAction(ActionBuilder().jump(-5)).showFrame().showFrame().showFrame();
  swf::MoviePlayer p;
  ASSERT_TRUE(p.load(b.finish()));
  p.tick();
  p.tick();
  EXPECT_EQ(p.currentFrame(), 2);
}

}  // namespace
