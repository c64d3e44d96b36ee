// Morph shapes drawn at their placement's ratio: every point, colour,
// matrix, gradient stop, focal point and line width moves linearly from the
// start to the end, and a straight edge paired with a curve becomes a curve
// through its midpoint. Each picture is checked against a plain shape
// holding the values the format says the ratio gives.
#include <gtest/gtest.h>

#include <cstdlib>

#include "morph_writer.h"
#include "player_fixture.h"
#include "tags/morph_shape.h"

namespace {

using mvqtest::Matrix;
using mvqtest::Rect;
using mvqtest::Rgba;
using playertest::FillDraft;
using playertest::MorphWriter;
using playertest::Picture;
using playertest::ShapeWriter;

constexpr int kT = 20;  // twips per pixel
constexpr int kSize = 60;

Picture draw(const mvqtest::Bytes& movie) {
  swf::MoviePlayer p;
  playertest::loadInto(p, movie);
  return playertest::render(p, kSize, kSize);
}

Picture drawMorph(const MorphWriter& m, uint16_t ratio) {
  return draw(playertest::movieWithMorph(m, ratio, kSize, kSize));
}

Picture drawShape(const ShapeWriter& s) {
  return draw(playertest::movieWithShape(s, Rect::pixels(kSize, kSize), kSize, kSize));
}

// Pixels where a channel differs by more than slack: curves and matrices
// rebuilt from rounded values may move an edge by a subpixel step.
int differingPixels(const Picture& a, const Picture& b, int slack = 0) {
  int n = 0;
  for (size_t i = 0; i < a.bgra.size(); i += 4) {
    bool differs = false;
    for (size_t c = 0; c < 4; ++c) differs |= std::abs(int(a.bgra[i + c]) - int(b.bgra[i + c])) > slack;
    n += differs;
  }
  return n;
}

// A square that moves right and grows, red turning blue.
MorphWriter movingSquare() {
  MorphWriter m;
  m.fill(FillDraft::solid({255, 0, 0}), FillDraft::solid({0, 0, 255, 128}));
  m.start().select(0, 1, 0).rect(0, 0, 20 * kT, 20 * kT);
  m.end().rect(30 * kT, 10 * kT, 60 * kT, 50 * kT);
  return m;
}

TEST(MorphShape, TheEndsAndTheMiddleAreLinear) {
  MorphWriter m = movingSquare();
  ShapeWriter start(3), end(3), middle(3);
  start.fill(FillDraft::solid({255, 0, 0})).select(0, 1, 0).rect(0, 0, 20 * kT, 20 * kT);
  end.fill(FillDraft::solid({0, 0, 255, 128})).select(0, 1, 0).rect(30 * kT, 10 * kT, 60 * kT, 50 * kT);
  // 16384 / 65535 of the way: points and channels rounded to the nearest.
  middle.fill(FillDraft::solid({191, 0, 64, 223})).select(0, 1, 0).rect(150, 50, 600, 550);
  EXPECT_EQ(differingPixels(drawMorph(m, 0), drawShape(start)), 0);
  EXPECT_EQ(differingPixels(drawMorph(m, 65535), drawShape(end)), 0);
  EXPECT_EQ(differingPixels(drawMorph(m, 16384), drawShape(middle)), 0);
  EXPECT_GT(differingPixels(drawMorph(m, 16384), drawShape(start)), 100);
}

TEST(MorphShape, AStraightEdgePairedWithACurveBendsThroughItsMidpoint) {
  MorphWriter m;
  m.fill(FillDraft::solid({0, 0, 0}), FillDraft::solid({0, 0, 0}));
  m.start().select(0, 1, 0).moveTo(0, 0).lineTo(40 * kT, 0).lineTo(40 * kT, 40 * kT).lineTo(0, 0);
  m.end().moveTo(0, 0).curveTo(40 * kT, -20 * kT, 40 * kT, 0).lineTo(40 * kT, 40 * kT).curveTo(0, 40 * kT, 0, 0);
  ShapeWriter start(3), end(3), half(3);
  start.fill(FillDraft::solid({0, 0, 0})).select(0, 1, 0).moveTo(0, 0).lineTo(40 * kT, 0).lineTo(40 * kT, 40 * kT);
  start.lineTo(0, 0);
  end.fill(FillDraft::solid({0, 0, 0})).select(0, 1, 0).moveTo(0, 0).curveTo(40 * kT, -20 * kT, 40 * kT, 0);
  end.lineTo(40 * kT, 40 * kT).curveTo(0, 40 * kT, 0, 0);
  // Halfway the first control point is between (20, 0) and (40, -20) pixels.
  half.fill(FillDraft::solid({0, 0, 0})).select(0, 1, 0).moveTo(0, 0).curveTo(30 * kT, -10 * kT, 40 * kT, 0);
  half.lineTo(40 * kT, 40 * kT).curveTo(10 * kT, 30 * kT, 0, 0);
  EXPECT_EQ(differingPixels(drawMorph(m, 0), drawShape(start), 2), 0);
  EXPECT_EQ(differingPixels(drawMorph(m, 65535), drawShape(end)), 0);
  EXPECT_EQ(differingPixels(drawMorph(m, 32768), drawShape(half)), 0);
  EXPECT_GT(differingPixels(drawMorph(m, 32768), drawShape(start), 2), 20);
}

TEST(MorphShape, GradientsMoveTheirMatrixStopsAndFocalPoint) {
  FillDraft s = FillDraft::gradient(0x13, Matrix::scale(0.02, 0.02, 20 * kT, 20 * kT),
                                    {{0, {255, 0, 0}}, {200, {0, 255, 0, 255}}});
  s.focal = -0.5;
  FillDraft e = FillDraft::gradient(0x13, Matrix::scale(0.04, 0.02, 40 * kT, 30 * kT),
                                    {{100, {0, 0, 255, 100}}, {255, {255, 255, 0}}});
  e.focal = 0.5;
  MorphWriter m(2);
  m.fill(s, e);
  m.start().select(0, 1, 0).rect(0, 0, kSize * kT, kSize * kT);
  m.end().rect(0, 0, kSize * kT, kSize * kT);
  ShapeWriter atEnd(4), atMiddle(4);
  atEnd.fill(e).select(0, 1, 0).rect(0, 0, kSize * kT, kSize * kT);
  FillDraft mid = FillDraft::gradient(0x13, Matrix::scale(0.03, 0.02, 30 * kT, 25 * kT),
                                      {{50, {127, 0, 128, 177}}, {228, {128, 255, 0, 255}}});
  mid.focal = 0;
  atMiddle.fill(mid).select(0, 1, 0).rect(0, 0, kSize * kT, kSize * kT);
  EXPECT_EQ(differingPixels(drawMorph(m, 65535), drawShape(atEnd)), 0);
  // The matrices' 16.16 fields halfway are not quite the halfway matrix's.
  EXPECT_EQ(differingPixels(drawMorph(m, 32768), drawShape(atMiddle), 3), 0);
}

TEST(MorphShape, LineWidthsAndColoursMove) {
  MorphWriter m;
  m.line({20, 100, {255, 0, 0}, {0, 0, 255}});
  m.start().select(0, 0, 1).moveTo(10 * kT, 10 * kT).lineTo(50 * kT, 10 * kT);
  m.end().moveTo(10 * kT, 50 * kT).lineTo(50 * kT, 30 * kT);
  ShapeWriter half(3);
  half.line(playertest::LineDraft::solid(60, {127, 0, 128})).select(0, 0, 1);
  half.moveTo(10 * kT, 30 * kT).lineTo(50 * kT, 20 * kT);
  EXPECT_EQ(differingPixels(drawMorph(m, 32768), drawShape(half)), 0);
}

TEST(MorphShape, ParsingPairsEdgesAndSurvivesDamage) {
  MorphWriter m = movingSquare();
  mvqtest::Bytes body = m.body(3, Rect::pixels(20, 20), Rect::pixels(60, 50));
  swf::MorphShape parsed;
  ASSERT_TRUE(swf::parseMorphShape(body.data(), body.size(), 1, parsed));
  EXPECT_EQ(parsed.id, 3);
  ASSERT_EQ(parsed.start.edges.size(), 4u);
  ASSERT_EQ(parsed.end.edges.size(), 4u);
  EXPECT_EQ(parsed.end.edges[0].from.x, 30 * kT);
  EXPECT_EQ(parsed.end.edges[0].fill1, 0) << "the end takes the start's styles";
  EXPECT_EQ(parsed.end.bounds.xMax, 60 * kT);
  for (size_t cut = 0; cut < body.size(); ++cut) {
    swf::MorphShape damaged;
    size_t rects = mvqtest::rectBytes(Rect::pixels(20, 20)).size() + mvqtest::rectBytes(Rect::pixels(60, 50)).size();
    size_t header = 2 + rects + 4;
    EXPECT_EQ(swf::parseMorphShape(body.data(), cut, 1, damaged), cut >= header) << cut;
    EXPECT_EQ(damaged.start.edges.size(), damaged.end.edges.size());
  }
}

}  // namespace
