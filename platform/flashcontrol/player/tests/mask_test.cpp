// Masks: objects placed with a clip depth limit the objects above them, up
// to that depth, to what they cover.
#include <gtest/gtest.h>

#include "player_fixture.h"
#include "tags/tag_codes.h"

namespace {

using mvqtest::Bytes;
using mvqtest::Matrix;
using mvqtest::PlaceObject2;
using mvqtest::Rect;
using mvqtest::Rgba;
using mvqtest::SwfBuilder;
using mvqtest::TagStream;
using playertest::FillDraft;
using playertest::Picture;
using playertest::ShapeWriter;

constexpr int kT = 20;  // twips per pixel

// Shape ids used by the movies below.
constexpr uint16_t kRed = 1, kBlue = 2, kGreen = 3, kLeft = 4, kRight = 5, kSquare = 6, kSprite = 10;

enum class Seen { White, Red, Blue, Green, Other };

Seen seen(const Picture& pic, int x, int y) {
  int r = pic.r(x, y), g = pic.g(x, y), b = pic.b(x, y);
  if (r == 255 && g == 255 && b == 255) return Seen::White;
  if (r == 255 && g == 0 && b == 0) return Seen::Red;
  if (r == 0 && g == 0 && b == 255) return Seen::Blue;
  if (r == 0 && g == 255 && b == 0) return Seen::Green;
  return Seen::Other;
}

template <class Tags>
void defineRect(Tags& tags, uint16_t id, Rgba c, int x0, int y0, int x1, int y1) {
  ShapeWriter w(3);
  w.fill(FillDraft::solid(c)).select(0, 1, 0).rect(x0, y0, x1, y1);
  tags.tag(w.tagCode(), w.body(id, Rect::twips(x0, y0, x1, y1)));
}

template <class Tags>
void placeMask(Tags& tags, uint16_t character, uint16_t depth, uint16_t clipDepth) {
  PlaceObject2 p;
  p.depth = depth, p.character = character, p.clipDepth = clipDepth;
  tags.placeObject2(p);
}

// A 100 x 100 pixel white stage with the usual shapes defined: red and blue
// cover the stage, green its top 10 rows; the masks are the left 60 and the
// right 60 columns (colour and alpha of no account: one is fully
// transparent), and a square at 20..60.
SwfBuilder stageWithShapes() {
  SwfBuilder b;
  b.version(8).stage(Rect::pixels(100, 100)).background(255, 255, 255);
  defineRect(b, kRed, {255, 0, 0}, 0, 0, 100 * kT, 100 * kT);
  defineRect(b, kBlue, {0, 0, 255}, 0, 0, 100 * kT, 100 * kT);
  defineRect(b, kGreen, {0, 255, 0}, 0, 0, 100 * kT, 10 * kT);
  defineRect(b, kLeft, {0, 255, 0, 0}, 0, 0, 60 * kT, 100 * kT);
  defineRect(b, kRight, {0, 255, 0}, 40 * kT, 0, 100 * kT, 100 * kT);
  defineRect(b, kSquare, {0, 255, 0}, 20 * kT, 20 * kT, 60 * kT, 60 * kT);
  return b;
}

Picture renderMovie(swf::MoviePlayer& p, const Bytes& movie) {
  playertest::loadInto(p, movie);
  return playertest::render(p, 100, 100);
}

TEST(Mask, ClipsOnlyTheDepthsInItsRange) {
  SwfBuilder b = stageWithShapes();
  b.placeObject2(kGreen, 1);  // below the mask: whole
  placeMask(b, kSquare, 2, 3);
  b.placeObject2(kRed, 3);    // the range: inside the square only
  placeMask(b, kLeft, 4, 4);  // a range holding nothing masks nothing
  b.placeObject2(kBlue, 5, Matrix::translate(70 * kT, 70 * kT));
  b.showFrame();
  swf::MoviePlayer p;
  Picture pic = renderMovie(p, b.finish());
  EXPECT_EQ(seen(pic, 30, 5), Seen::Green);
  EXPECT_EQ(seen(pic, 80, 5), Seen::Green);
  EXPECT_EQ(seen(pic, 20, 20), Seen::Red);  // the mask is not drawn itself
  EXPECT_EQ(seen(pic, 59, 59), Seen::Red);
  EXPECT_EQ(seen(pic, 19, 30), Seen::White);
  EXPECT_EQ(seen(pic, 60, 30), Seen::White);
  EXPECT_EQ(seen(pic, 30, 60), Seen::White);
  EXPECT_EQ(seen(pic, 65, 65), Seen::White);
  EXPECT_EQ(seen(pic, 70, 70), Seen::Blue);  // beyond every range: unmasked
  EXPECT_EQ(seen(pic, 99, 99), Seen::Blue);
}

TEST(Mask, NestedMasksIntersect) {
  SwfBuilder b = stageWithShapes();
  placeMask(b, kLeft, 1, 4);
  placeMask(b, kRight, 2, 4);
  b.placeObject2(kRed, 3);
  placeMask(b, kSquare, 5, 6);  // after both ranges: on its own again
  b.placeObject2(kBlue, 6);
  b.showFrame();
  swf::MoviePlayer p;
  Picture pic = renderMovie(p, b.finish());
  EXPECT_EQ(seen(pic, 45, 10), Seen::Red);
  EXPECT_EQ(seen(pic, 59, 90), Seen::Red);
  EXPECT_EQ(seen(pic, 39, 10), Seen::White);
  EXPECT_EQ(seen(pic, 60, 10), Seen::White);
  EXPECT_EQ(seen(pic, 25, 25), Seen::Blue);
  EXPECT_EQ(seen(pic, 50, 50), Seen::Blue);
  EXPECT_EQ(seen(pic, 70, 50), Seen::White);
}

TEST(Mask, AntiAliasedEdgeGivesPartialCoverage) {
  SwfBuilder b;
  b.version(8).stage(Rect::pixels(100, 100)).background(255, 255, 255);
  defineRect(b, kRed, {255, 0, 0}, 0, 0, 100 * kT, 100 * kT);
  defineRect(b, kLeft, {0, 0, 0}, 0, 0, 20 * kT + kT / 2, 100 * kT);  // the edge halves pixel 20
  placeMask(b, kLeft, 1, 2);
  b.placeObject2(kRed, 2);
  b.showFrame();
  swf::MoviePlayer p;
  Picture pic = renderMovie(p, b.finish());
  EXPECT_EQ(seen(pic, 19, 50), Seen::Red);
  EXPECT_EQ(seen(pic, 21, 50), Seen::White);
  EXPECT_EQ(pic.r(20, 50), 255);
  EXPECT_NEAR(pic.g(20, 50), 127, 2);
  EXPECT_EQ(pic.g(20, 50), pic.b(20, 50));
}

// Two fills that meet along a diagonal each cover half of the pixels on it;
// together they must cover them whole.
TEST(Mask, FillsMeetingInsideAMaskLeaveNoSeam) {
  SwfBuilder b;
  b.version(8).stage(Rect::pixels(100, 100)).background(255, 255, 255);
  defineRect(b, kRed, {255, 0, 0}, 0, 0, 100 * kT, 100 * kT);
  ShapeWriter halves(3);
  halves.fill(FillDraft::solid({0, 0, 0})).fill(FillDraft::solid({0, 0, 0, 0}));
  halves.select(0, 1, 0).moveTo(20 * kT, 20 * kT).lineTo(60 * kT, 20 * kT).lineTo(60 * kT, 60 * kT);
  halves.select(2, 1, 0).lineTo(20 * kT, 20 * kT);
  halves.select(2, 0, 0).lineTo(20 * kT, 60 * kT).lineTo(60 * kT, 60 * kT);
  b.tag(halves.tagCode(), halves.body(kSquare, Rect::twips(20 * kT, 20 * kT, 60 * kT, 60 * kT)));
  placeMask(b, kSquare, 1, 2);
  b.placeObject2(kRed, 2);
  b.showFrame();
  swf::MoviePlayer p;
  Picture pic = renderMovie(p, b.finish());
  for (int i = 21; i < 59; i += 6) EXPECT_EQ(seen(pic, i, i), Seen::Red) << i;
  EXPECT_EQ(seen(pic, 50, 25), Seen::Red);
  EXPECT_EQ(seen(pic, 25, 50), Seen::Red);
  EXPECT_EQ(seen(pic, 10, 10), Seen::White);
}

// The sprite holds a mask over its own red and lets its blue (above the
// range) and the root's later depths be.
TEST(Mask, MaskInsideASpriteWorksWithinThatSprite) {
  SwfBuilder b = stageWithShapes();
  TagStream kid;
  placeMask(kid, kSquare, 1, 2);
  kid.placeObject2(kRed, 2);
  kid.placeObject2(kBlue, 3, Matrix::translate(50 * kT, 80 * kT));
  kid.showFrame();
  b.defineSprite(kSprite, kid);
  b.placeObject2(kSprite, 1, Matrix::translate(10 * kT, 0));
  b.placeObject2(kGreen, 2);
  b.showFrame();
  swf::MoviePlayer p;
  Picture pic = renderMovie(p, b.finish());
  EXPECT_EQ(seen(pic, 30, 30), Seen::Red);  // the square moved with its sprite
  EXPECT_EQ(seen(pic, 69, 59), Seen::Red);
  EXPECT_EQ(seen(pic, 30, 60), Seen::White);
  EXPECT_EQ(seen(pic, 25, 30), Seen::White);
  EXPECT_EQ(seen(pic, 70, 30), Seen::White);
  EXPECT_EQ(seen(pic, 65, 90), Seen::Blue);
  EXPECT_EQ(seen(pic, 50, 5), Seen::Green);
}

TEST(Mask, MaskOverASpriteClipsItsChildren) {
  SwfBuilder b = stageWithShapes();
  TagStream kid;
  kid.placeObject2(kRed, 1);
  kid.placeObject2(kBlue, 2, Matrix::translate(0, 50 * kT));
  kid.showFrame();
  b.defineSprite(kSprite, kid);
  placeMask(b, kSquare, 1, 2);
  b.placeObject2(kSprite, 2);
  b.showFrame();
  swf::MoviePlayer p;
  Picture pic = renderMovie(p, b.finish());
  EXPECT_EQ(seen(pic, 30, 30), Seen::Red);
  EXPECT_EQ(seen(pic, 30, 55), Seen::Blue);
  EXPECT_EQ(seen(pic, 10, 30), Seen::White);
  EXPECT_EQ(seen(pic, 30, 70), Seen::White);
}

// Everything the sprite draws masks, even what a mask of its own cuts.
TEST(Mask, SpriteAsAMaskMasksWithAllItDraws) {
  SwfBuilder b = stageWithShapes();
  TagStream kid;
  kid.placeObject2(kGreen, 1);
  placeMask(kid, kLeft, 2, 3);
  kid.placeObject2(kSquare, 3, Matrix::translate(30 * kT, 40 * kT));  // 50..90 wide, cut to 50..60
  kid.showFrame();
  b.defineSprite(kSprite, kid);
  placeMask(b, kSprite, 1, 2);
  b.placeObject2(kRed, 2);
  b.showFrame();
  swf::MoviePlayer p;
  Picture pic = renderMovie(p, b.finish());
  EXPECT_EQ(seen(pic, 50, 5), Seen::Red);
  EXPECT_EQ(seen(pic, 50, 30), Seen::White);
  EXPECT_EQ(seen(pic, 62, 70), Seen::White);  // the sprite's own mask cut this part
  EXPECT_EQ(seen(pic, 50, 60), Seen::Red);
  EXPECT_EQ(seen(pic, 59, 99), Seen::Red);
  EXPECT_EQ(seen(pic, 45, 70), Seen::White);
}

TEST(Mask, RemovingTheMaskUnmasks) {
  SwfBuilder b = stageWithShapes();
  placeMask(b, kSquare, 1, 2);
  b.placeObject2(kRed, 2);
  b.showFrame();
  b.removeObject2(1).showFrame();
  swf::MoviePlayer p;
  Picture first = renderMovie(p, b.finish());
  EXPECT_EQ(seen(first, 10, 10), Seen::White);
  EXPECT_EQ(seen(first, 30, 30), Seen::Red);
  p.tick();
  Picture second = playertest::render(p, 100, 100);
  EXPECT_EQ(seen(second, 10, 10), Seen::Red);
  EXPECT_EQ(seen(second, 30, 30), Seen::Red);
}

// Mask layers are kept between pictures; one of another size must not see
// what the last one left.
TEST(Mask, APictureOfAnotherSizeStartsFromCleanMasks) {
  SwfBuilder b = stageWithShapes();
  placeMask(b, kLeft, 1, 2);
  b.placeObject2(kRed, 2);
  placeMask(b, kRight, 3, 4);
  b.placeObject2(kBlue, 4, Matrix::translate(0, 50 * kT));
  b.showFrame();
  Bytes movie = b.finish();
  swf::MoviePlayer reused, fresh;
  renderMovie(reused, movie);
  playertest::loadInto(fresh, movie);
  EXPECT_EQ(playertest::render(reused, 37, 53).bgra, playertest::render(fresh, 37, 53).bgra);
  EXPECT_EQ(playertest::render(reused, 100, 100).bgra, playertest::render(fresh, 100, 100).bgra);
}

// A mask placed invisible (PlaceObject3's visible byte) still masks.
TEST(Mask, InvisibleMasksStillMask) {
  SwfBuilder b = stageWithShapes();
  b.version(11);
  // Flags: clip depth and character; then has-visible; depth 1, shape, clip depth 2, visible 0.
  b.tag(uint16_t(swf::TagCode::PlaceObject3), Bytes{0x42, 0x20, 0x01, 0x00, kSquare, 0x00, 0x02, 0x00, 0x00});
  b.placeObject2(kRed, 2);
  b.showFrame();
  swf::MoviePlayer p;
  Picture pic = renderMovie(p, b.finish());
  EXPECT_EQ(seen(pic, 30, 30), Seen::Red);
  EXPECT_EQ(seen(pic, 10, 10), Seen::White);
}

// More masks open at once than the renderer keeps layers for: the movie
// still draws, and what the first ones allow stays masked.
TEST(Mask, ManyNestedMasksAreBounded) {
  SwfBuilder b = stageWithShapes();
  for (uint16_t d = 1; d <= 200; ++d) placeMask(b, kSquare, d, 1000);
  b.placeObject2(kRed, 500);
  b.showFrame();
  swf::MoviePlayer p;
  Picture pic = renderMovie(p, b.finish());
  EXPECT_EQ(seen(pic, 30, 30), Seen::Red);
  EXPECT_EQ(seen(pic, 10, 10), Seen::White);
}

}  // namespace
