// DefineShape 1-4: styles, style groups and edges as the renderer sees them.
#include <gtest/gtest.h>

#include "shape_writer.h"
#include "tags/shape_parser.h"

namespace {

using playertest::FillDraft;
using playertest::LineDraft;
using playertest::ShapeWriter;
using playertest::Stop;

swf::Shape parse(const ShapeWriter& w, uint16_t id = 7) {
  mvqtest::Bytes body = w.body(id, mvqtest::Rect::twips(0, 0, 2000, 2000));
  swf::Shape s;
  EXPECT_TRUE(swf::parseShape(body.data(), body.size(), w.version(), s));
  return s;
}

TEST(ShapeParser, RectangleEdgesNameTheirFillOnOneSide) {
  ShapeWriter w(1);
  w.fill(FillDraft::solid({255, 0, 0})).select(0, 1, 0).rect(100, 200, 1100, 700);
  swf::Shape s = parse(w);
  EXPECT_EQ(s.id, 7);
  EXPECT_EQ(s.bounds.xMax, 2000);
  ASSERT_EQ(s.fills.size(), 1u);
  EXPECT_EQ(s.fills[0].color.r, 255);
  EXPECT_EQ(s.fills[0].color.a, 255);
  ASSERT_EQ(s.edges.size(), 4u);
  for (const swf::ShapeEdge& e : s.edges) {
    EXPECT_EQ(e.fill0, -1);
    EXPECT_EQ(e.fill1, 0);
    EXPECT_EQ(e.line, -1);
  }
  EXPECT_EQ(s.edges[0].from, (swf::Point{100, 200}));
  EXPECT_EQ(s.edges[1].to, (swf::Point{1100, 700}));
  EXPECT_EQ(s.edges[3].to, (swf::Point{100, 200}));
}

TEST(ShapeParser, CurvesKeepTheirControlPoint) {
  ShapeWriter w(3);
  w.fill(FillDraft::solid({0, 0, 255, 128})).select(1, 0, 0).moveTo(0, 0).curveTo(500, -300, 1000, 0).lineTo(0, 0);
  swf::Shape s = parse(w);
  ASSERT_EQ(s.edges.size(), 2u);
  EXPECT_TRUE(s.edges[0].curved);
  EXPECT_EQ(s.edges[0].control, (swf::Point{500, -300}));
  EXPECT_EQ(s.edges[0].to, (swf::Point{1000, 0}));
  EXPECT_FALSE(s.edges[1].curved);
  EXPECT_EQ(s.fills[0].color.a, 128);
}

TEST(ShapeParser, MoreThan254StylesUseTheExtendedCount) {
  ShapeWriter w(2);
  for (int i = 0; i < 300; ++i) w.fill(FillDraft::solid({uint8_t(i), 0, 0}));
  w.select(0, 300, 0).rect(0, 0, 100, 100);
  swf::Shape s = parse(w);
  ASSERT_EQ(s.fills.size(), 300u);
  EXPECT_EQ(s.fills[299].color.r, uint8_t(299));
  ASSERT_EQ(s.edges.size(), 4u);
  EXPECT_EQ(s.edges[0].fill1, 299);
}

TEST(ShapeParser, NewStylesStartAGroupWithItsOwnIndices) {
  ShapeWriter w(3);
  w.fill(FillDraft::solid({255, 0, 0})).line(LineDraft::solid(40, {0, 0, 0}));
  w.select(0, 1, 1).rect(0, 0, 100, 100);
  w.newStyles({FillDraft::solid({0, 255, 0}), FillDraft::solid({0, 0, 255})}, {});
  w.select(0, 2, 0).rect(200, 0, 300, 100);
  swf::Shape s = parse(w);
  ASSERT_EQ(s.groups.size(), 2u);
  EXPECT_EQ(s.groups[0].fillCount, 1);
  EXPECT_EQ(s.groups[0].lineCount, 1);
  EXPECT_EQ(s.groups[1].firstFill, 1);
  EXPECT_EQ(s.groups[1].fillCount, 2);
  EXPECT_EQ(s.groups[1].lineCount, 0);
  ASSERT_EQ(s.edges.size(), 8u);
  EXPECT_EQ(s.edges[0].line, 0);
  EXPECT_EQ(s.edges[4].fill1, 2);  // the group's second fill: blue
  EXPECT_EQ(s.fills[2].color.b, 255);
  EXPECT_EQ(s.edges[4].line, -1);
}

TEST(ShapeParser, StyleIndexBeyondItsGroupMeansNone) {
  ShapeWriter w(3);
  w.fill(FillDraft::solid({255, 0, 0})).fill(FillDraft::solid({0, 255, 0}));
  w.select(0, 3, 0).rect(0, 0, 100, 100);  // index 3 of 2 fills
  swf::Shape s = parse(w);
  EXPECT_TRUE(s.edges.empty());  // an edge that draws nothing is not kept
}

TEST(ShapeParser, GradientFieldsAndFocalPoint) {
  mvqtest::Matrix m = mvqtest::Matrix::scale(0.5, 0.25, 100, 200);
  FillDraft focal = FillDraft::gradient(0x13, m, {{0, {255, 0, 0}}, {128, {0, 255, 0, 10}}, {255, {0, 0, 255}}}, 1);
  focal.interpolation = 1;
  focal.focal = -0.5;
  ShapeWriter w(4);
  w.fill(focal).fill(FillDraft::gradient(0x10, {}, {}, 2)).select(0, 1, 0).rect(0, 0, 10, 10);
  swf::Shape s = parse(w);
  ASSERT_EQ(s.fills.size(), 2u);
  const swf::FillStyle& f = s.fills[0];
  EXPECT_EQ(f.kind, swf::FillStyle::Kind::Focal);
  EXPECT_EQ(f.gradient.spread, swf::SpreadMode::Reflect);
  EXPECT_EQ(f.gradient.interpolation, swf::InterpolationMode::LinearRgb);
  ASSERT_EQ(f.gradient.stops.size(), 3u);
  EXPECT_EQ(f.gradient.stops[1].ratio, 128);
  EXPECT_EQ(f.gradient.stops[1].color.a, 10);
  EXPECT_DOUBLE_EQ(f.gradient.focalPoint, -0.5);
  EXPECT_DOUBLE_EQ(f.matrix.a, 0.5);
  EXPECT_DOUBLE_EQ(f.matrix.ty, 200);
  EXPECT_EQ(s.fills[1].kind, swf::FillStyle::Kind::Linear);
  EXPECT_TRUE(s.fills[1].gradient.stops.empty());
  EXPECT_EQ(s.fills[1].gradient.spread, swf::SpreadMode::Repeat);
}

TEST(ShapeParser, LineStyle2CarriesCapsJoinsAndFill) {
  LineDraft miter = LineDraft::solid(60, {1, 2, 3, 200});
  miter.startCap = 2, miter.endCap = 1, miter.join = 2, miter.miterLimit = 1.5, miter.noClose = true;
  LineDraft filled = LineDraft::solid(20, {});
  filled.fill = FillDraft::gradient(0x12, {}, {{0, {9, 9, 9}}, {255, {200, 200, 200}}});
  filled.noHScale = true;
  ShapeWriter w(4);
  w.nonZero().line(miter).line(filled).select(0, 0, 2).moveTo(0, 0).lineTo(100, 0);
  swf::Shape s = parse(w);
  EXPECT_TRUE(s.nonZeroWinding);
  ASSERT_EQ(s.lines.size(), 2u);
  EXPECT_EQ(s.lines[0].width, 60);
  EXPECT_EQ(s.lines[0].startCap, swf::CapStyle::Square);
  EXPECT_EQ(s.lines[0].endCap, swf::CapStyle::None);
  EXPECT_EQ(s.lines[0].join, swf::JoinStyle::Miter);
  EXPECT_DOUBLE_EQ(s.lines[0].miterLimit, 1.5);
  EXPECT_TRUE(s.lines[0].noClose);
  EXPECT_EQ(s.lines[0].color.a, 200);
  EXPECT_TRUE(s.lines[1].hasFill);
  EXPECT_TRUE(s.lines[1].noHScale);
  EXPECT_EQ(s.lines[1].fill.kind, swf::FillStyle::Kind::Radial);
  ASSERT_EQ(s.edges.size(), 1u);
  EXPECT_EQ(s.edges[0].line, 1);
}

TEST(ShapeParser, DamagedShapesKeepWhatWasReadable) {
  ShapeWriter w(3);
  w.fill(FillDraft::solid({255, 0, 0})).select(0, 1, 0).rect(0, 0, 1000, 1000).rect(2000, 0, 3000, 1000);
  mvqtest::Bytes body = w.body(3, mvqtest::Rect::twips(0, 0, 3000, 1000));
  for (size_t cut = 0; cut < body.size(); ++cut) {
    swf::Shape s;
    bool ok = swf::parseShape(body.data(), cut, 3, s);
    if (cut < 3) {
      EXPECT_FALSE(ok) << cut;
    }
    EXPECT_LE(s.edges.size(), 8u);
  }
  // An unknown fill type ends the styles: no edges follow.
  mvqtest::Bytes bad = body;
  bad[2 + mvqtest::rectBytes(mvqtest::Rect::twips(0, 0, 3000, 1000)).size() + 1] = 0x77;
  swf::Shape s;
  EXPECT_TRUE(swf::parseShape(bad.data(), bad.size(), 3, s));
  EXPECT_TRUE(s.edges.empty());
}

}  // namespace
