// Gradient ramps, spread modes and the paint that looks them up.
#include <gtest/gtest.h>

#include <cmath>

#include "render/gradient_ramp.h"
#include "render/paint.h"

namespace {

using swf::Gradient;
using swf::GradientStop;
using swf::Rgba;

Gradient twoStops(Rgba a, Rgba b) {
  Gradient g;
  g.stops = {GradientStop{0, a}, GradientStop{255, b}};
  return g;
}

TEST(GradientRamp, RunsFromFirstToLastStop) {
  swf::GradientRamp r = swf::buildGradientRamp(twoStops({0, 0, 0}, {255, 255, 255}), {});
  EXPECT_EQ(r[0].r, 0);
  EXPECT_EQ(r[255].g, 255);
  EXPECT_NEAR(r[128].b, 128, 1);
  for (int i = 1; i < 256; ++i) EXPECT_GE(r[size_t(i)].r, r[size_t(i - 1)].r);
}

TEST(GradientRamp, LinearRgbMixesLightNotNumbers) {
  Gradient g = twoStops({0, 0, 0}, {255, 255, 255});
  g.interpolation = swf::InterpolationMode::LinearRgb;
  swf::GradientRamp r = swf::buildGradientRamp(g, {});
  // Half the light of white is sRGB 188, not 128.
  EXPECT_NEAR(r[128].r, 188, 2);
  EXPECT_EQ(r[0].r, 0);
  EXPECT_EQ(r[255].r, 255);
}

TEST(GradientRamp, ColoursArePremultipliedAndTransformed) {
  swf::ColorTransform halfAlpha;
  halfAlpha.aMult = 128;
  swf::GradientRamp r = swf::buildGradientRamp(twoStops({255, 0, 0}, {255, 0, 0}), halfAlpha);
  EXPECT_EQ(r[10].a, 127);  // 255 * 128 / 256, as the colour transform rounds
  EXPECT_EQ(r[10].r, 127);
  EXPECT_EQ(r[10].g, 0);
}

TEST(GradientRamp, StopsSharingARatioEachKeepABand) {
  Gradient g;
  g.stops = {{0, {0, 0, 0}}, {128, {255, 0, 0}}, {128, {0, 255, 0}}, {255, {0, 0, 255}}};
  swf::GradientRamp r = swf::buildGradientRamp(g, {});
  EXPECT_EQ(r[128].r, 255);
  EXPECT_EQ(r[129].g, 255);
  EXPECT_GT(r[200].b, r[200].g);
  // Stops that go backwards are moved past the one before them.
  Gradient back;
  back.stops = {{254, {255, 0, 0}}, {0, {0, 0, 255}}, {0, {0, 255, 0}}};
  swf::GradientRamp b = swf::buildGradientRamp(back, {});
  EXPECT_EQ(b[100].r, 255);
  EXPECT_EQ(b[255].b, 255);
}

TEST(GradientRamp, ARunAfterSharedRatiosMixesFromTheGivenRatio) {
  Gradient g;
  g.stops = {{100, {255, 0, 0}}, {100, {0, 255, 0}}, {100, {0, 0, 255}}, {200, {255, 255, 255}}};
  swf::GradientRamp r = swf::buildGradientRamp(g, {});
  EXPECT_EQ(r[100].r, 255);
  EXPECT_EQ(r[101].g, 255);
  // Blue takes entry 102, but the run to white starts from ratio 100: entry
  // 103 is already 3 % of the way.
  EXPECT_EQ(r[102].b, 255);
  EXPECT_EQ(r[102].r, 0);
  EXPECT_EQ(r[103].r, 8);
  EXPECT_EQ(r[150].r, 128);
  EXPECT_EQ(r[200].g, 255);
}

TEST(GradientRamp, NoStopsIsOpaqueBlackAndOneStopIsFlat) {
  swf::GradientRamp none = swf::buildGradientRamp(Gradient{}, {});
  EXPECT_EQ(none[77].a, 255);
  EXPECT_EQ(none[77].r, 0);
  Gradient one;
  one.stops = {{100, {10, 20, 30}}};
  swf::GradientRamp flat = swf::buildGradientRamp(one, {});
  EXPECT_EQ(flat[0].g, 20);
  EXPECT_EQ(flat[255].g, 20);
}

TEST(GradientRamp, SpreadModesFoldPositionsOutsideTheSquare) {
  using swf::SpreadMode;
  EXPECT_EQ(swf::rampIndex(-0.5, SpreadMode::Pad), 0);
  EXPECT_EQ(swf::rampIndex(1.5, SpreadMode::Pad), 255);
  EXPECT_EQ(swf::rampIndex(1.25, SpreadMode::Repeat), swf::rampIndex(0.25, SpreadMode::Pad));
  EXPECT_EQ(swf::rampIndex(-0.75, SpreadMode::Repeat), swf::rampIndex(0.25, SpreadMode::Pad));
  EXPECT_EQ(swf::rampIndex(1.25, SpreadMode::Reflect), swf::rampIndex(0.75, SpreadMode::Pad));
  EXPECT_EQ(swf::rampIndex(-0.25, SpreadMode::Reflect), swf::rampIndex(0.25, SpreadMode::Pad));
  EXPECT_EQ(swf::rampIndex(std::nan(""), SpreadMode::Repeat), 0);
  EXPECT_EQ(swf::rampIndex(1e300, SpreadMode::Reflect) >= 0, true);
}

swf::FillStyle gradientFill(swf::FillStyle::Kind kind) {
  swf::FillStyle f;
  f.kind = kind;
  f.gradient = twoStops({255, 0, 0}, {0, 0, 255});
  // The gradient square (32768 twips wide) scaled to 100 pixels, centred at 50.
  f.matrix = swf::Matrix::translate(1000, 1000) * swf::Matrix::scale(2000.0 / 32768, 2000.0 / 32768);
  return f;
}

TEST(Paint, LinearGradientRunsAlongX) {
  swf::Matrix toPixels = swf::Matrix::scale(1.0 / 20, 1.0 / 20);
  swf::Paint p = swf::Paint::forFill(gradientFill(swf::FillStyle::Kind::Linear), {}, toPixels);
  swf::Bgra row[100];
  p.shade(0, 10, 100, row);
  EXPECT_GE(row[0].r, 250);
  EXPECT_GE(row[99].b, 250);
  EXPECT_NEAR(row[50].r, 127, 3);
  swf::Bgra column[2];
  p.shade(30, 0, 1, column);
  p.shade(30, 90, 1, column + 1);
  EXPECT_EQ(column[0].r, column[1].r);
}

TEST(Paint, RadialAndFocalGradientsStartAtTheirCentres) {
  swf::Matrix toPixels = swf::Matrix::scale(1.0 / 20, 1.0 / 20);
  swf::Paint radial = swf::Paint::forFill(gradientFill(swf::FillStyle::Kind::Radial), {}, toPixels);
  swf::Bgra c[3];
  radial.shade(49, 49, 1, c);
  radial.shade(49, 5, 1, c + 1);
  radial.shade(5, 49, 1, c + 2);
  EXPECT_GT(c[0].r, 240);
  EXPECT_EQ(c[1].r, c[2].r);
  swf::FillStyle focalFill = gradientFill(swf::FillStyle::Kind::Focal);
  focalFill.gradient.focalPoint = 0.75;
  swf::Paint focal = swf::Paint::forFill(focalFill, {}, toPixels);
  swf::Bgra f[2];
  focal.shade(86, 49, 1, f);  // near the focal point at x = 87.5
  focal.shade(49, 49, 1, f + 1);
  EXPECT_GT(f[0].r, 240);
  EXPECT_LT(f[1].r, f[0].r);
}

TEST(Paint, FlattenedGradientShowsItsLastColour) {
  swf::FillStyle f = gradientFill(swf::FillStyle::Kind::Linear);
  f.matrix = swf::Matrix::scale(0, 1);
  swf::Paint p = swf::Paint::forFill(f, {}, swf::Matrix{});
  EXPECT_TRUE(p.isSolid());
  EXPECT_EQ(p.color().b, 255);
}

}  // namespace
