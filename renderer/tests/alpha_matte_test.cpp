#include "alpha_matte.h"

#include <gtest/gtest.h>

#include <vector>

namespace {

// One row of pixels drawn over white (3 bytes each) and over black (4 bytes).
struct Row {
  std::vector<uint8_t> white;
  std::vector<uint8_t> black;

  void add(uint8_t w, uint8_t k) {
    white.insert(white.end(), {w, w, w});
    black.insert(black.end(), {k, k, k, 0x55});
  }
  void addColour(const uint8_t w[3], const uint8_t k[3]) {
    white.insert(white.end(), w, w + 3);
    black.insert(black.end(), {k[0], k[1], k[2], 0x55});
  }
  int width() const { return int(white.size() / 3); }
  const uint8_t* pixel(int x) const { return &black[size_t(x) * 4]; }

  void matte(uint32_t background) {
    const MattePasses passes = {white.data(), long(white.size()), black.data(), long(black.size()), width(), 1};
    applyAlphaMatte(passes, background);
  }
};

constexpr uint32_t kBackground = 0x00C86432;  // red 0x32, green 0x64, blue 0xC8

TEST(AlphaMatte, UncoveredPixelTakesTheBackgroundWithAlphaZero) {
  Row row;
  row.add(255, 0);
  row.matte(kBackground);
  const uint8_t* p = row.pixel(0);
  EXPECT_EQ(p[3], 0);
  EXPECT_EQ(p[0], 0xC8);  // blue
  EXPECT_EQ(p[1], 0x64);
  EXPECT_EQ(p[2], 0x32);  // red
}

TEST(AlphaMatte, CoveredPixelKeepsItsColourAtFullAlpha) {
  Row row;
  const uint8_t colour[3] = {10, 200, 77};
  row.addColour(colour, colour);
  row.matte(kBackground);
  const uint8_t* p = row.pixel(0);
  EXPECT_EQ(p[3], 255);
  EXPECT_EQ(p[0], 10);
  EXPECT_EQ(p[1], 200);
  EXPECT_EQ(p[2], 77);
}

TEST(AlphaMatte, HalfCoveredEdgeGetsAlpha127AndItsShareOfTheBackground) {
  Row row;
  row.add(128, 0);
  row.matte(kBackground);
  const uint8_t* p = row.pixel(0);
  EXPECT_EQ(p[3], 127);
  EXPECT_EQ(p[0], 128 * 0xC8 / 255);
  EXPECT_EQ(p[1], 128 * 0x64 / 255);
  EXPECT_EQ(p[2], 128 * 0x32 / 255);
}

TEST(AlphaMatte, AlphaIsTheLargestChannelCoverage) {
  Row row;
  // Blue fully covered by a white shape, green and red uncovered.
  const uint8_t white[3] = {255, 255, 255};
  const uint8_t black[3] = {255, 0, 0};
  row.addColour(white, black);
  row.matte(0);
  EXPECT_EQ(row.pixel(0)[3], 255);
  EXPECT_EQ(row.pixel(0)[0], 255);
  EXPECT_EQ(row.pixel(0)[1], 0);
}

TEST(AlphaMatte, ArithmeticWrapsModulo256) {
  Row row;
  // Black pass brighter than the white pass by 10: (K - W - 1) = 9.
  row.add(100, 110);
  row.matte(0x00FFFFFF);
  const uint8_t* p = row.pixel(0);
  EXPECT_EQ(p[3], 9);
  // 110 + floor(246 * 255 / 255) = 356, kept modulo 256.
  EXPECT_EQ(p[0], uint8_t(110 + 246));
}

TEST(AlphaMatte, RowsFollowTheirOwnStrides) {
  // Two rows of one pixel; the white pass padded to 4 bytes a row, the
  // black pass to 8, with bytes in the padding that must not be touched.
  std::vector<uint8_t> white = {255, 255, 255, 0xEE, 7, 7, 7, 0xEE};
  std::vector<uint8_t> black = {0, 0, 0, 0, 0xAB, 0xAB, 0xAB, 0xAB, 7, 7, 7, 0, 0xAB, 0xAB, 0xAB, 0xAB};
  const MattePasses passes = {white.data(), 4, black.data(), 8, 1, 2};
  applyAlphaMatte(passes, 0x00010203);
  EXPECT_EQ(black[3], 0);
  EXPECT_EQ(black[0], 1);  // blue of the background
  EXPECT_EQ(black[2], 3);  // red
  EXPECT_EQ(black[11], 255);
  EXPECT_EQ(black[8], 7);
  for (int i : {4, 5, 6, 7, 12, 13, 14, 15}) EXPECT_EQ(black[i], 0xAB) << i;
}

TEST(AlphaMatte, EmptyAreaChangesNothing) {
  std::vector<uint8_t> black = {1, 2, 3, 4};
  std::vector<uint8_t> white = {9, 9, 9};
  const MattePasses passes = {white.data(), 3, black.data(), 4, 0, 1};
  applyAlphaMatte(passes, 0x00FFFFFF);
  EXPECT_EQ(black, (std::vector<uint8_t>{1, 2, 3, 4}));
}

}  // namespace
