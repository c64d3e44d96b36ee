// DefineBitsLossless(2) bodies decoded to premultiplied pixels: every
// format with its row padding and colour table, and damaged or oversized
// bodies refused.
#include <gtest/gtest.h>

#include "bitmap_bodies.h"
#include "images/lossless_bitmap.h"

namespace {

using playertest::Bytes;
using playertest::losslessBody;

struct Px {
  int b, g, r, a;
};

void expectPixel(const swf::DecodedImage& img, int x, int y, Px want) {
  const swf::Bgra& p = img.pixels[size_t(y) * size_t(img.width) + size_t(x)];
  EXPECT_EQ((std::vector<int>{p.b, p.g, p.r, p.a}), (std::vector<int>{want.b, want.g, want.r, want.a}))
      << "pixel " << x << "," << y;
}

bool decode(const Bytes& body, bool alpha, swf::DecodedImage& out) {
  swf::TagCode code = alpha ? swf::TagCode::DefineBitsLossless2 : swf::TagCode::DefineBitsLossless;
  swf::LosslessBitmapTag tag;
  return swf::readLosslessBitmapTag(code, body.data(), body.size(), tag) && swf::decodeLosslessBitmap(tag, out);
}

TEST(LosslessBitmap, ColourMappedRowsSkipTheirPadding) {
  // Three RGB entries, then 3-pixel rows padded to 4 bytes; the pad bytes
  // hold an index that would show if they were read.
  Bytes raw = {255, 0, 0, 0, 255, 0, 0, 0, 255};
  Bytes rows = {0, 1, 2, 1, /**/ 2, 1, 0, 1};
  raw.insert(raw.end(), rows.begin(), rows.end());
  swf::DecodedImage img;
  ASSERT_TRUE(decode(losslessBody(1, 3, 3, 2, raw, 3), false, img));
  ASSERT_EQ(img.width, 3);
  ASSERT_EQ(img.height, 2);
  ASSERT_EQ(img.pixels.size(), 6u);
  expectPixel(img, 0, 0, {0, 0, 255, 255});
  expectPixel(img, 1, 0, {0, 255, 0, 255});
  expectPixel(img, 2, 0, {255, 0, 0, 255});
  expectPixel(img, 0, 1, {255, 0, 0, 255});
  expectPixel(img, 2, 1, {0, 0, 255, 255});
}

TEST(LosslessBitmap, ColourTableWithAlphaIsPremultipliedAndIndicesPastItAreClear) {
  // Entry 0 half-transparent red, entry 1 a colour above its alpha; index 5
  // lies past the two entries.
  Bytes raw = {128, 0, 0, 128, 200, 10, 90, 100, /**/ 0, 1, 5, 0};
  swf::DecodedImage img;
  ASSERT_TRUE(decode(losslessBody(1, 3, 3, 1, raw, 2), true, img));
  expectPixel(img, 0, 0, {0, 0, 128, 128});
  expectPixel(img, 1, 0, {90, 10, 100, 100});
  expectPixel(img, 2, 0, {0, 0, 0, 0});
}

TEST(LosslessBitmap, FifteenBitPixelsAreBigEndianAndRowsPadded) {
  // 0 rrrrr ggggg bbbbb; 3 pixels take 6 bytes, padded to 8.
  auto pix = [](unsigned r, unsigned g, unsigned b) { return unsigned(r << 10 | g << 5 | b); };
  Bytes raw;
  for (unsigned v : {pix(31, 0, 0), pix(0, 16, 0), pix(0, 0, 1), 0xFFFFu, pix(1, 2, 3), pix(31, 31, 31), 0u, 0u}) {
    raw.push_back(uint8_t(v >> 8));
    raw.push_back(uint8_t(v));
  }
  swf::DecodedImage img;
  ASSERT_FALSE(decode(losslessBody(1, 4, 3, 2, {raw.begin(), raw.begin() + 12}, 0), false, img))
      << "rows read unpadded";
  ASSERT_TRUE(decode(losslessBody(1, 4, 3, 2, raw), false, img));
  expectPixel(img, 0, 0, {0, 0, 255, 255});
  expectPixel(img, 1, 0, {0, 132, 0, 255});
  expectPixel(img, 2, 0, {8, 0, 0, 255});
  // The row's pad (0xFFFF) is skipped: row 1 starts at byte 8.
  expectPixel(img, 0, 1, {24, 16, 8, 255});
  expectPixel(img, 1, 1, {255, 255, 255, 255});
}

TEST(LosslessBitmap, ThirtyTwoBitPixelsIgnoreXOrKeepPremultipliedAlpha) {
  Bytes argb = {0, 10, 20, 30, /**/ 128, 128, 64, 0, /**/ 50, 200, 50, 40};
  swf::DecodedImage opaque, alpha;
  ASSERT_TRUE(decode(losslessBody(1, 5, 3, 1, argb), false, opaque));
  expectPixel(opaque, 0, 0, {30, 20, 10, 255});
  expectPixel(opaque, 1, 0, {0, 64, 128, 255});
  ASSERT_TRUE(decode(losslessBody(1, 5, 3, 1, argb), true, alpha));
  expectPixel(alpha, 0, 0, {0, 0, 0, 0});
  expectPixel(alpha, 1, 0, {0, 64, 128, 128});
  // Colours above their alpha are brought down to it.
  expectPixel(alpha, 2, 0, {40, 50, 50, 50});
}

TEST(LosslessBitmap, UnknownFormatsAndImpossibleSizesAreRefused) {
  Bytes four(8, 0), pixel(4, 255);
  swf::DecodedImage img;
  EXPECT_FALSE(decode(losslessBody(1, 1, 1, 1, pixel), false, img));
  EXPECT_FALSE(decode(losslessBody(1, 4, 1, 1, four), true, img)) << "15-bit pixels have no alpha form";
  EXPECT_FALSE(decode(losslessBody(1, 5, 0, 1, pixel), false, img));
  EXPECT_FALSE(decode(losslessBody(1, 5, 1, 0, pixel), false, img));
  EXPECT_FALSE(decode(losslessBody(1, 5, 8192, 1, Bytes(8192 * 4, 1)), false, img));
  EXPECT_FALSE(decode(losslessBody(1, 5, 1, 8192, Bytes(8192 * 4, 1)), false, img));
  EXPECT_FALSE(decode(losslessBody(1, 5, 4096, 4097, Bytes(1000, 1)), false, img)) << "too many pixels";
  EXPECT_TRUE(decode(losslessBody(1, 5, 8191, 1, Bytes(8191 * 4, 1)), false, img));
  EXPECT_EQ(img.width, 8191);
}

TEST(LosslessBitmap, ShortDamagedOrLyingDataIsRefusedAndLeavesTheOutputAlone) {
  // Bytes that do not compress: every byte of the stream carries pixels.
  Bytes argb(4 * 4 * 4);
  uint32_t seed = 12345;
  for (uint8_t& v : argb) v = uint8_t((seed = seed * 1103515245 + 12345) >> 16);
  Bytes good = losslessBody(1, 5, 4, 4, argb);
  swf::DecodedImage img;
  img.width = 7;
  // Cut anywhere before the stream's closing checksum.
  for (size_t cut = 0; cut + 4 < good.size(); ++cut) {
    EXPECT_FALSE(decode(Bytes(good.begin(), good.begin() + long(cut)), true, img)) << cut;
  }
  Bytes damaged = good;
  damaged[7] ^= 0xFF;  // the zlib header
  EXPECT_FALSE(decode(damaged, true, img));
  // Rows one byte short of the picture they claim.
  EXPECT_FALSE(decode(losslessBody(1, 5, 4, 4, Bytes(argb.begin(), argb.end() - 1)), true, img));
  // The largest picture allowed, claimed by a few bytes of data.
  EXPECT_FALSE(decode(losslessBody(1, 5, 4095, 4096, Bytes(1000, 7)), true, img));
  EXPECT_FALSE(decode(losslessBody(1, 3, 4095, 4096, Bytes(100, 0), 256), false, img));
  EXPECT_EQ(img.width, 7);
  EXPECT_TRUE(img.pixels.empty());
}

}  // namespace
