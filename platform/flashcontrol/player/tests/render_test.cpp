// Whole frames drawn by the player from builder-made movies, checked at
// known pixels and by coverage sums.
#include <gtest/gtest.h>

#include <cmath>

#include "player_fixture.h"

namespace {

using mvqtest::Matrix;
using mvqtest::PlaceObject2;
using mvqtest::Rect;
using mvqtest::Rgba;
using mvqtest::SwfBuilder;
using playertest::FillDraft;
using playertest::LineDraft;
using playertest::Picture;
using playertest::ShapeWriter;
using swf::ScaleMode;

constexpr int kT = 20;  // twips per pixel

swf::MoviePlayer& load(swf::MoviePlayer& p, const mvqtest::Bytes& movie) {
  playertest::loadInto(p, movie);
  return p;
}

ShapeWriter filledRect(Rgba c, int x0, int y0, int x1, int y1) {
  ShapeWriter w(3);
  w.fill(FillDraft::solid(c)).select(0, 1, 0).rect(x0, y0, x1, y1);
  return w;
}

TEST(Render, OpaqueViewsStartWithTheBackground) {
  SwfBuilder b;
  b.stage(Rect::pixels(40, 30)).background(10, 20, 30).showFrame();
  swf::MoviePlayer p;
  Picture pic = playertest::render(load(p, b.finish()), 40, 30);
  for (int y = 0; y < 30; y += 7)
    for (int x = 0; x < 40; x += 9) {
      EXPECT_EQ(pic.r(x, y), 10);
      EXPECT_EQ(pic.g(x, y), 20);
      EXPECT_EQ(pic.b(x, y), 30);
      EXPECT_EQ(pic.a(x, y), 255);
    }
}

TEST(Render, SolidRectanglesLandOnTheirPixels) {
  swf::MoviePlayer p;
  load(p, playertest::movieWithShape(filledRect({255, 0, 0}, 10 * kT, 20 * kT, 50 * kT, 30 * kT),
                                     Rect::twips(0, 0, 1000, 600)));
  Picture pic = playertest::render(p, 100, 100);
  EXPECT_EQ(pic.r(10, 20), 255);
  EXPECT_EQ(pic.g(10, 20), 0);
  EXPECT_EQ(pic.g(49, 29), 0);
  EXPECT_EQ(pic.g(9, 25), 255);
  EXPECT_EQ(pic.g(50, 25), 255);
  EXPECT_EQ(pic.g(30, 19), 255);
  EXPECT_EQ(pic.g(30, 30), 255);
}

TEST(Render, TransparentDrawsOnlyShapesAndKeepsPartialCoverage) {
  swf::MoviePlayer p;
  // The left edge falls in the middle of pixel 10.
  load(p, playertest::movieWithShape(filledRect({255, 0, 0}, 10 * kT + 10, 0, 40 * kT, 40 * kT),
                                     Rect::twips(0, 0, 800, 800)));
  Picture clear = playertest::render(p, 100, 100, ScaleMode::ShowAll, false, playertest::kClear);
  EXPECT_EQ(clear.a(50, 50), 0);  // no background
  EXPECT_EQ(clear.a(20, 20), 255);
  EXPECT_EQ(clear.a(10, 20), 128);
  EXPECT_EQ(clear.r(10, 20), 128);  // premultiplied
  Picture overWhite = playertest::render(p, 100, 100, ScaleMode::ShowAll, false, playertest::kWhite);
  Picture overBlack = playertest::render(p, 100, 100, ScaleMode::ShowAll, false, playertest::kBlack);
  EXPECT_EQ(overWhite.r(60, 60), 255);
  EXPECT_EQ(overBlack.r(60, 60), 0);
  // A matte recovers the coverage from the two: alpha = 255 - (white - black).
  int alpha = 255 - (overWhite.g(10, 20) - overBlack.g(10, 20));
  EXPECT_NEAR(alpha, 128, 1);
  EXPECT_EQ(overWhite.r(10, 20), 255);
  EXPECT_NEAR(overBlack.r(10, 20), 128, 1);
}

TEST(Render, ShowAllCentresTheStageAndExactFitStretchesIt) {
  SwfBuilder b;
  b.version(8).stage(Rect::pixels(100, 50)).background(0, 0, 255);
  ShapeWriter left = filledRect({255, 0, 0}, 0, 0, 50 * kT, 50 * kT);
  b.tag(left.tagCode(), left.body(1, Rect::twips(0, 0, 1000, 1000))).placeObject2(1, 1).showFrame();
  swf::MoviePlayer p;
  load(p, b.finish());
  Picture all = playertest::render(p, 200, 200, ScaleMode::ShowAll);
  EXPECT_EQ(all.b(100, 20), 255);  // letterbox band: background
  EXPECT_EQ(all.r(10, 60), 255);   // stage starts 50 pixels down, twice the size
  EXPECT_EQ(all.r(99, 149), 255);
  EXPECT_EQ(all.r(100, 100), 0);
  EXPECT_EQ(all.r(50, 49), 0);
  EXPECT_EQ(all.r(50, 150), 0);
  Picture fit = playertest::render(p, 200, 200, ScaleMode::ExactFit);
  EXPECT_EQ(fit.r(99, 0), 255);
  EXPECT_EQ(fit.r(99, 199), 255);
  EXPECT_EQ(fit.r(100, 100), 0);
}

// A frame a fraction of a pixel larger than whole pixels, starting before
// the origin: shown at its own size it is drawn at scale 1, shifted by
// where it starts.
TEST(Render, AFrameOfFractionalPixelsIsShownAtScaleOne) {
  SwfBuilder b;
  b.version(8).stage(-13, -13, 2013, 493).background(0, 0, 255);
  ShapeWriter bar = filledRect({255, 0, 0}, 0, 0, 2000, 400);
  b.tag(bar.tagCode(), bar.body(1, Rect::twips(0, 0, 2000, 400))).placeObject2(1, 1).showFrame();
  swf::MoviePlayer p;
  load(p, b.finish());
  ASSERT_EQ(p.stageWidthPixels(), 101);
  Picture pic = playertest::render(p, 101, 25, ScaleMode::ShowAll, true);
  // The bar spans pixels 0.65 to 100.65 across and 0.65 to 20.65 down.
  EXPECT_NEAR(pic.r(0, 10), 255 * 0.35, 2);
  EXPECT_EQ(pic.r(99, 10), 255);
  EXPECT_NEAR(pic.r(100, 10), 255 * 0.65, 2);
  EXPECT_EQ(pic.r(50, 19), 255);
  EXPECT_NEAR(pic.r(50, 20), 255 * 0.65, 2);
  EXPECT_EQ(pic.r(50, 21), 0);
}

TEST(Render, ViewRectanglesPlaceAndClipTheMovie) {
  swf::MoviePlayer p;
  load(p, playertest::movieWithShape(filledRect({255, 0, 0}, 0, 0, 100 * kT, 100 * kT), Rect::twips(0, 0, 2000, 2000)));
  Picture pic;
  pic.width = 60, pic.height = 60;
  pic.bgra.assign(60 * 60 * 4, 0);
  swf::Canvas canvas{pic.bgra.data(), 60, 60, 60 * 4};
  p.render(canvas, 20, 30, 100, 100, ScaleMode::ExactFit, false);
  EXPECT_EQ(pic.a(19, 40), 0);
  EXPECT_EQ(pic.a(20, 30), 255);
  EXPECT_EQ(pic.a(59, 59), 255);
  EXPECT_EQ(pic.a(30, 29), 0);
}

TEST(Render, ColourTransformsWithAlphaBlendOverWhatIsBelow) {
  SwfBuilder b;
  b.version(8).stage(Rect::pixels(40, 40)).background(255, 255, 255);
  ShapeWriter red = filledRect({255, 0, 0}, 0, 0, 40 * kT, 40 * kT);
  b.tag(red.tagCode(), red.body(1, Rect::twips(0, 0, 800, 800)));
  PlaceObject2 half;
  half.depth = 1, half.character = 1;
  mvqtest::ColorTransform cx;
  cx.multA = 128;
  cx.addB = 255;
  half.colorTransform = cx;
  b.placeObject2(half).showFrame();
  swf::MoviePlayer p;
  Picture pic = playertest::render(load(p, b.finish()), 40, 40);
  EXPECT_EQ(pic.r(5, 5), 255);
  EXPECT_NEAR(pic.g(5, 5), 128, 1);
  EXPECT_EQ(pic.b(5, 5), 255);  // blue pushed up to full by the added term
}

TEST(Render, NestedSpritesComposeMatricesAndColours) {
  SwfBuilder b;
  b.version(8).stage(Rect::pixels(100, 100)).background(255, 255, 255);
  ShapeWriter sq = filledRect({0, 0, 0}, 0, 0, 10 * kT, 10 * kT);
  b.tag(sq.tagCode(), sq.body(1, Rect::twips(0, 0, 200, 200)));
  mvqtest::TagStream inner;
  inner.placeObject2(1, 1, Matrix::translate(5 * kT, 0)).showFrame();
  b.defineSprite(2, inner);
  mvqtest::TagStream outer;
  PlaceObject2 tinted;
  tinted.depth = 1, tinted.character = 2, tinted.matrix = Matrix::scale(2, 2, 10 * kT, 0);
  mvqtest::ColorTransform green;
  green.addG = 255;
  tinted.colorTransform = green;
  outer.placeObject2(tinted).showFrame();
  b.defineSprite(3, outer);
  b.placeObject2(3, 1, Matrix::translate(0, 20 * kT)).showFrame();
  swf::MoviePlayer p;
  Picture pic = playertest::render(load(p, b.finish()), 100, 100);
  // x = 10 + 2 * 5 = 20 .. 40, y = 20 .. 40
  EXPECT_EQ(pic.g(20, 20), 255);
  EXPECT_EQ(pic.r(20, 20), 0);
  EXPECT_EQ(pic.g(39, 39), 255);
  EXPECT_EQ(pic.r(19, 30), 255);
  EXPECT_EQ(pic.r(40, 30), 255);
  EXPECT_EQ(pic.r(30, 41), 255);
}

TEST(Render, HigherDepthsDrawOnTop) {
  SwfBuilder b;
  b.version(8).stage(Rect::pixels(50, 50));
  ShapeWriter red = filledRect({255, 0, 0}, 0, 0, 30 * kT, 30 * kT);
  ShapeWriter blue = filledRect({0, 0, 255}, 10 * kT, 10 * kT, 40 * kT, 40 * kT);
  b.tag(red.tagCode(), red.body(1, Rect::twips(0, 0, 600, 600)));
  b.tag(blue.tagCode(), blue.body(2, Rect::twips(200, 200, 800, 800)));
  b.placeObject2(2, 5).placeObject2(1, 9).showFrame();
  swf::MoviePlayer p;
  Picture pic = playertest::render(load(p, b.finish()), 50, 50);
  EXPECT_EQ(pic.r(20, 20), 255);
  EXPECT_EQ(pic.b(35, 35), 255);
  EXPECT_EQ(pic.b(20, 20), 0);
}

Picture strokeAcross(const LineDraft& l, int version, const Matrix& place = {}) {
  ShapeWriter w(version);
  w.line(l).select(0, 0, 1).moveTo(20 * kT, 50 * kT).lineTo(80 * kT, 50 * kT);
  swf::MoviePlayer p;
  load(p, playertest::movieWithShape(w, Rect::twips(0, 0, 2000, 2000), 100, 100, place));
  return playertest::render(p, 100, 100, ScaleMode::ShowAll, false, playertest::kClear);
}

TEST(Render, StrokesHaveTheirWidthAndRoundCaps) {
  Picture pic = strokeAcross(LineDraft::solid(10 * kT, {0, 0, 0}), 3);
  EXPECT_EQ(pic.a(50, 46), 255);
  EXPECT_EQ(pic.a(50, 53), 255);
  EXPECT_EQ(pic.a(50, 44), 0);
  EXPECT_EQ(pic.a(50, 55), 0);
  EXPECT_NEAR(pic.alphaSum(50, 40, 51, 60), 10, 0.1);
  EXPECT_GT(pic.a(16, 50), 200);  // the round cap reaches 5 pixels beyond the end
  EXPECT_EQ(pic.a(14, 50), 0);
  EXPECT_LT(pic.a(15, 45), 20);  // but is round
}

TEST(Render, LineStyle2CapsChangeTheEnds) {
  LineDraft square = LineDraft::solid(10 * kT, {0, 0, 0});
  square.startCap = square.endCap = 2;
  Picture sq = strokeAcross(square, 4);
  EXPECT_EQ(sq.a(16, 46), 255);
  EXPECT_EQ(sq.a(14, 50), 0);
  LineDraft none = square;
  none.startCap = none.endCap = 1;
  Picture flat = strokeAcross(none, 4);
  EXPECT_EQ(flat.a(19, 50), 0);
  EXPECT_EQ(flat.a(20, 50), 255);
  EXPECT_EQ(flat.a(79, 50), 255);
  EXPECT_EQ(flat.a(80, 50), 0);
}

TEST(Render, HairlinesArePixelWideAtAnyScale) {
  Picture hair = strokeAcross(LineDraft::solid(0, {0, 0, 0}), 3);
  EXPECT_NEAR(hair.alphaSum(50, 40, 51, 60), 1, 0.1);
  Picture shrunk = strokeAcross(LineDraft::solid(2 * kT, {0, 0, 0}), 3, Matrix::scale(1, 0.1, 0, 45 * kT));
  EXPECT_NEAR(shrunk.alphaSum(50, 40, 51, 60), 1, 0.15);
}

Picture strokedSquare(uint8_t join) {
  LineDraft l = LineDraft::solid(8 * kT, {0, 0, 0});
  l.join = join;
  l.miterLimit = 3;
  ShapeWriter w(4);
  w.line(l).select(0, 0, 1).rect(20 * kT, 20 * kT, 80 * kT, 80 * kT);
  swf::MoviePlayer p;
  load(p, playertest::movieWithShape(w, Rect::twips(0, 0, 2000, 2000)));
  return playertest::render(p, 100, 100, ScaleMode::ShowAll, false, playertest::kClear);
}

TEST(Render, ClosedOutlinesJoinTheirCornersAndStayHollow) {
  Picture miter = strokedSquare(2), bevel = strokedSquare(1), round = strokedSquare(0);
  for (const Picture* p : {&miter, &bevel, &round}) {
    EXPECT_EQ(p->a(50, 50), 0);
    EXPECT_EQ(p->a(50, 20), 255);
    EXPECT_EQ(p->a(50, 23), 255);
    EXPECT_EQ(p->a(50, 24), 0);
    EXPECT_EQ(p->a(17, 50), 255);
    EXPECT_EQ(p->a(15, 50), 0);
    EXPECT_EQ(p->a(22, 22), 255);  // the inside of the corner
    EXPECT_NEAR(p->alphaSum(40, 0, 41, 100), 16, 0.1);
  }
  EXPECT_EQ(miter.a(16, 16), 255);  // the outside of the corner
  EXPECT_EQ(bevel.a(16, 16), 0);
  EXPECT_EQ(round.a(16, 16), 0);
  EXPECT_EQ(round.a(18, 18), 255);
  EXPECT_LT(bevel.alphaSum(14, 14, 20, 20), round.alphaSum(14, 14, 20, 20));
  EXPECT_LT(round.alphaSum(14, 14, 20, 20), miter.alphaSum(14, 14, 20, 20));
}

TEST(Render, ALineCrossingItselfCoversTheCrossingOnce) {
  ShapeWriter w(3);
  w.line(LineDraft::solid(6 * kT, {0, 0, 0, 128})).select(0, 0, 1).moveTo(10 * kT, 50 * kT).lineTo(90 * kT, 50 * kT);
  w.lineTo(90 * kT, 90 * kT).lineTo(50 * kT, 90 * kT).lineTo(50 * kT, 10 * kT);
  swf::MoviePlayer p;
  load(p, playertest::movieWithShape(w, Rect::twips(0, 0, 2000, 2000)));
  Picture pic = playertest::render(p, 100, 100, ScaleMode::ShowAll, false, playertest::kClear);
  EXPECT_EQ(pic.a(50, 50), pic.a(30, 50));  // one line's alpha, not two layered
  EXPECT_NEAR(pic.a(30, 50), 128, 1);
}

Picture verticalStroke(bool noHScale, bool noVScale = false, Matrix m = Matrix::scale(4, 1)) {
  LineDraft l = LineDraft::solid(2 * kT, {0, 0, 0});
  l.noHScale = noHScale;
  l.noVScale = noVScale;
  l.startCap = l.endCap = 1;
  ShapeWriter w(4);
  w.line(l).select(0, 0, 1).moveTo(5 * kT, 10 * kT).lineTo(5 * kT, 90 * kT);
  swf::MoviePlayer p;
  load(p, playertest::movieWithShape(w, Rect::twips(0, 0, 200, 2000), 100, 100, m));
  return playertest::render(p, 100, 100, ScaleMode::ShowAll, false, playertest::kClear);
}

TEST(Render, LinesStretchWithTheirShapeUnlessTheyMustNot) {
  EXPECT_NEAR(verticalStroke(false).alphaSum(0, 50, 100, 51), 8, 0.1);
  EXPECT_NEAR(verticalStroke(true).alphaSum(0, 50, 100, 51), 2, 0.1);
  // Scaling in neither direction: the width holds where the shape is
  // stretched least and stretches with it across.
  EXPECT_NEAR(verticalStroke(true, true).alphaSum(0, 50, 100, 51), 8, 0.1);
  EXPECT_NEAR(verticalStroke(true, true, Matrix::scale(3, 3)).alphaSum(0, 50, 100, 51), 2, 0.1);
  EXPECT_NEAR(verticalStroke(true, true, Matrix::scale(6, 2)).alphaSum(0, 50, 100, 51), 6, 0.1);
}

TEST(Render, CurvedOutlinesCoverTheirArea) {
  // A circle of radius 40 pixels from eight quadratic curves.
  const double r = 40 * kT, cx = 50 * kT, cy = 50 * kT;
  const double pi = 3.14159265358979323846;
  ShapeWriter w(3);
  w.fill(FillDraft::solid({0, 0, 0})).select(0, 1, 0).moveTo(int(cx + r), int(cy));
  for (int k = 1; k <= 8; ++k) {
    double a = k * pi / 4, m = (k - 0.5) * pi / 4, rc = r / std::cos(pi / 8);
    w.curveTo(int(std::lround(cx + rc * std::cos(m))), int(std::lround(cy + rc * std::sin(m))),
              int(std::lround(cx + r * std::cos(a))), int(std::lround(cy + r * std::sin(a))));
  }
  swf::MoviePlayer p;
  load(p, playertest::movieWithShape(w, Rect::twips(0, 0, 2000, 2000)));
  Picture pic = playertest::render(p, 100, 100, ScaleMode::ShowAll, false);
  EXPECT_NEAR(pic.alphaSum(0, 0, 100, 100), pi * 40 * 40, pi * 40 * 40 * 0.01);
  EXPECT_EQ(pic.a(50, 50), 255);
  EXPECT_EQ(pic.a(50, 9), 0);
}

TEST(Render, FillsMeetingAlongAnEdgeLeaveNoSeam) {
  ShapeWriter w(3);
  w.fill(FillDraft::solid({255, 0, 0})).fill(FillDraft::solid({0, 0, 255}));
  // One edge between red (left of it) and blue, through the middle of column 50.
  const int mid = 50 * kT + 10;
  w.select(0, 1, 0).moveTo(0, 0).lineTo(mid, 0).select(2, 1, 0).lineTo(mid, 100 * kT);
  w.select(0, 1, 0).lineTo(0, 100 * kT).lineTo(0, 0);
  w.select(0, 2, 0).moveTo(mid, 100 * kT).lineTo(100 * kT, 100 * kT).lineTo(100 * kT, 0).lineTo(mid, 0);
  swf::MoviePlayer p;
  load(p, playertest::movieWithShape(w, Rect::twips(0, 0, 2000, 2000)));
  Picture pic = playertest::render(p, 100, 100, ScaleMode::ShowAll, false, playertest::kClear);
  EXPECT_EQ(pic.a(50, 50), 255);
  EXPECT_NEAR(pic.r(50, 50), 128, 1);
  EXPECT_NEAR(pic.b(50, 50), 128, 1);
  EXPECT_EQ(pic.r(49, 50), 255);
  EXPECT_EQ(pic.b(51, 50), 255);
}

TEST(Render, GradientFillsFollowTheirMatrix) {
  // A linear gradient across the 100-pixel square: red at the left, blue at the right.
  Matrix m = Matrix::scale(2000.0 / 32768, 2000.0 / 32768, 1000, 1000);
  ShapeWriter w(3);
  w.fill(FillDraft::gradient(0x10, m, {{0, {255, 0, 0}}, {255, {0, 0, 255}}})).select(0, 1, 0).rect(0, 0, 2000, 2000);
  swf::MoviePlayer p;
  load(p, playertest::movieWithShape(w, Rect::twips(0, 0, 2000, 2000)));
  Picture pic = playertest::render(p, 100, 100);
  EXPECT_GT(pic.r(0, 50), 250);
  EXPECT_GT(pic.b(99, 10), 250);
  EXPECT_NEAR(pic.r(50, 90), 125, 4);
  EXPECT_EQ(pic.r(30, 0), pic.r(30, 99));
}

TEST(Render, BitmapFillsDrawNothingYet) {
  SwfBuilder b;
  b.version(8).stage(Rect::pixels(50, 50)).background(255, 255, 255);
  ShapeWriter bitmap(3);
  FillDraft bits;
  bits.type = 0x41;
  bitmap.fill(bits).select(0, 1, 0).rect(0, 0, 50 * kT, 50 * kT);
  b.tag(bitmap.tagCode(), bitmap.body(2, Rect::twips(0, 0, 1000, 1000)));
  b.placeObject2(2, 2).showFrame();
  swf::MoviePlayer p;
  Picture pic = playertest::render(load(p, b.finish()), 50, 50);
  EXPECT_EQ(pic.g(25, 25), 255);
}

TEST(Render, SameFrameSamePixels) {
  SwfBuilder b;
  b.version(8).stage(Rect::pixels(64, 48));
  for (int i = 0; i < 12; ++i) {
    ShapeWriter w(3);
    w.fill(FillDraft::solid({uint8_t(20 * i), 100, 200, 180})).line(LineDraft::solid(uint16_t(i * 7), {0, 0, 0, 200}));
    w.select(0, 1, 1).moveTo(i * 37, 100).curveTo(900, i * 53, 1100 - i * 20, 900).lineTo(i * 37, 100);
    b.tag(w.tagCode(), w.body(uint16_t(i + 1), Rect::twips(0, 0, 1280, 960)));
    mvqtest::Matrix m;
    m.scaleX = 0.7 + 0.05 * i, m.rotateSkew0 = 0.1 * i, m.rotateSkew1 = -0.07 * i, m.translateX = 17 * i;
    b.placeObject2(uint16_t(i + 1), uint16_t(i + 1), m);
  }
  b.showFrame();
  swf::MoviePlayer p;
  load(p, b.finish());
  EXPECT_EQ(playertest::render(p, 64, 48).bgra, playertest::render(p, 64, 48).bgra);
}

}  // namespace
