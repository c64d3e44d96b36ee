// PNG and GIF pictures inside DefineBitsJPEG2 and DefineBitsJPEG3, found by
// their signatures: their own transparency counts and JPEG3's alpha plane,
// which the format applies to JPEG data only, does not; damaged or oversized
// pictures define nothing.
#include <gtest/gtest.h>

#include "bitmap_bodies.h"
#include "images/embedded_picture.h"
#include "images/jpeg_bitmap.h"
#include "player_fixture.h"

#define STB_IMAGE_WRITE_STATIC
#define STB_IMAGE_WRITE_IMPLEMENTATION
#include <stb_image_write.h>

namespace {

using playertest::Bytes;
using swf::TagCode;

// 2 x 2, RGBA rows: opaque red, half-transparent green; opaque blue, clear.
const Bytes kRgba = {255, 0, 0, 255, 0, 255, 0, 128, 0, 0, 255, 255, 9, 9, 9, 0};

Bytes pngOf(const Bytes& rgba, int width, int height) {
  Bytes png;
  stbi_write_png_to_func(
      [](void* context, void* data, int size) {
        auto* out = static_cast<Bytes*>(context);
        out->insert(out->end(), static_cast<uint8_t*>(data), static_cast<uint8_t*>(data) + size);
      },
      &png, width, height, 4, rgba.data(), width * 4);
  return png;
}

// A GIF89a of 2 x 2 pixels over a four-colour table (white, red, green,
// blue) with index 0 transparent. Its LZW codes are 3 bits, each literal
// after a clear code, so the code table never grows.
Bytes gifOf(const uint8_t (&indices)[4]) {
  Bytes g = {'G', 'I', 'F', '8', '9', 'a', 2, 0, 2, 0, 0x81, 0, 0};
  mvqtest::append(g, {255, 255, 255, 255, 0, 0, 0, 255, 0, 0, 0, 255});
  mvqtest::append(g, {0x21, 0xF9, 4, 0x01, 0, 0, 0, 0});  // index 0 is transparent
  mvqtest::append(g, {0x2C, 0, 0, 0, 0, 2, 0, 2, 0, 0});  // the image, no local table
  uint32_t bits = 0;
  int used = 0;
  Bytes data;
  auto put = [&](uint32_t code) {
    bits |= code << used;
    used += 3;
    while (used >= 8) data.push_back(uint8_t(bits)), bits >>= 8, used -= 8;
  };
  for (uint8_t i : indices) put(4), put(i);
  put(5);
  if (used) data.push_back(uint8_t(bits));
  g.push_back(2);  // LZW minimum code size
  g.push_back(uint8_t(data.size()));
  mvqtest::append(g, data);
  mvqtest::append(g, {0, 0x3B});
  return g;
}

bool noJpeg(const uint8_t*, size_t, const uint8_t*, size_t, swf::DecodedImage*) { return false; }

bool decodeTag(TagCode code, const Bytes& picture, const Bytes& alphaPlane, swf::DecodedImage& out) {
  Bytes body = {3, 0};
  if (code == TagCode::DefineBitsJpeg3) mvqtest::putU32(body, uint32_t(picture.size()));
  mvqtest::append(body, picture);
  mvqtest::append(body, alphaPlane);
  swf::JpegBitmapTag tag;
  return swf::readJpegBitmapTag(code, body.data(), body.size(), tag) &&
         swf::decodeJpegBitmap(tag, nullptr, 0, &noJpeg, out);
}

void expectPixel(const swf::DecodedImage& image, int i, swf::Bgra want) {
  const swf::Bgra& p = image.pixels[size_t(i)];
  EXPECT_EQ(p.b, want.b) << i;
  EXPECT_EQ(p.g, want.g) << i;
  EXPECT_EQ(p.r, want.r) << i;
  EXPECT_EQ(p.a, want.a) << i;
}

TEST(EmbeddedPicture, PngInJpeg2IsDecodedPremultiplied) {
  swf::DecodedImage image;
  ASSERT_TRUE(decodeTag(TagCode::DefineBitsJpeg2, pngOf(kRgba, 2, 2), {}, image));
  ASSERT_EQ(image.width, 2);
  ASSERT_EQ(image.height, 2);
  expectPixel(image, 0, {0, 0, 255, 255});
  expectPixel(image, 1, {0, 128, 0, 128});
  expectPixel(image, 2, {255, 0, 0, 255});
  expectPixel(image, 3, {0, 0, 0, 0});
}

TEST(EmbeddedPicture, Jpeg3AlphaPlaneAppliesToJpegDataOnly) {
  swf::DecodedImage image;
  Bytes clearPlane = playertest::zlibBytes(Bytes(4, 0));
  ASSERT_TRUE(decodeTag(TagCode::DefineBitsJpeg3, pngOf(kRgba, 2, 2), clearPlane, image));
  expectPixel(image, 0, {0, 0, 255, 255});
  expectPixel(image, 1, {0, 128, 0, 128});
}

TEST(EmbeddedPicture, GifTransparencyIsItsOwn) {
  swf::DecodedImage image;
  const uint8_t indices[4] = {1, 2, 0, 3};
  ASSERT_TRUE(decodeTag(TagCode::DefineBitsJpeg2, gifOf(indices), {}, image));
  ASSERT_EQ(image.pixels.size(), 4u);
  expectPixel(image, 0, {0, 0, 255, 255});
  expectPixel(image, 1, {0, 255, 0, 255});
  expectPixel(image, 2, {0, 0, 0, 0});
  expectPixel(image, 3, {255, 0, 0, 255});
}

TEST(EmbeddedPicture, DamagedOrOversizedPicturesDefineNothing) {
  Bytes png = pngOf(kRgba, 2, 2);
  swf::DecodedImage image;
  for (size_t cut : {size_t(8), size_t(20), png.size() / 2, png.size() - 13}) {
    Bytes cutShort(png.begin(), png.begin() + long(cut));
    EXPECT_FALSE(decodeTag(TagCode::DefineBitsJpeg2, cutShort, {}, image)) << cut;
  }
  // A header claiming a picture wider than bitmaps may be.
  Bytes wide = pngOf(Bytes(9000 * 4, 200), 9000, 1);
  EXPECT_FALSE(decodeTag(TagCode::DefineBitsJpeg2, wide, {}, image));
  EXPECT_FALSE(swf::decodePngOrGif(wide.data(), 0, image));
  // DefineBits holds JPEG data only.
  EXPECT_FALSE(decodeTag(TagCode::DefineBits, png, {}, image));
  EXPECT_TRUE(image.pixels.empty());
}

// The whole player: a GIF bitmap filling a shape shows the stage through its
// transparent pixel.
TEST(EmbeddedPicture, ShapesFillWithThePicture) {
  constexpr int kT = 20;
  mvqtest::SwfBuilder b;
  b.version(8).stage(mvqtest::Rect::pixels(2, 2)).background(255, 255, 255);
  const uint8_t indices[4] = {1, 2, 0, 3};
  Bytes tag = {1, 0};
  mvqtest::append(tag, gifOf(indices));
  b.tag(21, tag);
  playertest::ShapeWriter w(3);
  w.fill(playertest::FillDraft::bitmapFill(0x43, 1, mvqtest::Matrix::scale(kT, kT)));
  w.select(0, 1, 0).rect(0, 0, 2 * kT, 2 * kT);
  b.tag(w.tagCode(), w.body(2, mvqtest::Rect::pixels(2, 2)));
  b.placeObject2(2, 1).showFrame();
  swf::MoviePlayer p;
  playertest::loadInto(p, b.finish());
  playertest::Picture pic = playertest::render(p, 2, 2);
  EXPECT_EQ(pic.r(0, 0), 255);
  EXPECT_EQ(pic.g(0, 0), 0);
  EXPECT_EQ(pic.g(1, 0), 255);
  EXPECT_EQ(pic.r(1, 0), 0);
  EXPECT_EQ(pic.r(0, 1), 255);
  EXPECT_EQ(pic.g(0, 1), 255);
  EXPECT_EQ(pic.b(0, 1), 255) << "white stage through the transparent pixel";
  EXPECT_EQ(pic.b(1, 1), 255);
  EXPECT_EQ(pic.r(1, 1), 0);
}

}  // namespace
