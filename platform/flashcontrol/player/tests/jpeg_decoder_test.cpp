// The JPEG decoder against streams of a test encoder, damaged streams, and
// the pictures inside real movies.
#include "images/jpeg_decoder.h"

#include <gtest/gtest.h>

#include <cstdlib>
#include <fstream>
#include <iterator>
#include <string>

#include "jpeg_test_encoder.h"
#include "read/movie_file.h"
#include "tools/png_codec.h"
#include "tags/tag_reader.h"

namespace {

using jpegtest::Bytes;
using jpegtest::Options;
using jpegtest::Rgb;

// Four flat quadrants, edges on 16-pixel lines so subsampled chroma is flat inside each.
Rgb quadrants(int x, int y) {
  static const Rgb kColours[4] = {{200, 30, 40}, {20, 180, 60}, {40, 60, 220}, {230, 220, 30}};
  return kColours[(x >= 16) + 2 * (y >= 16)];
}

Rgb gradient(int x, int y) { return {x * 4, y * 5, 128 + (x - y)}; }

// Fine detail, so that every coefficient size and refinement case turns up.
Rgb textured(int x, int y) { return {x * 4 + (x * y) % 9, y * 5 + (x * 7 + y * 3) % 13, 100 + (x ^ y) % 17}; }

swf::DecodedImage decode(const jpegtest::Encoded& e) {
  swf::DecodedImage img;
  EXPECT_TRUE(swf::decodeJpeg(e.tables.data(), e.tables.size(), e.image.data(), e.image.size(), &img));
  return img;
}

void expectNear(const swf::Bgra& p, Rgb want, int tolerance, const std::string& where) {
  EXPECT_NEAR(p.r, want.r, tolerance) << where;
  EXPECT_NEAR(p.g, want.g, tolerance) << where;
  EXPECT_NEAR(p.b, want.b, tolerance) << where;
  EXPECT_EQ(p.a, 255) << where;
}

struct Layout {
  const char* name;
  int components, h0, v0;
};

class SamplingLayout : public ::testing::TestWithParam<Layout> {};

// Sizes that are not whole MCUs, away from quadrant edges where chroma blends.
TEST_P(SamplingLayout, KeepsColoursAndSize) {
  Layout l = GetParam();
  Options o;
  o.components = l.components;
  o.h[0] = l.h0;
  o.v[0] = l.v0;
  swf::DecodedImage img = decode(jpegtest::encode(37, 29, quadrants, o));
  ASSERT_EQ(img.width, 37);
  ASSERT_EQ(img.height, 29);
  ASSERT_EQ(img.pixels.size(), 37u * 29u);
  for (int y : {2, 12, 19, 28})
    for (int x : {1, 11, 20, 36}) {
      Rgb want = quadrants(x, y);
      if (l.components == 1) want = {want.r, want.r, want.r};
      expectNear(img.pixels[y * 37 + x], want, 3,
                 std::string(l.name) + " at " + std::to_string(x) + "," + std::to_string(y));
    }
}

INSTANTIATE_TEST_SUITE_P(Layouts, SamplingLayout,
                         ::testing::Values(Layout{"444", 3, 1, 1}, Layout{"422", 3, 2, 1}, Layout{"420", 3, 2, 2},
                                           Layout{"440", 3, 1, 2}, Layout{"grey", 1, 1, 1},
                                           Layout{"grey sampled 2x2", 1, 2, 2}),
                         [](const auto& info) {
                           std::string n = info.param.name;
                           for (char& c : n)
                             if (c == ' ') c = '_';
                           return n;
                         });

// Nearly lossless settings give back a smooth picture; 4:2:0 blends chroma smoothly too.
TEST(JpegDecoder, GradientsComeBackClose) {
  for (int h : {1, 2}) {
    Options o;
    o.h[0] = o.v[0] = h;
    swf::DecodedImage img = decode(jpegtest::encode(40, 40, gradient, o));
    ASSERT_EQ(img.width, 40);
    for (int y = 0; y < 40; ++y)
      for (int x = 0; x < 40; ++x)
        expectNear(img.pixels[y * 40 + x], gradient(x, y), h == 1 ? 3 : 5, "sampling " + std::to_string(h));
  }
}

// Same coefficients however they are laid out: the pixels must be identical.
TEST(JpegDecoder, StreamLayoutsGiveTheSamePixels) {
  Options base;
  base.h[0] = base.v[0] = 2;
  base.quant = 3;
  swf::DecodedImage reference = decode(jpegtest::encode(45, 38, textured, base));
  auto same = [&](Options o, const char* what) {
    swf::DecodedImage img = decode(jpegtest::encode(45, 38, textured, o));
    ASSERT_EQ(img.pixels.size(), reference.pixels.size()) << what;
    for (size_t i = 0; i < img.pixels.size(); ++i)
      ASSERT_TRUE(img.pixels[i].r == reference.pixels[i].r && img.pixels[i].g == reference.pixels[i].g &&
                  img.pixels[i].b == reference.pixels[i].b)
          << what << " pixel " << i;
  };
  Options o = base;
  o.restartInterval = 1;
  same(o, "restart every MCU");
  o.restartInterval = 5;
  same(o, "restart every 5 MCUs");
  o = base;
  o.wideQuant = true;
  same(o, "16-bit quantization");
  o = base;
  o.separateTables = true;
  same(o, "tables apart");
  o = base;
  o.progressive = true;
  same(o, "progressive");
  o.restartInterval = 3;
  same(o, "progressive with restarts");
}

// DefineBits-style streams: tables and picture in one stream split by EOI SOI,
// or an EOI SOI in front.
TEST(JpegDecoder, AcceptsTheSwfWaysOfJoiningStreams) {
  Options o;
  o.separateTables = true;
  jpegtest::Encoded e = jpegtest::encode(20, 20, quadrants, o);
  swf::DecodedImage img;
  EXPECT_FALSE(swf::decodeJpeg(nullptr, 0, e.image.data(), e.image.size(), &img)) << "no tables anywhere";
  Bytes joined = e.tables;
  joined.insert(joined.end(), e.image.begin(), e.image.end());
  ASSERT_TRUE(swf::decodeJpeg(nullptr, 0, joined.data(), joined.size(), &img));
  expectNear(img.pixels[0], quadrants(0, 0), 3, "joined");
  Bytes led{0xFF, 0xD9, 0xFF, 0xD8};
  led.insert(led.end(), joined.begin(), joined.end());
  ASSERT_TRUE(swf::decodeJpeg(nullptr, 0, led.data(), led.size(), &img));
  expectNear(img.pixels[19 * 20 + 19], quadrants(19, 19), 3, "led by EOI SOI");
}

TEST(JpegDecoder, AdobeTransformZeroMeansRgb) {
  Options o;
  o.adobeRgb = true;
  swf::DecodedImage img = decode(jpegtest::encode(32, 32, quadrants, o));
  expectNear(img.pixels[5 * 32 + 5], quadrants(5, 5), 2, "rgb");
  expectNear(img.pixels[30 * 32 + 30], quadrants(30, 30), 2, "rgb");
}

// The entropy data cut halfway: the top is decoded, what is missing is mid-grey.
TEST(JpegDecoder, EndsEarlyWithTheRestGrey) {
  for (bool progressive : {false, true}) {
    Options o;
    o.progressive = progressive;
    jpegtest::Encoded e = jpegtest::encode(32, 64, quadrants, o);
    Bytes cut(e.image.begin(), e.image.end() - (progressive ? 20 : int(e.image.size()) / 4));
    swf::DecodedImage img;
    ASSERT_TRUE(swf::decodeJpeg(nullptr, 0, cut.data(), cut.size(), &img));
    ASSERT_EQ(img.height, 64);
    expectNear(img.pixels[2 * 32 + 2], quadrants(2, 2), progressive ? 12 : 3, "top");
    if (!progressive) expectNear(img.pixels[63 * 32 + 31], {128, 128, 128}, 0, "bottom");
  }
}

Bytes withFrame(int marker, int precision, int width, int height, int components) {
  Options o;
  Bytes img = jpegtest::encode(16, 16, quadrants, o).image;
  for (size_t i = 0; i + 10 < img.size(); ++i)
    if (img[i] == 0xFF && img[i + 1] == 0xC0) {
      img[i + 1] = uint8_t(marker);
      img[i + 4] = uint8_t(precision);
      img[i + 5] = uint8_t(height >> 8);
      img[i + 6] = uint8_t(height);
      img[i + 7] = uint8_t(width >> 8);
      img[i + 8] = uint8_t(width);
      img[i + 9] = uint8_t(components);
      break;
    }
  return img;
}

TEST(JpegDecoder, RefusesWhatItDoesNotDecode) {
  struct Case {
    const char* what;
    Bytes stream;
  };
  const Case cases[] = {
      {"lossless", withFrame(0xC3, 8, 16, 16, 3)},
      {"arithmetic", withFrame(0xC9, 8, 16, 16, 3)},
      {"12-bit", withFrame(0xC1, 12, 16, 16, 3)},
      {"two components", withFrame(0xC0, 8, 16, 16, 2)},
      {"too wide", withFrame(0xC0, 8, 8192, 16, 3)},
      {"too many pixels", withFrame(0xC0, 8, 4096, 4097, 3)},
      {"height from DNL", withFrame(0xC0, 8, 16, 0, 3)},
      {"empty", {}},
      {"only SOI", {0xFF, 0xD8}},
      {"not a JPEG", {'G', 'I', 'F', '8', '9', 'a'}},
  };
  for (const Case& c : cases) {
    swf::DecodedImage img;
    EXPECT_FALSE(swf::decodeJpeg(nullptr, 0, c.stream.data(), c.stream.size(), &img)) << c.what;
  }
  swf::DecodedImage img;
  EXPECT_TRUE(
      swf::decodeJpeg(nullptr, 0, withFrame(0xC1, 8, 16, 16, 3).data(), withFrame(0xC1, 8, 16, 16, 3).size(), &img))
      << "extended 8-bit";
}

// Huffman counts that claim more codes than their lengths allow.
TEST(JpegDecoder, RefusesOverfullHuffmanTables) {
  Options o;
  o.separateTables = true;
  jpegtest::Encoded e = jpegtest::encode(16, 16, quadrants, o);
  size_t dht = 0;
  while (!(e.tables[dht] == 0xFF && e.tables[dht + 1] == 0xC4)) ++dht;
  Bytes bad = e.tables;
  bad[dht + 5] = 3;  // three codes of length 1
  swf::DecodedImage img;
  EXPECT_FALSE(swf::decodeJpeg(bad.data(), bad.size(), e.image.data(), e.image.size(), &img));
  EXPECT_TRUE(swf::decodeJpeg(e.tables.data(), e.tables.size(), e.image.data(), e.image.size(), &img));
}

// Every prefix and a spread of damaged bytes: fail or decode, never more.
TEST(JpegDecoder, SurvivesCutAndDamagedStreams) {
  for (bool progressive : {false, true}) {
    Options o;
    o.progressive = progressive;
    o.h[0] = o.v[0] = 2;
    o.restartInterval = 2;
    Bytes s = jpegtest::encode(24, 24, gradient, o).image;
    for (size_t n = 0; n <= s.size(); ++n) {
      swf::DecodedImage img;
      if (swf::decodeJpeg(nullptr, 0, s.data(), n, &img)) {
        EXPECT_EQ(img.pixels.size(), 24u * 24u);
      }
    }
    uint32_t seed = 12345;
    for (int trial = 0; trial < 400; ++trial) {
      Bytes d = s;
      for (int k = 0; k < 3; ++k) {
        seed = seed * 1103515245u + 12345u;
        d[(seed >> 8) % d.size()] = uint8_t(seed >> 24);
      }
      swf::DecodedImage img;
      if (swf::decodeJpeg(nullptr, 0, d.data(), d.size(), &img)) {
        EXPECT_EQ(img.pixels.size(), size_t(img.width) * img.height);
      }
    }
  }
}

// Real movies: the JPEG tags decode to the sizes and colours the real player showed.
std::string corpusDir() {
  const char* root = std::getenv("MVQ_SOURCE_DIR");
  return std::string(root ? root : ".") + "/../shared/corpus";
}

// The JPEG stream of the first DefineBitsJPEG2/3 tag of a movie.
bool firstJpeg(const std::string& path, Bytes& out) {
  std::ifstream f(path, std::ios::binary);
  if (!f) return false;
  Bytes file((std::istreambuf_iterator<char>(f)), std::istreambuf_iterator<char>());
  swf::MovieFile movie;
  if (!swf::readMovieFile(file, movie)) return false;
  swf::TagReader tags(movie.body.data() + movie.tagsOffset, movie.body.size() - movie.tagsOffset);
  swf::TagRecord t;
  while (tags.next(t)) {
    if (t.code != swf::TagCode::DefineBitsJpeg2 && t.code != swf::TagCode::DefineBitsJpeg3) continue;
    size_t skip = t.code == swf::TagCode::DefineBitsJpeg3 ? 6 : 2;
    if (t.length < skip) return false;
    size_t size = t.length - skip;
    if (t.code == swf::TagCode::DefineBitsJpeg3)
      size = std::min<size_t>(size, t.body[2] | t.body[3] << 8 | t.body[4] << 16 | uint32_t(t.body[5]) << 24);
    out.assign(t.body + skip, t.body + skip + size);
    return true;
  }
  return false;
}

// The 1x1 movies stretch their picture over (50,50)-(149,99) of the stage.
TEST(JpegDecoder, DecodesTheCorpusPictures) {
  struct Case {
    const char* movie;
    int width, height;
  };
  const Case cases[] = {{"crash-0.6.6-1x1-jpeg-5", 1, 1}, {"crash-0.6.6-1x1-jpeg-6", 1, 1},
                        {"crash-0.6.6-1x1-jpeg-7", 1, 1}, {"crash-0.6.6-1x1-jpeg-8", 1, 1},
                        {"image-jpeg-alpha", 16, 16},     {"negative-color-transform", 10, 10}};
  for (const Case& c : cases) {
    std::string movie = corpusDir() + "/swfdec-image/" + c.movie + ".swf";
    Bytes jpeg;
    if (!firstJpeg(movie, jpeg)) GTEST_SKIP() << "no corpus";
    swf::DecodedImage img;
    ASSERT_TRUE(swf::decodeJpeg(nullptr, 0, jpeg.data(), jpeg.size(), &img)) << c.movie;
    ASSERT_EQ(img.width, c.width) << c.movie;
    ASSERT_EQ(img.height, c.height) << c.movie;
    if (c.width != 1) continue;
    swf::tools::RgbImage reference;
    std::string error;
    ASSERT_TRUE(swf::tools::readPng(movie + ".png", reference, error)) << error;
    const uint8_t* shown = &reference.rgb[(75 * size_t(reference.width) + 100) * 3];
    expectNear(img.pixels[0], {shown[0], shown[1], shown[2]}, 3, c.movie);
  }
}

}  // namespace
