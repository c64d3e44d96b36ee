// Drawing quality: low draws edges without anti-aliasing, medium
// anti-aliases in four steps, high and best exactly, bitmaps alike; and
// the stage fits that the control's scale settings ask for.
#include <gtest/gtest.h>

#include <set>

#include "bitmap_bodies.h"
#include "player_fixture.h"
#include "render/coverage_rasterizer.h"
#include "render/quality.h"

namespace {

using playertest::Picture;
using swf::Quality;

constexpr int kT = 20;  // twips per pixel

std::set<int> coverageValues(Quality q) {
  swf::EdgeList e;
  swf::Vec2 triangle[3] = {{0.3, 0.2}, {19.6, 3.1}, {7.2, 15.9}};
  e.addPolygon(triangle, 3);
  swf::CoverageRasterizer r;
  r.setQuality(q);
  std::set<int> seen;
  r.fill(e, swf::PixelBox{0, 0, 20, 20}, swf::FillRule::NonZero, [&](int, int, int n, const uint16_t* cov) {
    for (int i = 0; i < n; ++i) seen.insert(cov[i]);
  });
  return seen;
}

TEST(Quality, CoverageStepsPerQuality) {
  EXPECT_EQ(coverageValues(Quality::Low), (std::set<int>{0, 256}));
  EXPECT_EQ(coverageValues(Quality::Medium), (std::set<int>{0, 64, 128, 192, 256}));
  EXPECT_GT(coverageValues(Quality::High).size(), 20u);
  EXPECT_EQ(coverageValues(Quality::High), coverageValues(Quality::Best));
  // Low quality coverage is all or nothing, from half up.
  EXPECT_EQ(swf::coverageAt(Quality::Low, 127), 0u);
  EXPECT_EQ(swf::coverageAt(Quality::Low, 128), 256u);
  EXPECT_EQ(swf::coverageAt(Quality::Medium, 95), 64u);
  EXPECT_EQ(swf::coverageAt(Quality::Medium, 96), 128u);
}

TEST(Quality, NamesAsTheControlGivesThem) {
  Quality q = Quality::High;
  EXPECT_TRUE(swf::qualityFromName("LOW", q));
  EXPECT_EQ(q, Quality::Low);
  EXPECT_TRUE(swf::qualityFromName("Medium", q));
  EXPECT_EQ(q, Quality::Medium);
  EXPECT_TRUE(swf::qualityFromName("best", q));
  EXPECT_EQ(q, Quality::Best);
  EXPECT_FALSE(swf::qualityFromName("autohigh", q));
  EXPECT_FALSE(swf::qualityFromName("", q));
  EXPECT_EQ(q, Quality::Best) << "unchanged by names it refuses";
}

// A black triangle on white: at low quality only the two colours appear.
std::set<int> greysOf(Quality q) {
  playertest::ShapeWriter w(1);
  w.fill(playertest::FillDraft::solid({0, 0, 0})).select(0, 1, 0).moveTo(0, 0);
  w.lineTo(37 * kT + 7, 5 * kT).lineTo(9 * kT, 40 * kT - 3).lineTo(0, 0);
  swf::MoviePlayer p;
  playertest::loadInto(p, playertest::movieWithShape(w, mvqtest::Rect::twips(0, 0, 40 * kT, 40 * kT), 40, 40));
  p.setQuality(q);
  Picture pic = playertest::render(p, 40, 40);
  std::set<int> greys;
  for (int y = 0; y < 40; ++y)
    for (int x = 0; x < 40; ++x) greys.insert(pic.g(x, y));
  return greys;
}

TEST(Quality, TheWholePlayerDrawsAtItsQuality) {
  EXPECT_EQ(greysOf(Quality::Low), (std::set<int>{0, 255}));
  EXPECT_LE(greysOf(Quality::Medium).size(), 5u);
  EXPECT_GT(greysOf(Quality::High).size(), 10u);
  swf::MoviePlayer p;
  uint64_t before = p.revision();
  p.setQuality(Quality::Low);
  EXPECT_NE(p.revision(), before) << "a host must draw again";
  EXPECT_EQ(p.quality(), Quality::Low);
}

// Black and white bitmap pixels, each 20 stage pixels wide, in a fill that
// asks for smoothing.
Picture smoothedFill(Quality q) {
  mvqtest::SwfBuilder b;
  b.version(8).stage(mvqtest::Rect::pixels(40, 2)).background(255, 255, 255);
  b.tag(playertest::kDefineBitsLossless2, playertest::argbBody(1, 2, 1, {255, 0, 0, 0, 255, 255, 255, 255}));
  playertest::ShapeWriter w(3);
  w.fill(playertest::FillDraft::bitmapFill(0x41, 1, mvqtest::Matrix::scale(20 * kT, 20 * kT)))
      .select(0, 1, 0)
      .rect(0, 0, 40 * kT, 2 * kT);
  b.tag(w.tagCode(), w.body(2, mvqtest::Rect::twips(0, 0, 40 * kT, 2 * kT)));
  b.placeObject2(2, 1).showFrame();
  swf::MoviePlayer p;
  playertest::loadInto(p, b.finish());
  p.setQuality(q);
  return playertest::render(p, 40, 2);
}

TEST(Quality, BitmapsAreSmoothedAsTheirFillsAskAtEveryQuality) {
  Picture high = smoothedFill(Quality::High);
  EXPECT_GT(high.g(19, 0), 60);
  EXPECT_LT(high.g(20, 0), 200);
  for (Quality q : {Quality::Low, Quality::Medium, Quality::Best}) {
    Picture pic = smoothedFill(q);
    for (int x = 0; x < 40; ++x) EXPECT_EQ(pic.g(x, 0), high.g(x, 0)) << x;
  }
}

// An 8 x 8 bitmap of black and white columns, in a fill that does not ask
// for smoothing, shrunk into 2 x 2 pixels.
Picture shrunkStripes(Quality q) {
  mvqtest::SwfBuilder b;
  b.version(8).stage(mvqtest::Rect::pixels(2, 2)).background(255, 0, 0);
  mvqtest::Bytes argb;
  for (int i = 0; i < 64; ++i) {
    const uint8_t v = i % 2 ? 255 : 0;
    argb.insert(argb.end(), {255, v, v, v});
  }
  b.tag(playertest::kDefineBitsLossless2, playertest::argbBody(1, 8, 8, argb));
  playertest::ShapeWriter w(3);
  w.fill(playertest::FillDraft::bitmapFill(0x43, 1, mvqtest::Matrix::scale(kT / 4.0, kT / 4.0)))
      .select(0, 1, 0)
      .rect(0, 0, 2 * kT, 2 * kT);
  b.tag(w.tagCode(), w.body(2, mvqtest::Rect::twips(0, 0, 2 * kT, 2 * kT)));
  b.placeObject2(2, 1).showFrame();
  swf::MoviePlayer p;
  playertest::loadInto(p, b.finish());
  p.setQuality(q);
  return playertest::render(p, 2, 2);
}

// Above low quality a bitmap shrunk to half or less is read from copies
// reduced by halves: the stripes come out as their grey mean. Low quality
// reads the bitmap itself and hits single stripes.
TEST(Quality, ShrunkBitmapsKeepTheirMeanAboveLow) {
  for (Quality q : {Quality::Medium, Quality::High, Quality::Best}) {
    Picture pic = shrunkStripes(q);
    for (int y = 0; y < 2; ++y)
      for (int x = 0; x < 2; ++x) EXPECT_NEAR(pic.g(x, y), 128, 2) << x << "," << y;
  }
  Picture low = shrunkStripes(Quality::Low);
  for (int y = 0; y < 2; ++y)
    for (int x = 0; x < 2; ++x) EXPECT_TRUE(low.g(x, y) == 0 || low.g(x, y) == 255) << low.g(x, y);
}

// A 20 x 10 pixel stage, red, with a blue right half, in a 40 x 40 view.
Picture fitted(swf::ScaleMode mode) {
  mvqtest::SwfBuilder b;
  b.stage(mvqtest::Rect::pixels(20, 10)).background(255, 0, 0);
  b.defineRectShape(1, mvqtest::Rect::twips(10 * kT, 0, 20 * kT, 10 * kT), mvqtest::Rgba{0, 0, 255});
  b.placeObject2(1, 1).showFrame();
  swf::MoviePlayer p;
  playertest::loadInto(p, b.finish());
  return playertest::render(p, 40, 40, mode);
}

TEST(Quality, NoBorderCoversTheViewAndCutsTheStage) {
  Picture all = fitted(swf::ScaleMode::ShowAll);
  EXPECT_EQ(all.r(30, 5), 255) << "show all leaves bands of background above and below";
  EXPECT_EQ(all.b(30, 20), 255);
  Picture cover = fitted(swf::ScaleMode::NoBorder);
  EXPECT_EQ(cover.b(30, 5), 255);
  // Scaled by 4 and centred: 80 x 40, of which x 20..60 shows.
  for (int y : {0, 39}) {
    EXPECT_EQ(cover.r(0, y), 255);
    EXPECT_EQ(cover.r(19, y), 255);
    EXPECT_EQ(cover.b(20, y), 255);
    EXPECT_EQ(cover.b(39, y), 255);
  }
}

}  // namespace
