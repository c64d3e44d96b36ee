// The coverage rasterizer on polygons alone.
#include <gtest/gtest.h>

#include <cmath>
#include <vector>

#include "render/coverage_rasterizer.h"

namespace {

using swf::EdgeList;
using swf::FillRule;
using swf::PixelBox;
using swf::Vec2;

struct Coverage {
  int width, height;
  std::vector<int> values;
  int at(int x, int y) const { return values[size_t(y * width + x)]; }
  double sum() const {
    double s = 0;
    for (int v : values) s += v;
    return s / 256;
  }
};

Coverage rasterize(const EdgeList& edges, PixelBox clip, FillRule rule = FillRule::NonZero,
                   swf::Quality quality = swf::Quality::High) {
  Coverage c{clip.x1, clip.y1, std::vector<int>(size_t(clip.x1 * clip.y1), 0)};
  swf::CoverageRasterizer r;
  r.setQuality(quality);
  r.fill(edges, clip, rule, [&](int y, int x, int n, const uint16_t* cov) {
    for (int i = 0; i < n; ++i) {
      EXPECT_GE(x + i, clip.x0);
      EXPECT_LT(x + i, clip.x1);
      EXPECT_GE(y, clip.y0);
      EXPECT_LT(y, clip.y1);
      c.values[size_t(y * c.width + x + i)] = cov[i];
    }
  });
  return c;
}

void addRect(EdgeList& e, double x0, double y0, double x1, double y1) {
  Vec2 p[4] = {{x0, y0}, {x1, y0}, {x1, y1}, {x0, y1}};
  e.addPolygon(p, 4);
}

TEST(CoverageRasterizer, PixelAlignedRectangleIsExact) {
  EdgeList e;
  addRect(e, 2, 3, 7, 5);
  Coverage c = rasterize(e, PixelBox{0, 0, 10, 10});
  for (int y = 0; y < 10; ++y)
    for (int x = 0; x < 10; ++x) EXPECT_EQ(c.at(x, y), (x >= 2 && x < 7 && y >= 3 && y < 5) ? 256 : 0) << x << "," << y;
}

TEST(CoverageRasterizer, HalfPixelEdgesCoverHalf) {
  EdgeList e;
  addRect(e, 2.5, 1, 4.5, 3.5);
  Coverage c = rasterize(e, PixelBox{0, 0, 8, 8});
  EXPECT_EQ(c.at(2, 1), 128);
  EXPECT_EQ(c.at(3, 1), 256);
  EXPECT_EQ(c.at(4, 2), 128);
  EXPECT_EQ(c.at(3, 3), 128);
  EXPECT_EQ(c.at(4, 3), 64);
  EXPECT_EQ(c.at(5, 2), 0);
}

TEST(CoverageRasterizer, CoverageAddsUpToTheArea) {
  EdgeList e;
  Vec2 tri[3] = {{1.3, 0.7}, {17.9, 5.2}, {6.1, 14.6}};
  e.addPolygon(tri, 3);
  double area =
      std::fabs((tri[1].x - tri[0].x) * (tri[2].y - tri[0].y) - (tri[2].x - tri[0].x) * (tri[1].y - tri[0].y)) / 2;
  Coverage c = rasterize(e, PixelBox{0, 0, 20, 20});
  EXPECT_NEAR(c.sum(), area, area * 0.01);
}

TEST(CoverageRasterizer, FillRulesDifferWhereSameWayPolygonsOverlap) {
  EdgeList e;
  addRect(e, 0, 0, 6, 6);
  addRect(e, 3, 3, 9, 9);
  Coverage nonZero = rasterize(e, PixelBox{0, 0, 10, 10}, FillRule::NonZero);
  Coverage evenOdd = rasterize(e, PixelBox{0, 0, 10, 10}, FillRule::EvenOdd);
  EXPECT_EQ(nonZero.at(4, 4), 256);
  EXPECT_EQ(evenOdd.at(4, 4), 0);
  EXPECT_EQ(evenOdd.at(1, 1), 256);
  EXPECT_EQ(evenOdd.at(7, 7), 256);
}

void addLoop(EdgeList& e, std::vector<Vec2> pts) {
  for (size_t i = 0; i < pts.size(); ++i) e.addLine(pts[i], pts[(i + 1) % pts.size()], 1);
}

TEST(CoverageRasterizer, OppositeWindingsCutHolesUnderNonZero) {
  EdgeList hole, doubled;
  addLoop(hole, {{0, 0}, {8, 0}, {8, 8}, {0, 8}});
  addLoop(hole, {{2, 2}, {2, 6}, {6, 6}, {6, 2}});
  addLoop(doubled, {{0, 0}, {8, 0}, {8, 8}, {0, 8}});
  addLoop(doubled, {{2, 2}, {6, 2}, {6, 6}, {2, 6}});
  Coverage h = rasterize(hole, PixelBox{0, 0, 10, 10});
  Coverage d = rasterize(doubled, PixelBox{0, 0, 10, 10});
  EXPECT_EQ(h.at(1, 1), 256);
  EXPECT_EQ(h.at(4, 4), 0);
  EXPECT_EQ(d.at(4, 4), 256);
}

TEST(CoverageRasterizer, ClippingKeepsCoverageInsideCorrect) {
  EdgeList e;
  Vec2 tri[3] = {{-50, -40}, {60, 5}, {-20, 90}};
  e.addPolygon(tri, 3);
  Coverage full = rasterize(e, PixelBox{0, 0, 64, 64});
  Coverage clipped = rasterize(e, PixelBox{10, 12, 30, 40});
  for (int y = 12; y < 40; ++y)
    for (int x = 10; x < 30; ++x) EXPECT_EQ(clipped.at(x, y), full.at(x, y)) << x << "," << y;
  EXPECT_EQ(clipped.at(5, 20), 0);
}

TEST(CoverageRasterizer, FarAwayCoordinatesNeitherCrashNorSpill) {
  EdgeList e;
  addRect(e, -1e12, -1e12, 3.5, 1e12);
  Coverage c = rasterize(e, PixelBox{0, 0, 8, 8});
  EXPECT_EQ(c.at(0, 0), 256);
  EXPECT_EQ(c.at(3, 7), 128);
  EXPECT_EQ(c.at(4, 4), 0);
  EdgeList nan;
  nan.addLine({std::nan(""), 0}, {4, std::nan("")}, 1);
  rasterize(nan, PixelBox{0, 0, 8, 8});
}

TEST(CoverageRasterizer, SameEdgesSameCoverage) {
  EdgeList e;
  for (int i = 0; i < 40; ++i) {
    Vec2 tri[3] = {{i * 0.37, i * 0.11}, {20 + i * 0.21, 3 + i * 0.5}, {5 - i * 0.1, 25 + i * 0.05}};
    e.addPolygon(tri, 3);
  }
  Coverage a = rasterize(e, PixelBox{0, 0, 32, 32});
  Coverage b = rasterize(e, PixelBox{0, 0, 32, 32});
  EXPECT_EQ(a.values, b.values);
}

// Without anti-aliasing a pixel belongs to whatever covers its centre:
// shapes that share edges and meet inside a pixel share out every pixel
// exactly once, and a sliver across a centre fills its whole row of pixels.
TEST(CoverageRasterizer, LowQualityTakesEachPixelByItsCentre) {
  const Vec2 p{5.3, 5.6};
  const std::vector<std::vector<Vec2>> parts = {
      {{0, 0}, {10, 0}, p}, {{10, 0}, {10, 10}, p}, {{10, 10}, {0, 10}, p}, {{0, 10}, {0, 0}, p}};
  std::vector<int> total(100, 0);
  for (const auto& part : parts) {
    EdgeList e;
    e.addPolygon(part.data(), part.size());
    Coverage c = rasterize(e, PixelBox{0, 0, 10, 10}, FillRule::NonZero, swf::Quality::Low);
    for (size_t i = 0; i < total.size(); ++i) total[i] += c.values[i];
  }
  for (size_t i = 0; i < total.size(); ++i) EXPECT_EQ(total[i], 256) << i % 10 << "," << i / 10;

  EdgeList sliver;
  addRect(sliver, 2.2, 5.45, 7.7, 5.55);
  Coverage s = rasterize(sliver, PixelBox{0, 0, 10, 10}, FillRule::NonZero, swf::Quality::Low);
  EXPECT_EQ(s.at(1, 5), 0);
  EXPECT_EQ(s.at(2, 5), 256);
  EXPECT_EQ(s.at(7, 5), 256);
  EXPECT_EQ(s.at(8, 5), 0);
  EXPECT_EQ(s.sum(), 6);
}

}  // namespace
