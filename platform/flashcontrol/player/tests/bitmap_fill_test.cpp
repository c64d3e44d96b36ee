// Shapes filled with lossless bitmaps, drawn by the whole player: the fill
// matrix, repeating against clipped edges, nearest against smoothed
// sampling, colour transforms, and fills naming no bitmap.
#include <gtest/gtest.h>

#include "bitmap_bodies.h"
#include "player_fixture.h"

namespace {

using mvqtest::Bytes;
using mvqtest::Matrix;
using mvqtest::PlaceObject2;
using mvqtest::Rect;
using mvqtest::SwfBuilder;
using playertest::FillDraft;
using playertest::Picture;
using playertest::ShapeWriter;

constexpr int kT = 20;  // twips per pixel
constexpr uint8_t kRepeatSmooth = 0x40, kClipSmooth = 0x41, kRepeatNearest = 0x42, kClipNearest = 0x43;

// Bitmap-space matrix showing each bitmap pixel as k x k stage pixels.
Matrix pixelsOf(double k, int shiftPixels = 0) { return Matrix::scale(k * kT, k * kT, shiftPixels * kT, 0); }

struct Scene {
  int width = 8, height = 2;
  Bytes bitmapTag;  // DefineBitsLossless2 body, id 1
  FillDraft fill;
  std::optional<mvqtest::ColorTransform> cx;
  bool bitmapAfterShape = false;
};

Picture draw(const Scene& s) {
  SwfBuilder b;
  b.version(8).stage(Rect::pixels(s.width, s.height)).background(255, 255, 255);
  ShapeWriter w(3);
  w.fill(s.fill).select(0, 1, 0).rect(0, 0, s.width * kT, s.height * kT);
  if (!s.bitmapAfterShape) b.tag(playertest::kDefineBitsLossless2, s.bitmapTag);
  b.tag(w.tagCode(), w.body(2, Rect::twips(0, 0, s.width * kT, s.height * kT)));
  if (s.bitmapAfterShape) b.tag(playertest::kDefineBitsLossless2, s.bitmapTag);
  PlaceObject2 place;
  place.character = 2, place.depth = 1, place.colorTransform = s.cx;
  b.placeObject2(place).showFrame();
  swf::MoviePlayer p;
  playertest::loadInto(p, b.finish());
  return playertest::render(p, s.width, s.height);
}

// Opaque red then opaque blue.
Bytes redBlue() { return playertest::argbBody(1, 2, 1, {255, 255, 0, 0, 255, 0, 0, 255}); }

TEST(BitmapFill, RepeatingFillsTileAndClippedOnesStretchTheirEdge) {
  Scene s;
  s.bitmapTag = redBlue();
  s.fill = FillDraft::bitmapFill(kRepeatNearest, 1, pixelsOf(1));
  Picture tiled = draw(s);
  s.fill = FillDraft::bitmapFill(kClipNearest, 1, pixelsOf(1));
  Picture clipped = draw(s);
  // Shifted one pixel right: what lies left of the bitmap is its last column.
  s.fill = FillDraft::bitmapFill(kRepeatNearest, 1, pixelsOf(1, 1));
  Picture shifted = draw(s);
  for (int x = 0; x < 8; ++x) {
    bool red = x % 2 == 0;
    EXPECT_EQ(tiled.r(x, 1), red ? 255 : 0) << x;
    EXPECT_EQ(tiled.b(x, 1), red ? 0 : 255) << x;
    EXPECT_EQ(clipped.b(x, 0), x == 0 ? 0 : 255) << x;
    EXPECT_EQ(shifted.r(x, 0), red ? 0 : 255) << x;
  }
}

TEST(BitmapFill, NearestKeepsPixelsSharpWhereSmoothingBlends) {
  // Black then white, each bitmap pixel 20 stage pixels wide.
  Scene s;
  s.width = 40;
  s.bitmapTag = playertest::argbBody(1, 2, 1, {255, 0, 0, 0, 255, 255, 255, 255});
  s.fill = FillDraft::bitmapFill(kClipNearest, 1, pixelsOf(20));
  Picture sharp = draw(s);
  s.fill = FillDraft::bitmapFill(kClipSmooth, 1, pixelsOf(20));
  Picture smooth = draw(s);
  for (int x = 0; x < 40; ++x) EXPECT_EQ(sharp.g(x, 1), x < 20 ? 0 : 255) << x;
  // Bitmap pixel centres fall on stage x 10 and 30: clamped beyond them,
  // rising between.
  EXPECT_EQ(smooth.g(9, 0), 0);
  EXPECT_EQ(smooth.g(0, 0), 0);
  EXPECT_EQ(smooth.g(30, 0), 255);
  EXPECT_EQ(smooth.g(39, 0), 255);
  EXPECT_NEAR(smooth.g(19, 0), 121, 1);
  EXPECT_NEAR(smooth.g(20, 0), 134, 1);
  for (int x = 10; x <= 30; ++x) EXPECT_GT(smooth.g(x, 0), smooth.g(x - 1, 0)) << x;
}

TEST(BitmapFill, SmoothedRepeatingFillsBlendAcrossTheSeam) {
  Scene s;
  s.width = 40;
  s.bitmapTag = playertest::argbBody(1, 2, 1, {255, 0, 0, 0, 255, 255, 255, 255});
  s.fill = FillDraft::bitmapFill(kRepeatSmooth, 1, pixelsOf(20));
  Picture pic = draw(s);
  // Left of the first centre the white column wraps in (a clipped fill
  // shows black there).
  EXPECT_NEAR(pic.g(0, 0), 121, 1);
  EXPECT_NEAR(pic.g(9, 0), 7, 1);
  EXPECT_NEAR(pic.g(39, 0), 134, 1);
}

TEST(BitmapFill, ColourTransformsWorkOnStraightColour) {
  // Half-transparent red, then a clear pixel.
  Scene s;
  s.width = 2, s.height = 1;
  s.bitmapTag = playertest::argbBody(1, 2, 1, {128, 128, 0, 0, 0, 0, 0, 0});
  s.fill = FillDraft::bitmapFill(kClipNearest, 1, pixelsOf(1));
  mvqtest::ColorTransform cx;
  cx.multR = 128, cx.addG = 100;
  s.cx = cx;
  Picture pic = draw(s);
  // Red halves to 127 and green becomes 100, both at alpha 128, over white.
  EXPECT_NEAR(pic.r(0, 0), 191, 1);
  EXPECT_NEAR(pic.g(0, 0), 177, 1);
  EXPECT_NEAR(pic.b(0, 0), 127, 1);
  // The clear pixel gains nothing from the added green.
  EXPECT_EQ(pic.g(1, 0), 255);
  EXPECT_EQ(pic.r(1, 0), 255);
}

TEST(BitmapFill, FillsNamingNoBitmapDrawNothing) {
  Scene s;
  s.bitmapTag = redBlue();
  for (uint16_t id : {uint16_t(0xFFFF), uint16_t(2), uint16_t(9)}) {
    s.fill = FillDraft::bitmapFill(kRepeatNearest, id, pixelsOf(1));
    EXPECT_EQ(draw(s).g(0, 0), 255) << id;
  }
  s.fill = FillDraft::bitmapFill(kRepeatNearest, 1, pixelsOf(1));
  s.bitmapAfterShape = true;
  EXPECT_EQ(draw(s).g(0, 0), 255) << "bitmap defined after the shape";
  s.bitmapAfterShape = false;
  s.bitmapTag.resize(s.bitmapTag.size() - 6);
  EXPECT_EQ(draw(s).g(0, 0), 255) << "damaged bitmap";
  s.bitmapTag = redBlue();
  s.fill = FillDraft::bitmapFill(kRepeatNearest, 1, Matrix::scale(0, 0));
  EXPECT_EQ(draw(s).g(0, 0), 255) << "bitmap squashed flat";
}

TEST(BitmapFill, LinesCanBePaintedWithABitmap) {
  SwfBuilder b;
  b.version(8).stage(Rect::pixels(8, 8)).background(255, 255, 255);
  b.tag(playertest::kDefineBitsLossless2, redBlue());
  playertest::LineDraft line = playertest::LineDraft::solid(4 * kT, {0, 0, 0});
  line.fill = FillDraft::bitmapFill(kRepeatNearest, 1, pixelsOf(1));
  ShapeWriter w(4);
  w.line(line).select(0, 0, 1).moveTo(0, 4 * kT).lineTo(8 * kT, 4 * kT);
  b.tag(w.tagCode(), w.body(2, Rect::twips(0, 0, 8 * kT, 8 * kT)));
  b.placeObject2(2, 1).showFrame();
  swf::MoviePlayer p;
  playertest::loadInto(p, b.finish());
  Picture pic = playertest::render(p, 8, 8);
  EXPECT_EQ(pic.r(2, 4), 255);
  EXPECT_EQ(pic.b(2, 4), 0);
  EXPECT_EQ(pic.b(3, 4), 255);
  EXPECT_EQ(pic.g(3, 0), 255);
}

}  // namespace
