// Filters of PlaceObject3 on small movies: the blur's box and passes, the
// shadows, glows and bevels made from it, the colour matrix, convolution,
// and how their sizes follow the view but not the object.
#include <gtest/gtest.h>

#include <cmath>

#include "place3_writer.h"
#include "player_fixture.h"

namespace {

using mvqtest::Bytes;
using mvqtest::Matrix;
using mvqtest::Rect;
using mvqtest::Rgba;
using mvqtest::SwfBuilder;
using playertest::FillDraft;
using playertest::Picture;
using playertest::Place3;
using playertest::ShadowDraft;
using playertest::ShapeWriter;
namespace filters = playertest::filters;

constexpr int kT = 20;
constexpr int kStage = 40;
constexpr double kPi = 3.14159265358979323846;

// A movie with one rectangle (pixels x0..x1, y0..y1) placed with filters.
Bytes movieOf(Rgba color, int x0, int y0, int x1, int y1, std::vector<Bytes> list, Matrix m = {},
              std::optional<Rgba> opaqueBackground = std::nullopt, int boundsGrow = 0) {
  SwfBuilder b;
  b.version(8).stage(Rect::pixels(kStage, kStage)).background(255, 255, 255);
  ShapeWriter w(3);
  w.fill(FillDraft::solid(color)).select(0, 1, 0).rect(x0 * kT, y0 * kT, x1 * kT, y1 * kT);
  b.tag(w.tagCode(), w.body(1, Rect::twips((x0 - boundsGrow) * kT, (y0 - boundsGrow) * kT, (x1 + boundsGrow) * kT,
                                           (y1 + boundsGrow) * kT)));
  Place3 p;
  p.character = 1, p.matrix = m, p.filters = std::move(list), p.opaqueBackground = opaqueBackground;
  b.tag(playertest::kPlaceObject3, p.body());
  b.showFrame();
  return b.finish();
}

// Transparent canvas: what the movie's objects leave, alpha included.
Picture alone(const Bytes& movie, int size = kStage) {
  swf::MoviePlayer player;
  playertest::loadInto(player, movie);
  return playertest::render(player, size, size, swf::ScaleMode::ShowAll, false);
}

Picture onWhite(const Bytes& movie) {
  swf::MoviePlayer player;
  playertest::loadInto(player, movie);
  return playertest::render(player, kStage, kStage);
}

const Rgba kBlack{0, 0, 0};

// A black dot on pixel (20, 20).
Bytes dot(std::vector<Bytes> list, Matrix m = {}) { return movieOf(kBlack, 20, 20, 21, 21, std::move(list), m); }

TEST(BlurFilter, OnePassSpreadsADotIntoABoxOfEqualWeight) {
  Picture pic = alone(dot({filters::blur(3, 3, 1)}));
  for (int y = 19; y <= 21; ++y)
    for (int x = 19; x <= 21; ++x) EXPECT_EQ(pic.a(x, y), 28) << x << "," << y;  // 255 / 9
  for (int i = 18; i <= 22; ++i) {
    EXPECT_EQ(pic.a(i, 18), 0);
    EXPECT_EQ(pic.a(i, 22), 0);
    EXPECT_EQ(pic.a(18, i), 0);
    EXPECT_EQ(pic.a(22, i), 0);
  }
}

TEST(BlurFilter, PassesRepeatTheBox) {
  // Two passes of 3: weights 1 2 3 2 1 (ninths) each way.
  Picture pic = alone(dot({filters::blur(3, 3, 2)}));
  EXPECT_NEAR(pic.a(20, 20), 255.0 * 9 / 81, 1.5);
  EXPECT_NEAR(pic.a(19, 20), 255.0 * 6 / 81, 1.5);
  EXPECT_NEAR(pic.a(18, 18), 255.0 * 1 / 81, 1.5);
  EXPECT_EQ(pic.a(17, 20), 0);
  EXPECT_NEAR(pic.alphaSum(15, 15, 26, 26), 1.0, 0.05);
}

TEST(BlurFilter, WidthsFromThreeUpBlurOverTheWidestOddBoxWithin) {
  // 4 and 4.9 wide: a box of three, a third each.
  for (double w : {4.0, 4.9}) {
    Picture pic = alone(dot({filters::blur(w, 1, 1)}));
    EXPECT_NEAR(pic.a(20, 20), 85, 1) << w;
    EXPECT_NEAR(pic.a(21, 20), 85, 1) << w;
    EXPECT_EQ(pic.a(22, 20), 0) << w;
    EXPECT_EQ(pic.a(20, 19), 0) << w;  // no blur down
  }
}

TEST(BlurFilter, NarrowerWidthsShareTheRestAtTheEnds) {
  // A box 2 wide: the middle pixel a half, the two beside it a quarter.
  Picture pic = alone(dot({filters::blur(2, 1, 1)}));
  EXPECT_NEAR(pic.a(20, 20), 128, 1);
  EXPECT_NEAR(pic.a(19, 20), 64, 1);
  EXPECT_NEAR(pic.a(21, 20), 64, 1);
  EXPECT_EQ(pic.a(22, 20), 0);
}

TEST(GlowFilter, BlursOverItsWholeWidth) {
  // A glow 4 wide keeps the fraction: an eighth reaches two pixels out.
  ShadowDraft s;
  s.blurX = 4, s.blurY = 1;
  Picture pic = alone(dot({filters::glow(s)}));
  EXPECT_NEAR(pic.a(18, 20), 32, 2);
  EXPECT_NEAR(pic.a(22, 20), 32, 2);
}

TEST(BlurFilter, NoPassesOrNoWidthLeaveTheObject) {
  for (const Bytes& f : {filters::blur(3, 3, 0), filters::blur(0, 0, 3), filters::blur(1, 1, 3)}) {
    Picture pic = alone(dot({f}));
    EXPECT_EQ(pic.a(20, 20), 255);
    EXPECT_EQ(pic.a(21, 20), 0);
  }
}

TEST(BlurFilter, ScalesWithTheViewButNotWithTheObject) {
  // The stage drawn twice as large: the box is 10 pixels, reaching 5 each side.
  Picture big = alone(dot({filters::blur(5, 5, 1)}), kStage * 2);
  EXPECT_GT(big.a(40 - 4, 41), 0);
  EXPECT_EQ(big.a(40 - 6, 41), 0);
  EXPECT_GT(big.a(41 + 4, 41), 0);
  EXPECT_EQ(big.a(41 + 6, 41), 0);
  // The dot scaled up by its matrix: still a 3-pixel box around its 2 pixels.
  Picture scaled = alone(movieOf(kBlack, 10, 10, 11, 11, {filters::blur(3, 3, 1)}, Matrix::scale(2, 2)));
  EXPECT_GT(scaled.a(19, 20), 0);
  EXPECT_EQ(scaled.a(18, 20), 0);
  EXPECT_GT(scaled.a(22, 20), 0);
  EXPECT_EQ(scaled.a(23, 20), 0);
}

TEST(BlurFilter, ReachesIntoTheViewFromAnObjectOutsideIt) {
  Picture pic = alone(movieOf(kBlack, -2, 10, 0, 20, {filters::blur(5, 1, 1)}));
  EXPECT_NEAR(pic.a(0, 15), 102, 1);  // two of the five pixels are the object's
  EXPECT_NEAR(pic.a(1, 15), 51, 1);
  EXPECT_EQ(pic.a(2, 15), 0);
}

// A red 10 x 10 square at 10..20.
Bytes square(std::vector<Bytes> list) { return movieOf({255, 0, 0}, 10, 10, 20, 20, std::move(list)); }

ShadowDraft sharpShadow(double distance) {
  ShadowDraft s;
  s.distance = distance;
  return s;
}

TEST(DropShadowFilter, FallsAtItsAngleAndDistanceBehindTheObject) {
  Picture pic = onWhite(square({filters::dropShadow(sharpShadow(5))}));
  EXPECT_EQ(pic.r(15, 15), 255);  // the object over its shadow
  EXPECT_EQ(pic.g(15, 15), 0);
  EXPECT_EQ(pic.r(22, 15), 0);  // the shadow 5 pixels right
  EXPECT_EQ(pic.r(26, 15), 255);
  EXPECT_EQ(pic.r(22, 9), 255);
  ShadowDraft down = sharpShadow(5);
  down.angle = kPi / 2;
  Picture below = onWhite(square({filters::dropShadow(down)}));
  EXPECT_EQ(below.r(15, 22), 0);
  EXPECT_EQ(below.r(22, 15), 255);
}

TEST(DropShadowFilter, KnockoutHideObjectAndInner) {
  ShadowDraft s = sharpShadow(5);
  s.knockout = true;
  Picture knocked = onWhite(square({filters::dropShadow(s)}));
  EXPECT_EQ(knocked.g(12, 15), 255);  // the object is gone, and the shadow under it
  EXPECT_EQ(knocked.g(17, 15), 255);
  EXPECT_EQ(knocked.r(22, 15), 0);
  s.knockout = false;
  s.compositeSource = false;
  Picture hidden = onWhite(square({filters::dropShadow(s)}));
  EXPECT_EQ(hidden.g(12, 15), 255);
  EXPECT_EQ(hidden.r(17, 15), 0);  // the whole shadow, object hidden
  EXPECT_EQ(hidden.r(22, 15), 0);
  s.compositeSource = true;
  s.inner = true;
  Picture inner = onWhite(square({filters::dropShadow(s)}));
  EXPECT_EQ(inner.r(12, 15), 0);  // inside, along the side the light comes from
  EXPECT_EQ(inner.r(17, 15), 255);
  EXPECT_EQ(inner.g(17, 15), 0);
  EXPECT_EQ(inner.g(22, 15), 255);  // nothing outside
}

TEST(GlowFilter, StrengthScalesTheBlurredEdge) {
  ShadowDraft s;
  s.color = {0, 255, 0};
  s.blurX = s.blurY = 3;
  Picture pic = alone(square({filters::glow(s)}));
  EXPECT_EQ(pic.a(20, 15), 85);  // one of the three pixels is the object's
  EXPECT_EQ(pic.g(20, 15), 85);
  EXPECT_EQ(pic.a(21, 15), 0);
  s.strength = 2;
  Picture strong = alone(square({filters::glow(s)}));
  EXPECT_EQ(strong.a(20, 15), 170);
  s.strength = 5;
  Picture saturated = alone(square({filters::glow(s)}));
  EXPECT_EQ(saturated.a(20, 15), 255);
}

TEST(GradientGlowFilter, ARampFromClearToAColourGlowsAsThatColour) {
  ShadowDraft s;
  s.color = {0, 0, 255};
  s.blurX = s.blurY = 5;
  s.passes = 2;
  Picture plain = alone(square({filters::glow(s)}));
  Picture ramp = alone(square({filters::gradientGlow({{0, {0, 0, 255, 0}}, {255, {0, 0, 255, 255}}}, s)}));
  for (int x = 5; x < 26; ++x) {
    EXPECT_NEAR(ramp.a(x, 15), plain.a(x, 15), 2) << x;
    EXPECT_NEAR(ramp.b(x, 15), plain.b(x, 15), 2) << x;
  }
}

TEST(BevelFilter, LightsTheSideTheLightComesFromAndShadesTheOther) {
  ShadowDraft s;
  s.color = {0, 0, 0};
  s.highlight = {255, 255, 255};
  s.angle = kPi / 4;
  s.distance = 2;
  s.blurX = s.blurY = 2;
  s.inner = true;
  Picture pic = onWhite(movieOf({128, 128, 128}, 10, 10, 30, 30, {filters::bevel(s)}));
  EXPECT_GT(pic.g(11, 11), 160);  // top left lit
  EXPECT_LT(pic.g(28, 28), 96);   // bottom right in shadow
  EXPECT_EQ(pic.g(20, 20), 128);  // the middle untouched
  EXPECT_EQ(pic.g(8, 8), 255);    // inner: nothing outside
  s.inner = false;
  Picture outer = onWhite(movieOf({128, 128, 128}, 10, 10, 30, 30, {filters::bevel(s)}));
  EXPECT_LT(outer.g(30, 30), 200);  // the shadow falls outside, bottom right
  EXPECT_EQ(outer.g(20, 20), 128);
  EXPECT_EQ(outer.g(11, 11), 128);  // the object over the inner part
}

TEST(GradientBevelFilter, RunsFromTheFirstStopOnTheLitSideToTheLastInShadow) {
  ShadowDraft s;
  s.angle = kPi / 4;
  s.distance = 2;
  s.blurX = s.blurY = 2;
  s.strength = 2;
  s.inner = true;
  Picture pic =
      onWhite(movieOf({128, 128, 128}, 10, 10, 30, 30,
                      {filters::gradientBevel({{0, {255, 0, 0}}, {128, {0, 0, 0, 0}}, {255, {0, 0, 255}}}, s)}));
  EXPECT_GT(pic.r(11, 11), pic.b(11, 11) + 60);
  EXPECT_GT(pic.b(28, 28), pic.r(28, 28) + 60);
  EXPECT_EQ(pic.g(20, 20), 128);
}

TEST(ColorMatrixFilter, WorksOnStraightColours) {
  // Red and blue swapped, alpha halved, 10 added to green.
  std::vector<float> m{0, 0, 1, 0, 0, 0, 1, 0, 0, 10, 1, 0, 0, 0, 0, 0, 0, 0, 0.5f, 0};
  Picture pic = alone(movieOf({200, 100, 0}, 10, 10, 20, 20, {filters::colorMatrix(m)}));
  EXPECT_NEAR(pic.a(15, 15), 128, 1);
  EXPECT_NEAR(pic.b(15, 15), 200 * 128 / 255, 1);  // premultiplied
  EXPECT_NEAR(pic.g(15, 15), 110 * 128 / 255, 1);
  EXPECT_EQ(pic.r(15, 15), 0);
  // A luminance matrix greys the colour.
  const float l[3] = {0.3086f, 0.6094f, 0.082f};
  std::vector<float> grey{l[0], l[1], l[2], 0, 0, l[0], l[1], l[2], 0, 0, l[0], l[1], l[2], 0, 0, 0, 0, 0, 1, 0};
  Picture g = alone(movieOf({200, 100, 0}, 10, 10, 20, 20, {filters::colorMatrix(grey)}));
  EXPECT_NEAR(g.r(15, 15), 200 * 0.3086 + 100 * 0.6094, 1);
  EXPECT_EQ(g.r(15, 15), g.b(15, 15));
}

TEST(ConvolutionFilter, KernelDivisorBiasAndEdges) {
  const Rgba clear{0, 0, 0, 0};
  // Taking each pixel from its left neighbour moves the square one right.
  Picture moved = alone(square({filters::convolution(3, 1, {1, 0, 0}, 1, 0, clear, false, false)}));
  EXPECT_EQ(moved.a(10, 15), 0);
  EXPECT_EQ(moved.a(20, 15), 255);
  EXPECT_EQ(moved.r(20, 15), 255);
  // Divisor 2 halves every channel, alpha too; a bias adds to each.
  Picture halved = alone(square({filters::convolution(1, 1, {1}, 2, 0, clear, true, false)}));
  EXPECT_NEAR(halved.a(15, 15), 128, 1);
  EXPECT_NEAR(halved.r(15, 15), 64, 1);  // straight 128 at alpha 128
  Picture kept = alone(square({filters::convolution(1, 1, {1}, 2, 0, clear, true, true)}));
  EXPECT_EQ(kept.a(15, 15), 255);
  EXPECT_NEAR(kept.r(15, 15), 128, 1);
}

TEST(Filters, RunInTheirListOrder) {
  // Blur then a matrix that makes any alpha opaque: a 3-pixel wider square.
  std::vector<float> solid{1, 0, 0, 0, 0, 0, 1, 0, 0, 0, 0, 0, 1, 0, 0, 0, 0, 0, 255, 0};  // any alpha: opaque
  Picture pic = alone(square({filters::blur(3, 3, 1), filters::colorMatrix(solid)}));
  EXPECT_EQ(pic.a(9, 15), 255);
  EXPECT_EQ(pic.a(8, 15), 0);
  // The other way round the matrix changes nothing and the edge stays soft.
  Picture other = alone(square({filters::colorMatrix(solid), filters::blur(3, 3, 1)}));
  EXPECT_EQ(other.a(9, 15), 85);
}

TEST(OpaqueBackground, FillsTheObjectsBoundsBelowIt) {
  Picture pic = onWhite(movieOf({255, 0, 0}, 10, 10, 20, 20, {}, {}, Rgba{0, 0, 255}, 4));
  EXPECT_EQ(pic.b(7, 7), 255);  // inside the bounds, outside the fill
  EXPECT_EQ(pic.r(7, 7), 0);
  EXPECT_EQ(pic.r(15, 15), 255);
  EXPECT_EQ(pic.b(15, 15), 0);
  EXPECT_EQ(pic.r(4, 4), 255);  // outside the bounds: the white stage
  EXPECT_EQ(pic.b(4, 4), 255);
}

// A sprite of red (10..30) with blue (20..40) over it, placed at half alpha.
Picture halfSprite(bool cached, std::vector<Bytes> list = {}) {
  SwfBuilder b;
  b.version(8).stage(Rect::pixels(kStage, kStage)).background(255, 255, 255);
  for (uint16_t id : {1, 2}) {
    ShapeWriter w(3);
    int x0 = id == 1 ? 10 : 20;
    w.fill(FillDraft::solid(id == 1 ? Rgba{255, 0, 0} : Rgba{0, 0, 255}))
        .select(0, 1, 0)
        .rect(x0 * kT, 10 * kT, (x0 + 20) * kT, 30 * kT);
    b.tag(w.tagCode(), w.body(id, Rect::twips(x0 * kT, 10 * kT, (x0 + 20) * kT, 30 * kT)));
  }
  mvqtest::TagStream inner;
  inner.placeObject2(1, 1);
  inner.placeObject2(2, 2);
  inner.showFrame();
  b.defineSprite(3, inner);
  Place3 p;
  p.character = 3;
  mvqtest::ColorTransform half;
  half.multA = 128;
  p.colorTransform = half;
  if (cached) p.cacheAsBitmap = true;
  p.filters = std::move(list);
  b.tag(playertest::kPlaceObject3, p.body());
  b.showFrame();
  swf::MoviePlayer player;
  playertest::loadInto(player, b.finish());
  return playertest::render(player, kStage, kStage);
}

TEST(CacheAsBitmap, TheColourTransformActsOnTheWholePicture) {
  // Drawn child by child, the red shows through the translucent blue.
  Picture loose = halfSprite(false);
  EXPECT_NEAR(loose.r(25, 20), 128, 2);
  EXPECT_NEAR(loose.b(25, 20), 191, 2);
  // Cached, the sprite is one picture made translucent: blue over white.
  Picture cached = halfSprite(true);
  EXPECT_NEAR(cached.r(25, 20), 127, 2);
  EXPECT_NEAR(cached.b(25, 20), 255, 2);
  EXPECT_NEAR(cached.g(15, 20), 127, 2);  // red alone at half alpha
  EXPECT_EQ(cached.r(5, 5), 255);
}

TEST(Filters, TheObjectsColourTransformTintsWhatTheyAdd) {
  // A black glow of a sprite at half alpha is half as dark.
  ShadowDraft s;
  s.blurX = s.blurY = 3;
  Picture pic = halfSprite(false, {filters::glow(s)});
  EXPECT_NEAR(pic.r(9, 20), 255 - 85 / 2, 2);
}

// A rectangle from 10.3 to 20.3 pixels across and 10.6 to 20.6 down: drawn
// plainly its edge pixels are partly covered; with a filter that changes
// nothing it is drawn on whole pixels, its corner at the nearest, (10, 11).
TEST(Filters, PutTheObjectsCornerOnAWholePixel) {
  const std::vector<float> identity{1, 0, 0, 0, 0, 0, 1, 0, 0, 0, 0, 0, 1, 0, 0, 0, 0, 0, 1, 0};
  const Matrix shift = Matrix::translate(6, 12);
  Picture plain = alone(movieOf(kBlack, 10, 10, 20, 20, {}, shift));
  EXPECT_NEAR(plain.a(10, 15), 255 * 0.7, 2);
  EXPECT_NEAR(plain.a(15, 10), 255 * 0.4, 2);
  Picture filtered = alone(movieOf(kBlack, 10, 10, 20, 20, {filters::colorMatrix(identity)}, shift));
  EXPECT_EQ(filtered.a(10, 15), 255);
  EXPECT_EQ(filtered.a(19, 15), 255);
  EXPECT_EQ(filtered.a(20, 15), 0);
  EXPECT_EQ(filtered.a(15, 10), 0);
  EXPECT_EQ(filtered.a(15, 11), 255);
  EXPECT_EQ(filtered.a(15, 20), 255);
}

}  // namespace
