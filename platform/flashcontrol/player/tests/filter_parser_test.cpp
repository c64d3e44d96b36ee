// The FILTERLIST of PlaceObject3 read field by field, and lists cut short.
#include <gtest/gtest.h>

#include <cmath>

#include "place3_writer.h"
#include "tags/filter_parser.h"
#include "tags/place_object.h"

namespace {

using mvqtest::Bytes;
using playertest::ShadowDraft;
namespace filters = playertest::filters;

bool parse(const std::vector<Bytes>& list, swf::FilterList& out) {
  Bytes b{uint8_t(list.size())};
  for (const Bytes& f : list) b.insert(b.end(), f.begin(), f.end());
  swf::SwfReader r(b.data(), b.size());
  return swf::parseFilterList(r, out);
}

TEST(FilterParser, ReadsEachKindsFields) {
  ShadowDraft s;
  s.color = {10, 20, 30, 40};
  s.highlight = {50, 60, 70, 80};
  s.blurX = 4.5, s.blurY = 2.25, s.angle = 0.785, s.distance = 3;
  s.strength = 1.5, s.inner = true, s.knockout = false, s.compositeSource = true, s.onTop = true, s.passes = 3;
  swf::FilterList out;
  ASSERT_TRUE(
      parse({filters::dropShadow(s), filters::blur(7, 8, 31), filters::glow(s), filters::bevel(s),
             filters::gradientGlow({{0, {1, 2, 3, 4}}, {255, {5, 6, 7, 8}}}, s),
             filters::convolution(2, 1, {0.5f, -1}, 3, 4, {9, 9, 9, 9}, true, false),
             filters::colorMatrix(std::vector<float>(20, 0.25f)), filters::gradientBevel({{128, {1, 1, 1, 1}}}, s)},
            out));
  ASSERT_EQ(out.size(), 8u);
  const swf::Filter& shadow = out[0];
  EXPECT_EQ(shadow.kind, swf::Filter::Kind::DropShadow);
  EXPECT_TRUE(shadow.color == (swf::Rgba{10, 20, 30, 40}));
  EXPECT_DOUBLE_EQ(shadow.blurX, 4.5);
  EXPECT_DOUBLE_EQ(shadow.blurY, 2.25);
  EXPECT_NEAR(shadow.angle, 0.785, 1e-4);
  EXPECT_DOUBLE_EQ(shadow.distance, 3);
  EXPECT_DOUBLE_EQ(shadow.strength, 1.5);
  EXPECT_TRUE(shadow.inner && shadow.compositeSource && !shadow.knockout);
  EXPECT_EQ(shadow.passes, 3);
  EXPECT_EQ(out[1].kind, swf::Filter::Kind::Blur);
  EXPECT_EQ(out[1].passes, 31);
  EXPECT_DOUBLE_EQ(out[1].blurY, 8);
  EXPECT_EQ(out[2].kind, swf::Filter::Kind::Glow);
  EXPECT_EQ(out[2].passes, 3);
  const swf::Filter& bevel = out[3];
  EXPECT_TRUE(bevel.highlight == (swf::Rgba{50, 60, 70, 80}));
  EXPECT_TRUE(bevel.onTop);
  EXPECT_EQ(bevel.passes, 3);  // 4 bits where onTop takes one
  ASSERT_EQ(out[4].gradient.size(), 2u);
  EXPECT_EQ(out[4].gradient[1].ratio, 255);
  EXPECT_TRUE(out[4].gradient[1].color == (swf::Rgba{5, 6, 7, 8}));
  const swf::Filter& conv = out[5];
  EXPECT_EQ(conv.matrixX, 2);
  EXPECT_EQ(conv.matrixY, 1);
  ASSERT_EQ(conv.kernel.size(), 2u);
  EXPECT_FLOAT_EQ(conv.kernel[1], -1);
  EXPECT_FLOAT_EQ(conv.divisor, 3);
  EXPECT_FLOAT_EQ(conv.bias, 4);
  EXPECT_TRUE(conv.clamp && !conv.preserveAlpha);
  EXPECT_FLOAT_EQ(out[6].matrix[19], 0.25f);
  EXPECT_EQ(out[7].kind, swf::Filter::Kind::GradientBevel);
}

TEST(FilterParser, RefusesCutListsUnknownKindsAndHugeKernels) {
  swf::FilterList out;
  Bytes cut = filters::blur(3, 3, 1);
  cut.pop_back();
  EXPECT_FALSE(parse({cut}, out));
  EXPECT_FALSE(parse({Bytes{9, 0, 0}}, out));
  EXPECT_FALSE(parse({filters::blur(3, 3, 1), Bytes{5, 16, 1, 0, 0}}, out));
  EXPECT_EQ(out.size(), 1u);  // what came whole before the fault
  EXPECT_TRUE(parse({filters::convolution(15, 15, std::vector<float>(225, 1.f), 1, 0, {}, true, false)}, out));
  // Lists past 16 filters keep their first 16.
  EXPECT_TRUE(parse(std::vector<Bytes>(40, filters::blur(2, 2, 1)), out));
  EXPECT_EQ(out.size(), 16u);
}

TEST(FilterParser, PlaceObject3KeepsItsFieldsAfterTheList) {
  playertest::Place3 p;
  p.character = 7;
  p.filters = {filters::blur(2, 2, 1)};
  p.blendMode = 3;
  p.cacheAsBitmap = true;
  p.opaqueBackground = mvqtest::Rgba{1, 2, 3, 4};
  Bytes body = p.body();
  swf::PlaceCommand c;
  ASSERT_TRUE(swf::parsePlaceObject(swf::TagCode::PlaceObject3, body.data(), body.size(), c));
  ASSERT_TRUE(c.hasFilters && c.filters);
  EXPECT_EQ(c.filters->size(), 1u);
  EXPECT_TRUE(c.hasBlendMode);
  EXPECT_EQ(c.blendMode, 3);
  EXPECT_TRUE(c.hasCacheAsBitmap && c.cacheAsBitmap);
  EXPECT_TRUE(c.hasOpaqueBackground);
  EXPECT_TRUE(c.opaqueBackground == (swf::Rgba{1, 2, 3, 4}));
}

}  // namespace
