// What lets a host keep a rendered picture and repaint only what changed: the
// player's revision and the area where two pictures differ.
#include <gtest/gtest.h>

#include <memory>
#include <vector>

#include "player_fixture.h"
#include "render/picture_difference.h"

namespace {

using mvqtest::Rect;
using mvqtest::SwfBuilder;

struct Pixels {
  int width, height;
  std::vector<uint8_t> bytes;
  Pixels(int w, int h) : width(w), height(h), bytes(size_t(w) * h * 4, 7) {}
  void poke(int x, int y, int channel) { ++bytes[(size_t(y) * width + x) * 4 + channel]; }
};

swf::PixelRect difference(const Pixels& a, const Pixels& b) {
  return swf::differingArea(a.bytes.data(), b.bytes.data(), a.width, a.height);
}

void expectArea(const swf::PixelRect& r, int left, int top, int right, int bottom) {
  EXPECT_EQ(r.left, left);
  EXPECT_EQ(r.top, top);
  EXPECT_EQ(r.right, right);
  EXPECT_EQ(r.bottom, bottom);
}

TEST(PictureDifference, EqualPicturesAndBadArgumentsGiveNothing) {
  Pixels a(9, 5), b(9, 5);
  EXPECT_TRUE(difference(a, b).empty());
  EXPECT_TRUE(swf::differingArea(nullptr, b.bytes.data(), 9, 5).empty());
  EXPECT_TRUE(swf::differingArea(a.bytes.data(), b.bytes.data(), 0, 5).empty());
  EXPECT_TRUE(swf::differingArea(a.bytes.data(), b.bytes.data(), 9, -1).empty());
}

TEST(PictureDifference, OnePixelAtEachCornerAndEveryChannelCounts) {
  const int corners[4][2] = {{0, 0}, {8, 0}, {0, 4}, {8, 4}};
  for (int channel = 0; channel < 4; ++channel)
    for (const auto& c : corners) {
      Pixels a(9, 5), b(9, 5);
      b.poke(c[0], c[1], channel);
      expectArea(difference(a, b), c[0], c[1], c[0] + 1, c[1] + 1);
    }
}

TEST(PictureDifference, ScatteredChangesGiveTheirBoundingBox) {
  Pixels a(40, 30), b(40, 30);
  b.poke(20, 3, 1);   // the first row with a change sets the box's top
  b.poke(5, 10, 0);   // further left on a later row
  b.poke(33, 12, 2);  // further right, on a row whose left part is equal
  b.poke(21, 25, 3);  // inside the columns already known: only the bottom grows
  expectArea(difference(a, b), 5, 3, 34, 26);
  Pixels wide(40, 30);
  wide.poke(0, 7, 0);
  wide.poke(39, 7, 0);
  expectArea(difference(a, wide), 0, 7, 40, 8);
}

mvqtest::Bytes twoFrames() {
  SwfBuilder b;
  b.stage(Rect::pixels(20, 20)).frameRate(12);
  b.showFrame().showFrame();
  return b.finish();
}

TEST(PlayerRevision, ChangesWithEverythingThatMayChangeThePicture) {
  swf::MoviePlayer p;
  uint64_t seen = p.revision();
  auto changed = [&] {
    const bool moved = p.revision() != seen;
    seen = p.revision();
    return moved;
  };
  ASSERT_TRUE(p.load(twoFrames()));
  EXPECT_TRUE(changed()) << "load";
  p.tick();
  EXPECT_TRUE(changed()) << "tick";
  p.gotoFrame(0);
  EXPECT_TRUE(changed()) << "goto";
  p.stop();
  EXPECT_TRUE(changed()) << "stop";
  p.play();
  EXPECT_TRUE(changed()) << "play";
  p.rewind();
  EXPECT_TRUE(changed()) << "rewind";
  p.silence();
  EXPECT_TRUE(changed()) << "silence";
  playertest::render(p, 20, 20);
  p.currentFrame();
  p.frameCount();
  EXPECT_FALSE(changed()) << "rendering and asking change nothing";
  EXPECT_FALSE(p.load({0x46, 0x57, 0x53}));
  EXPECT_FALSE(changed()) << "a failed load keeps the movie";
}

TEST(PlayerRevision, NoTwoPlayersShareOne) {
  swf::MoviePlayer a, b;
  EXPECT_NE(a.revision(), b.revision());
  a.tick();
  b.tick();
  EXPECT_NE(a.revision(), b.revision());
  auto c = std::make_unique<swf::MoviePlayer>();
  const uint64_t first = c->revision();
  c = std::make_unique<swf::MoviePlayer>();
  EXPECT_NE(first, c->revision()) << "a new player in the old one's place";
}

}  // namespace
