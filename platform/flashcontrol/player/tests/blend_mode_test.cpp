// Blend modes of PlaceObject3: each mode's formula on two known colours, and
// the isolation a layer gives the alpha and erase modes inside it.
#include <gtest/gtest.h>

#include "place3_writer.h"
#include "player_fixture.h"

namespace {

using mvqtest::Rect;
using mvqtest::Rgba;
using mvqtest::SwfBuilder;
using mvqtest::TagStream;
using playertest::FillDraft;
using playertest::Picture;
using playertest::Place3;
using playertest::ShapeWriter;

constexpr int kT = 20;
constexpr uint16_t kBelow = 1, kAbove = 2, kSprite = 3, kHole = 4;

template <class Tags>
void defineRect(Tags& tags, uint16_t id, Rgba c, int x0, int y0, int x1, int y1) {
  ShapeWriter w(3);
  w.fill(FillDraft::solid(c)).select(0, 1, 0).rect(x0 * kT, y0 * kT, x1 * kT, y1 * kT);
  tags.tag(w.tagCode(), w.body(id, Rect::twips(x0 * kT, y0 * kT, x1 * kT, y1 * kT)));
}

template <class Tags>
void place(Tags& tags, uint16_t character, uint16_t depth, std::optional<uint8_t> mode = std::nullopt) {
  Place3 p;
  p.depth = depth, p.character = character, p.blendMode = mode;
  tags.tag(playertest::kPlaceObject3, p.body());
}

// (200, 100, 50) below, (100, 150, 250) above with the mode, over 20 x 20.
Picture blendTwoColours(uint8_t mode) {
  SwfBuilder b;
  b.version(8).stage(Rect::pixels(20, 20)).background(255, 255, 255);
  defineRect(b, kBelow, {200, 100, 50}, 0, 0, 20, 20);
  defineRect(b, kAbove, {100, 150, 250}, 5, 5, 15, 15);
  place(b, kBelow, 1);
  place(b, kAbove, 2, mode);
  b.showFrame();
  swf::MoviePlayer player;
  playertest::loadInto(player, b.finish());
  return playertest::render(player, 20, 20);
}

struct ModeCase {
  uint8_t mode;
  const char* name;
  int r, g, b;  // from the mode's formula on straight colours
};

class BlendModes : public ::testing::TestWithParam<ModeCase> {};

TEST_P(BlendModes, GiveTheirFormulaOnOpaqueColours) {
  const ModeCase& c = GetParam();
  Picture pic = blendTwoColours(c.mode);
  EXPECT_NEAR(pic.r(10, 10), c.r, 1) << c.name;
  EXPECT_NEAR(pic.g(10, 10), c.g, 1) << c.name;
  EXPECT_NEAR(pic.b(10, 10), c.b, 1) << c.name;
  EXPECT_EQ(pic.a(10, 10), 255) << c.name;
  // Outside the object what is below is untouched.
  EXPECT_EQ(pic.r(2, 2), 200) << c.name;
  EXPECT_EQ(pic.b(2, 2), 50) << c.name;
}

INSTANTIATE_TEST_SUITE_P(AllSeparable, BlendModes,
                         ::testing::Values(ModeCase{0, "normal", 100, 150, 250}, ModeCase{1, "normal", 100, 150, 250},
                                           ModeCase{2, "layer", 100, 150, 250}, ModeCase{3, "multiply", 78, 59, 49},
                                           ModeCase{4, "screen", 222, 191, 251}, ModeCase{5, "lighten", 200, 150, 250},
                                           ModeCase{6, "darken", 100, 100, 50}, ModeCase{7, "difference", 100, 50, 200},
                                           ModeCase{8, "add", 255, 250, 255}, ModeCase{9, "subtract", 100, 0, 0},
                                           ModeCase{10, "invert", 55, 155, 205}, ModeCase{13, "overlay", 188, 118, 98},
                                           ModeCase{14, "hardlight", 157, 127, 247},
                                           ModeCase{200, "unknown", 100, 150, 250}));

TEST(BlendModes, SeparableModesFadeToOverWhereTheSourceIsTranslucent) {
  SwfBuilder b;
  b.version(8).stage(Rect::pixels(20, 20)).background(255, 255, 255);
  defineRect(b, kBelow, {200, 100, 50}, 0, 0, 20, 20);
  defineRect(b, kAbove, {0, 0, 0, 0}, 5, 5, 15, 15);
  place(b, kBelow, 1);
  place(b, kAbove, 2, 3);  // multiply by black at no alpha changes nothing
  b.showFrame();
  swf::MoviePlayer player;
  playertest::loadInto(player, b.finish());
  Picture pic = playertest::render(player, 20, 20);
  EXPECT_EQ(pic.r(10, 10), 200);
  EXPECT_EQ(pic.g(10, 10), 100);
}

// A sprite on a white stage holding a full red rect and, above it, a
// smaller one drawn with mode; the sprite itself drawn with spriteMode.
Picture inSprite(uint8_t mode, Rgba top, std::optional<uint8_t> spriteMode) {
  SwfBuilder b;
  b.version(8).stage(Rect::pixels(20, 20)).background(255, 255, 255);
  defineRect(b, kBelow, {255, 0, 0}, 0, 0, 20, 20);
  defineRect(b, kHole, top, 5, 5, 15, 15);
  TagStream inner;
  place(inner, kBelow, 1);
  place(inner, kHole, 2, mode);
  inner.showFrame();
  b.defineSprite(kSprite, inner);
  place(b, kSprite, 1, spriteMode);
  b.showFrame();
  swf::MoviePlayer player;
  playertest::loadInto(player, b.finish());
  return playertest::render(player, 20, 20);
}

TEST(BlendModes, EraseCutsThroughItsLayerOnly) {
  Picture layered = inSprite(12, {0, 0, 255}, 2);
  EXPECT_EQ(layered.r(10, 10), 255);  // the white stage shows through the hole
  EXPECT_EQ(layered.g(10, 10), 255);
  EXPECT_EQ(layered.g(2, 2), 0);  // red around it
  // Half an erase leaves the red at half alpha over white.
  Picture half = inSprite(12, {0, 0, 255, 128}, 2);
  EXPECT_NEAR(half.g(10, 10), 128, 1);
  EXPECT_EQ(half.r(10, 10), 255);
  // Without a layer to erase from, the object leaves what is below alone.
  Picture plain = inSprite(12, {0, 0, 255}, std::nullopt);
  EXPECT_EQ(plain.b(10, 10), 0);
  EXPECT_EQ(plain.r(10, 10), 255);
}

TEST(BlendModes, AlphaKeepsItsLayerWhereItIsOpaque) {
  // The alpha object covers only the middle: outside it the layer has no
  // alpha left, so only the white stage shows there.
  Picture layered = inSprite(11, {0, 255, 0, 128}, 2);
  EXPECT_EQ(layered.g(2, 2), 255);
  EXPECT_EQ(layered.r(2, 2), 255);
  EXPECT_NEAR(layered.g(10, 10), 127, 1);  // red at half alpha over white
  EXPECT_EQ(layered.r(10, 10), 255);
  Picture plain = inSprite(11, {0, 255, 0}, std::nullopt);
  EXPECT_EQ(plain.g(10, 10), 0);
  EXPECT_EQ(plain.r(10, 10), 255);
  EXPECT_EQ(plain.r(2, 2), 255);
}

TEST(BlendModes, ALayeredSpriteBlendsAsAWhole) {
  // The sprite's content (red, blue in the middle) multiplied onto white
  // is itself; onto a grey background it darkens each by half.
  SwfBuilder b;
  b.version(8).stage(Rect::pixels(20, 20)).background(255, 255, 255);
  defineRect(b, kBelow, {128, 128, 128}, 0, 0, 20, 20);
  defineRect(b, kAbove, {255, 0, 0}, 0, 0, 20, 20);
  defineRect(b, kHole, {0, 0, 255}, 5, 5, 15, 15);
  TagStream inner;
  place(inner, kAbove, 1);
  place(inner, kHole, 2);
  inner.showFrame();
  b.defineSprite(kSprite, inner);
  place(b, kBelow, 1);
  place(b, kSprite, 2, 3);
  b.showFrame();
  swf::MoviePlayer player;
  playertest::loadInto(player, b.finish());
  Picture pic = playertest::render(player, 20, 20);
  EXPECT_EQ(pic.r(2, 2), 128);
  EXPECT_EQ(pic.b(2, 2), 0);
  EXPECT_EQ(pic.r(10, 10), 0);
  EXPECT_EQ(pic.b(10, 10), 128);
}

}  // namespace
