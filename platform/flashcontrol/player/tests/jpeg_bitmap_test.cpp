// The JPEG bitmap tags around a stand-in decoder: what the decoder is given
// (tables, stray markers taken out, the deblocking value skipped), the
// alpha plane joined to colours stored premultiplied, and tags with wrong
// lengths refused.
#include <gtest/gtest.h>

#include "bitmap_bodies.h"
#include "images/jpeg_bitmap.h"

namespace {

using playertest::Bytes;
using swf::TagCode;

// What the stand-in decoder last saw; it returns a 2 x 1 picture of
// (r 200, g 100, b 50), or refuses streams that do not start with SOI.
struct Seen {
  Bytes tables, data;
  int calls = 0;
  int width = 2, height = 1;
};
Seen seen;

bool standInDecoder(const uint8_t* tables, size_t tablesSize, const uint8_t* data, size_t size,
                    swf::DecodedImage* out) {
  ++seen.calls;
  seen.tables.assign(tables, tables + tablesSize);
  seen.data.assign(data, data + size);
  if (size < 2 || data[0] != 0xFF || data[1] != 0xD8) return false;
  out->width = seen.width;
  out->height = seen.height;
  out->pixels.assign(2, swf::Bgra{50, 100, 200, 255});
  return true;
}

class JpegBitmap : public ::testing::Test {
 protected:
  void SetUp() override { seen = Seen{}; }
  bool decode(TagCode code, const Bytes& body, const Bytes& tables = {}) {
    swf::JpegBitmapTag tag;
    return swf::readJpegBitmapTag(code, body.data(), body.size(), tag) &&
           swf::decodeJpegBitmap(tag, tables.data(), tables.size(), &standInDecoder, image_);
  }
  swf::DecodedImage image_;
};

const Bytes kJpeg = {0xFF, 0xD8, 0xFF, 0xDB, 0x00, 0x04, 0x01, 0x02, 0xFF, 0xD9};

Bytes withId(const Bytes& rest) {
  Bytes body = {7, 0};
  body.insert(body.end(), rest.begin(), rest.end());
  return body;
}

Bytes jpeg3(const Bytes& image, const Bytes& alpha, bool deblock = false) {
  Bytes body = {7, 0};
  mvqtest::putU32(body, uint32_t(image.size()));
  if (deblock) mvqtest::putU16(body, 0x0100);
  mvqtest::append(body, image);
  mvqtest::append(body, alpha);
  return body;
}

Bytes strip(const Bytes& in) { return swf::withoutStrayMarkers(in.data(), in.size()); }

TEST(JpegMarkers, StrayPairsGoAtTheStartAndBetweenTablesAndImage) {
  Bytes lead = {0xFF, 0xD9, 0xFF, 0xD8};
  lead.insert(lead.end(), kJpeg.begin(), kJpeg.end());
  EXPECT_EQ(strip(lead), kJpeg);
  // Tables, then the pair, then the image: one stream with one SOI and EOI.
  Bytes joined = {0xFF, 0xD8, 0xFF, 0xC4, 0x00, 0x03, 0x09, 0xFF, 0xD9,
                  0xFF, 0xD8, 0xFF, 0xDB, 0x00, 0x03, 0x05, 0xFF, 0xD9};
  Bytes one = {0xFF, 0xD8, 0xFF, 0xC4, 0x00, 0x03, 0x09, 0xFF, 0xDB, 0x00, 0x03, 0x05, 0xFF, 0xD9};
  EXPECT_EQ(strip(joined), one);
}

TEST(JpegMarkers, TheSameBytesInsideSegmentsAndScanDataStay) {
  // An APP0 payload and entropy-coded data that both hold FF D9 FF D8
  // look-alikes (scan data stuffs FF with 00, so only restarts and fill).
  Bytes app = {0xFF, 0xD8, 0xFF, 0xE0, 0x00, 0x06, 0xFF, 0xD9, 0xFF, 0xD8, 0xFF, 0xD9};
  EXPECT_EQ(strip(app), app);
  Bytes scan = {0xFF, 0xD8, 0xFF, 0xDA, 0x00, 0x02, 0x12, 0xFF, 0x00, 0xFF, 0xD0, 0x34, 0xFF, 0xD9};
  EXPECT_EQ(strip(scan), scan);
  // A stream that ends inside a segment's length is copied as it is.
  Bytes cut = {0xFF, 0xD8, 0xFF, 0xDB, 0x00};
  EXPECT_EQ(strip(cut), cut);
  EXPECT_TRUE(strip({}).empty());
}

TEST_F(JpegBitmap, DefineBitsReadsTheTablesAndJpeg2DoesNot) {
  Bytes tables = {0xFF, 0xD8, 0xFF, 0xD9};
  ASSERT_TRUE(decode(TagCode::DefineBits, withId(kJpeg), tables));
  EXPECT_EQ(seen.tables, tables);
  EXPECT_EQ(seen.data, kJpeg);
  ASSERT_TRUE(decode(TagCode::DefineBitsJpeg2, withId(kJpeg), tables));
  EXPECT_TRUE(seen.tables.empty());
  EXPECT_EQ(image_.width, 2);
  EXPECT_EQ(image_.pixels[0].r, 200);
  EXPECT_EQ(image_.pixels[0].a, 255);
}

TEST_F(JpegBitmap, TheDecoderGetsTheStreamWithoutTheStrayPair) {
  Bytes data = {0xFF, 0xD9, 0xFF, 0xD8};
  data.insert(data.end(), kJpeg.begin(), kJpeg.end());
  ASSERT_TRUE(decode(TagCode::DefineBitsJpeg2, withId(data)));
  EXPECT_EQ(seen.data, kJpeg);
}

// The colours are already multiplied by the plane: kept as they are, but
// never above their alpha.
TEST_F(JpegBitmap, AlphaPlaneJoinsColoursStoredPremultiplied) {
  ASSERT_TRUE(decode(TagCode::DefineBitsJpeg3, jpeg3(kJpeg, playertest::zlibBytes({128, 0}))));
  EXPECT_EQ(seen.data, kJpeg);
  const swf::Bgra &half = image_.pixels[0], &clear = image_.pixels[1];
  EXPECT_EQ((std::vector<int>{half.b, half.g, half.r, half.a}), (std::vector<int>{50, 100, 128, 128}));
  EXPECT_EQ((std::vector<int>{clear.b, clear.g, clear.r, clear.a}), (std::vector<int>{0, 0, 0, 0}));
}

TEST_F(JpegBitmap, Jpeg4SkipsItsDeblockingValue) {
  ASSERT_TRUE(decode(TagCode::DefineBitsJpeg4, jpeg3(kJpeg, playertest::zlibBytes({255, 64}), true)));
  EXPECT_EQ(seen.data, kJpeg);
  EXPECT_EQ(image_.pixels[0].a, 255);
  EXPECT_EQ(image_.pixels[1].a, 64);
}

TEST_F(JpegBitmap, AMissingOrShortAlphaPlaneLeavesThePictureOpaque) {
  for (const Bytes& alpha : {Bytes{}, playertest::zlibBytes({9}), Bytes{1, 2, 3}}) {
    ASSERT_TRUE(decode(TagCode::DefineBitsJpeg3, jpeg3(kJpeg, alpha)));
    EXPECT_EQ(image_.pixels[0].a, 255);
    EXPECT_EQ(image_.pixels[1].r, 200);
  }
}

TEST_F(JpegBitmap, WrongLengthsAreRefusedBeforeTheDecoder) {
  Bytes body = jpeg3(kJpeg, {});
  body[2] = uint8_t(kJpeg.size() + 1);  // the image runs past the body
  EXPECT_FALSE(decode(TagCode::DefineBitsJpeg3, body));
  body[2] = 0xFF, body[5] = 0xFF;
  EXPECT_FALSE(decode(TagCode::DefineBitsJpeg3, body));
  EXPECT_FALSE(decode(TagCode::DefineBitsJpeg3, Bytes{7, 0, 0, 0, 0}));
  EXPECT_FALSE(decode(TagCode::DefineBitsJpeg4, Bytes{7, 0, 0, 0, 0, 0, 0}));
  EXPECT_FALSE(decode(TagCode::DefineBitsJpeg2, Bytes{7}));
  EXPECT_EQ(seen.calls, 0);
}

TEST_F(JpegBitmap, DamagedPngAndGifPicturesAreRefused) {
  Bytes png = {0x89, 'P', 'N', 'G', '\r', '\n', 0x1A, '\n', 0, 0, 0, 13};
  EXPECT_FALSE(decode(TagCode::DefineBitsJpeg2, withId(png)));
  EXPECT_FALSE(decode(TagCode::DefineBitsJpeg3, jpeg3(Bytes{'G', 'I', 'F', '8', '9', 'a', 1, 0}, {})));
  EXPECT_EQ(seen.calls, 0);
}

TEST_F(JpegBitmap, RefusedOrImpossiblePicturesAreNotDefined) {
  image_.width = 3;
  EXPECT_FALSE(decode(TagCode::DefineBitsJpeg2, withId({0x00, 0x01})));
  seen.width = 9000;  // past the size limit
  EXPECT_FALSE(decode(TagCode::DefineBitsJpeg2, withId(kJpeg)));
  seen.width = 3;  // more pixels claimed than given
  EXPECT_FALSE(decode(TagCode::DefineBitsJpeg2, withId(kJpeg)));
  EXPECT_EQ(image_.width, 3);
  EXPECT_TRUE(image_.pixels.empty());
  swf::JpegBitmapTag tag;
  ASSERT_TRUE(swf::readJpegBitmapTag(TagCode::DefineBitsJpeg2, kJpeg.data(), kJpeg.size(), tag));
  EXPECT_FALSE(swf::decodeJpegBitmap(tag, nullptr, 0, nullptr, image_));
}

}  // namespace
