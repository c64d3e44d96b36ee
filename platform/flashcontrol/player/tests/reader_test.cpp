// The bit/byte reader, the format records and the file container.
#include <gtest/gtest.h>

#include "format/color_transform.h"
#include "format/matrix.h"
#include "read/movie_file.h"
#include "read/swf_reader.h"
#include "swf_builder.h"

namespace {

using mvqtest::BitWriter;
using mvqtest::Bytes;

TEST(SwfReader, BitFieldsCrossByteBoundariesAndSignExtend) {
  BitWriter w;
  w.writeUnsigned(5, 3).writeSigned(-3, 7).writeSigned(1000, 12).writeUnsigned(0xABCDE, 20);
  Bytes bytes = w.bytes();
  swf::SwfReader r(bytes.data(), bytes.size());
  EXPECT_EQ(r.ubits(3), 5u);
  EXPECT_EQ(r.sbits(7), -3);
  EXPECT_EQ(r.sbits(12), 1000);
  EXPECT_EQ(r.ubits(20), 0xABCDEu);
  EXPECT_EQ(r.ubits(0), 0u);
  EXPECT_FALSE(r.overrun());
}

TEST(SwfReader, ReadingPastTheEndGivesZerosAndSaysSo) {
  const uint8_t data[] = {0x34, 0x12, 'a', 'b'};
  swf::SwfReader r(data, sizeof data);
  EXPECT_EQ(r.u16(), 0x1234);
  EXPECT_EQ(r.string(), "ab");  // no terminator: ends at the buffer's end
  EXPECT_FALSE(r.overrun());
  EXPECT_EQ(r.u32(), 0u);
  EXPECT_TRUE(r.overrun());
  EXPECT_EQ(r.sbits(9), 0);
}

TEST(SwfReader, ByteReadsAlignAfterBitFields) {
  const uint8_t data[] = {0xFF, 0x02, 0x01};
  swf::SwfReader r(data, sizeof data);
  EXPECT_EQ(r.ubits(3), 7u);
  EXPECT_EQ(r.u16(), 0x0102);
}

TEST(SwfReader, RecordsMatchWhatTheBuilderWrites) {
  BitWriter w;
  mvqtest::writeRect(w, mvqtest::Rect::twips(-20, 40, 11000, 8000));
  mvqtest::Matrix m;
  m.scaleX = 1.5, m.scaleY = -0.25, m.rotateSkew0 = 0.5, m.rotateSkew1 = -2, m.translateX = -300, m.translateY = 77;
  mvqtest::writeMatrix(w, m);
  mvqtest::ColorTransform cx;
  cx.multR = 128, cx.multA = -256, cx.addG = -255, cx.addA = 100;
  mvqtest::writeColorTransform(w, cx);
  Bytes bytes = w.bytes();
  swf::SwfReader r(bytes.data(), bytes.size());
  swf::Rect rect = r.rect();
  EXPECT_EQ(rect.xMin, -20);
  EXPECT_EQ(rect.yMin, 40);
  EXPECT_EQ(rect.xMax, 11000);
  EXPECT_EQ(rect.yMax, 8000);
  swf::Matrix read = r.matrix();
  EXPECT_DOUBLE_EQ(read.a, 1.5);
  EXPECT_DOUBLE_EQ(read.d, -0.25);
  EXPECT_DOUBLE_EQ(read.b, 0.5);
  EXPECT_DOUBLE_EQ(read.c, -2);
  EXPECT_EQ(read.tx, -300);
  EXPECT_EQ(read.ty, 77);
  swf::ColorTransform t = r.colorTransform(true);
  EXPECT_EQ(t.rMult, 128);
  EXPECT_EQ(t.aMult, -256);
  EXPECT_EQ(t.gAdd, -255);
  EXPECT_EQ(t.aAdd, 100);
  EXPECT_FALSE(r.overrun());
}

TEST(Matrix, ComposesInnerFirstAndInverts) {
  swf::Matrix outer = swf::Matrix::translate(10, 20) * swf::Matrix::scale(2, 3);
  swf::Vec2 p = outer.apply(1, 1);
  EXPECT_DOUBLE_EQ(p.x, 12);
  EXPECT_DOUBLE_EQ(p.y, 23);
  swf::Matrix inv;
  ASSERT_TRUE(outer.inverse(inv));
  swf::Vec2 back = inv.apply(p.x, p.y);
  EXPECT_NEAR(back.x, 1, 1e-12);
  EXPECT_NEAR(back.y, 1, 1e-12);
  EXPECT_FALSE(swf::Matrix::scale(0, 5).inverse(inv));
}

TEST(ColorTransform, ClampsAndComposesLikeApplyingBoth) {
  swf::ColorTransform halfAlpha;
  halfAlpha.aMult = 128;
  swf::ColorTransform redBoost;
  redBoost.rAdd = 200;
  redBoost.gMult = -256;
  swf::Rgba c = redBoost.apply(swf::Rgba{100, 50, 0, 255});
  EXPECT_EQ(c.r, 255);  // clamped
  EXPECT_EQ(c.g, 0);    // negative clamped
  swf::Rgba both = (halfAlpha * redBoost).apply(swf::Rgba{10, 50, 0, 200});
  swf::Rgba stepwise = halfAlpha.apply(redBoost.apply(swf::Rgba{10, 50, 0, 200}));
  EXPECT_EQ(both.r, stepwise.r);
  EXPECT_EQ(both.a, stepwise.a);
  EXPECT_EQ(both.a, 100);
}

Bytes simpleMovie() {
  mvqtest::SwfBuilder b;
  b.version(7).stage(mvqtest::Rect::pixels(320, 240)).frameRate(25).background(1, 2, 3);
  b.defineRectShape(1, mvqtest::Rect::twips(0, 0, 400, 400), mvqtest::Rgba{255, 0, 0});
  b.placeObject2(1, 1);
  b.showFrame().showFrame();
  return b.finish();
}

TEST(MovieFile, PlainAndCompressedGiveTheSameBody) {
  mvqtest::SwfBuilder b;
  b.version(8).stage(mvqtest::Rect::pixels(320, 240)).frameRate(25);
  b.defineRectShape(1, mvqtest::Rect::twips(0, 0, 400, 400), mvqtest::Rgba{255, 0, 0});
  b.showFrame();
  swf::MovieFile plain, packed;
  ASSERT_TRUE(swf::readMovieFile(b.finish(), plain));
  ASSERT_TRUE(swf::readMovieFile(b.finish(mvqtest::Compression::Zlib), packed));
  EXPECT_EQ(plain.version, 8);
  EXPECT_EQ(plain.frameSize.xMax, 6400);
  EXPECT_EQ(plain.frameSize.yMax, 4800);
  EXPECT_DOUBLE_EQ(plain.frameRate, 25);
  EXPECT_EQ(plain.frameCount, 1);
  EXPECT_EQ(plain.body, packed.body);
  EXPECT_EQ(plain.tagsOffset, packed.tagsOffset);
}

TEST(MovieFile, RefusesWhatIsNoMovie) {
  swf::MovieFile m;
  EXPECT_FALSE(swf::readMovieFile(Bytes{}, m));
  EXPECT_FALSE(swf::readMovieFile(Bytes{'F', 'W', 'S'}, m));
  const Bytes movie = simpleMovie();
  ASSERT_TRUE(swf::readMovieFile(movie, m));
  Bytes wrong = movie;
  wrong[0] = 'Z';  // LZMA movies are not played
  EXPECT_FALSE(swf::readMovieFile(wrong, m));
  Bytes headerCut(movie.begin(), movie.begin() + 10);
  EXPECT_FALSE(swf::readMovieFile(headerCut, m));
}

TEST(MovieFile, CompressedLengthThatLiesCostsOnlyWhatIsThere) {
  mvqtest::SwfBuilder b;
  b.fileLength(200u << 20);
  b.showFrame();
  swf::MovieFile m;
  ASSERT_TRUE(swf::readMovieFile(b.finish(mvqtest::Compression::Zlib), m));
  EXPECT_LT(m.body.size(), 100u);
  mvqtest::SwfBuilder huge;
  huge.fileLength(0xFFFFFFF0u).showFrame();
  EXPECT_FALSE(swf::readMovieFile(huge.finish(mvqtest::Compression::Zlib), m));
}

TEST(MovieFile, CompressedStreamCutShortKeepsWhatInflated) {
  Bytes packed = [] {
    mvqtest::SwfBuilder b;
    for (int i = 0; i < 200; ++i)
      b.defineRectShape(uint16_t(i + 1), mvqtest::Rect::twips(0, 0, 20 * i, 400), mvqtest::Rgba{uint8_t(i), 0, 0});
    b.showFrame();
    return b.finish(mvqtest::Compression::Zlib, 0);
  }();
  packed.resize(packed.size() / 2);
  swf::MovieFile m;
  ASSERT_TRUE(swf::readMovieFile(packed, m));
  EXPECT_GT(m.body.size(), 1000u);
}

}  // namespace
