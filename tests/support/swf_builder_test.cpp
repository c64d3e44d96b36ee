// The builder's records checked against the SWF layouts, decoded independently.
#include "swf_builder.h"

#include <gtest/gtest.h>
#include <zlib.h>

using namespace mvqtest;

namespace {

class BitReader {
 public:
  BitReader(const Bytes& bytes, size_t offset) : bytes_(bytes), bit_(offset * 8) {}
  uint32_t u(int bits) {
    uint32_t v = 0;
    for (int i = 0; i < bits; ++i, ++bit_) v = v << 1 | ((bytes_.at(bit_ / 8) >> (7 - bit_ % 8)) & 1);
    return v;
  }
  int32_t s(int bits) {
    if (bits == 0) return 0;
    const uint32_t v = u(bits);
    return (v >> (bits - 1)) ? static_cast<int32_t>(v | ~((1u << (bits - 1)) * 2 - 1)) : static_cast<int32_t>(v);
  }
  size_t alignedByte() const { return (bit_ + 7) / 8; }

 private:
  const Bytes& bytes_;
  size_t bit_;
};

uint32_t le16(const Bytes& b, size_t at) { return b.at(at) | b.at(at + 1) << 8; }
uint32_t le32(const Bytes& b, size_t at) { return le16(b, at) | le16(b, at + 2) << 16; }

Bytes inflated(const uint8_t* data, size_t size, size_t expected) {
  Bytes out(expected);
  uLongf outSize = static_cast<uLongf>(expected);
  EXPECT_EQ(uncompress(out.data(), &outSize, data, static_cast<uLong>(size)), Z_OK);
  out.resize(outSize);
  return out;
}

}  // namespace

TEST(BitWriter, PacksMostSignificantBitFirstAndPads) {
  BitWriter w;
  w.writeUnsigned(0b101, 3).writeSigned(-1, 2).writeUnsigned(1, 1);
  EXPECT_EQ(w.bytes(), (Bytes{0b10111100}));
  w.align().writeUnsigned(0xABCD, 16);
  EXPECT_EQ(w.bytes(), (Bytes{0b10111100, 0xAB, 0xCD}));
  EXPECT_EQ(BitWriter::signedBits(0), 0);
  EXPECT_EQ(BitWriter::signedBits(-1), 1);
  EXPECT_EQ(BitWriter::signedBits(1), 2);
  EXPECT_EQ(BitWriter::signedBits(-50), 7);
  EXPECT_EQ(BitWriter::unsignedBits(0xFFFFFFFFu), 32);
}

TEST(Rect, StageOf550By400IsTheWellKnownNineBytes) {
  EXPECT_EQ(rectBytes(Rect::pixels(550, 400)), (Bytes{0x78, 0x00, 0x05, 0x5F, 0x00, 0x00, 0x0F, 0xA0, 0x00}));
}

TEST(Rect, ExplicitWidthsFromZeroToThirtyOne) {
  EXPECT_EQ(rectBytes(Rect::twips(5, 6, 7, 8, 0)), Bytes{0x00});
  for (int nbits : {1, 7, 16, 31}) {
    const Rect r = Rect::twips(1, 0, -1, 1, nbits);
    const Bytes bytes = rectBytes(r);
    ASSERT_EQ(bytes.size(), static_cast<size_t>((4 * nbits + 12) / 8)) << nbits;
    BitReader in(bytes, 0);
    EXPECT_EQ(in.u(5), static_cast<uint32_t>(nbits));
    EXPECT_EQ(in.u(nbits), 1u);                                     // xmin
    EXPECT_EQ(in.u(nbits), nbits == 32 ? ~0u : (1u << nbits) - 1);  // xmax = -1, unsigned
    EXPECT_EQ(in.u(nbits), 0u);
    EXPECT_EQ(in.u(nbits), 1u & ((1u << nbits) - 1));
  }
}

TEST(TagStream, ShortAndLongLengthHeaders) {
  EXPECT_EQ(tagHeader(9, 3), (Bytes{0x43, 0x02}));
  EXPECT_EQ(tagHeader(9, 3, true), (Bytes{0x7F, 0x02, 3, 0, 0, 0}));
  EXPECT_EQ(tagHeader(14, 63), (Bytes{0xBF, 0x03, 63, 0, 0, 0}));
  TagStream t;
  t.background(1, 2, 3).showFrame().tag(77, Bytes(100, 0xEE));
  const Bytes& b = t.bytes();
  ASSERT_EQ(b.size(), 5u + 2u + 6u + 100u);
  EXPECT_EQ(le16(b, 7) >> 6, 77u);
  EXPECT_EQ(le32(b, 9), 100u);
  EXPECT_EQ(t.frames(), 1);
}

TEST(SwfBuilder, PlainMovieHeaderAndEndTag) {
  SwfBuilder b;
  b.version(8).stage(200, 0, 11200, 8000).frameRate(29.5).showFrame().showFrame();
  b.afterEnd({0xDE, 0xAD});
  const Bytes movie = b.finish();
  ASSERT_GE(movie.size(), 12u);
  EXPECT_EQ(Bytes(movie.begin(), movie.begin() + 4), (Bytes{'F', 'W', 'S', 8}));
  EXPECT_EQ(le32(movie, 4), movie.size());
  const size_t n = rectBytes(Rect::twips(200, 0, 11200, 8000)).size();
  EXPECT_EQ(movie[8 + n], 0x80);
  EXPECT_EQ(movie[9 + n], 0x1D);
  EXPECT_EQ(le16(movie, 10 + n), 2u);
  // two ShowFrames, End, the trailing bytes
  EXPECT_EQ(Bytes(movie.end() - 8, movie.end()), (Bytes{0x40, 0x00, 0x40, 0x00, 0x00, 0x00, 0xDE, 0xAD}));
  EXPECT_EQ(b.header(), Bytes(movie.begin(), movie.begin() + 12 + n));
}

TEST(SwfBuilder, CompressedMovieInflatesToThePlainOne) {
  SwfBuilder b;
  b.background(10, 20, 30).tag(200, Bytes(5000, 0x41)).showFrame().frameCount(7);
  const Bytes plain = b.finish();
  const Bytes packed = b.finish(Compression::Zlib);
  EXPECT_EQ(Bytes(packed.begin(), packed.begin() + 3), (Bytes{'C', 'W', 'S'}));
  EXPECT_EQ(Bytes(packed.begin() + 3, packed.begin() + 8), Bytes(plain.begin() + 3, plain.begin() + 8));
  EXPECT_EQ(inflated(packed.data() + 8, packed.size() - 8, plain.size()), Bytes(plain.begin() + 8, plain.end()));
}

TEST(SwfBuilder, WithoutEndAndExplicitFields) {
  SwfBuilder b;
  b.withoutEnd().fileLength(12345).frameCount(3).tag(1);
  const Bytes movie = b.finish();
  EXPECT_EQ(le32(movie, 4), 12345u);
  EXPECT_EQ(Bytes(movie.end() - 2, movie.end()), (Bytes{0x40, 0x00}));
}

TEST(TagStream, SpriteHoldsNestedTagsAndEnd) {
  TagStream inner;
  inner.startSound(3).showFrame().showFrame();
  TagStream t;
  t.defineSprite(42, inner);
  const Bytes& b = t.bytes();
  EXPECT_EQ(le16(b, 0) >> 6, 39u);
  EXPECT_EQ(le16(b, 0) & 0x3F, 4u + inner.size() + 2u);
  EXPECT_EQ(le16(b, 2), 42u);
  EXPECT_EQ(le16(b, 4), 2u);
  EXPECT_EQ(Bytes(b.begin() + 6, b.end() - 2), inner.bytes());
  EXPECT_EQ(Bytes(b.end() - 2, b.end()), (Bytes{0, 0}));
}

TEST(ActionBuilder, ActionsWithAndWithoutPayloads) {
  ActionBuilder a;
  a.stop().gotoFrame(5).gotoLabel("go").jump(-3).ifTrue(2).push({PushValue::string("x"), PushValue::integer(-2)});
  EXPECT_EQ(a.bytes(), (Bytes{0x07, 0x81, 2, 0, 5, 0,    0x8C, 3, 0, 'g', 'o', 0, 0x99, 2,    0,    0xFD, 0xFF,
                              0x9D, 2,    0, 2, 0, 0x96, 8,    0, 0, 'x', 0,   7, 0xFE, 0xFF, 0xFF, 0xFF}));
  TagStream t;
  t.doAction(ActionBuilder().play());
  EXPECT_EQ(t.bytes(), (Bytes{0x02, 0x03, 0x06, 0x00}));
}

TEST(TagStream, RectShapeTracesItsBoundsClockwise) {
  TagStream t;
  const Rect r = Rect::twips(-100, 40, 300, 200);
  t.defineRectShape(7, r, Rgba{1, 2, 3});
  const Bytes& b = t.bytes();
  ASSERT_EQ(le16(b, 0) >> 6, 2u);
  size_t at = 2;
  EXPECT_EQ(le16(b, at), 7u);
  at += 2;
  at += rectBytes(r).size();
  EXPECT_EQ(b.at(at++), 1u);  // one fill style
  EXPECT_EQ(Bytes(b.begin() + at, b.begin() + at + 4), (Bytes{0x00, 1, 2, 3}));
  at += 4;
  EXPECT_EQ(b.at(at++), 0u);  // no line styles
  BitReader in(b, at);
  const int fillBits = in.u(4);
  EXPECT_EQ(in.u(4), 0u);
  EXPECT_EQ(in.u(1), 0u);
  EXPECT_EQ(in.u(5), 0b00101u);
  const int moveBits = in.u(5);
  int32_t x = in.s(moveBits), y = in.s(moveBits);
  EXPECT_EQ(in.u(fillBits), 1u);
  std::vector<std::pair<int32_t, int32_t>> corners{{x, y}};
  for (int edge = 0; edge < 4; ++edge) {
    ASSERT_EQ(in.u(2), 0b11u);  // edge, straight
    const int bits = in.u(4) + 2;
    ASSERT_EQ(in.u(1), 0u);  // not general
    const bool vertical = in.u(1);
    (vertical ? y : x) += in.s(bits);
    corners.emplace_back(x, y);
  }
  EXPECT_EQ(in.u(6), 0u);
  const std::vector<std::pair<int32_t, int32_t>> expected{{-100, 40}, {300, 40}, {300, 200}, {-100, 200}, {-100, 40}};
  EXPECT_EQ(corners, expected);
  EXPECT_EQ(in.alignedByte(), b.size());
}

TEST(TagStream, TranslucentShapeUsesDefineShape3) {
  TagStream t;
  t.defineShape(1, {{Rect::twips(0, 0, 20, 20), Rgba{9, 8, 7, 128}}, {Rect::twips(0, 0, 40, 40), Rgba{}}});
  EXPECT_EQ(le16(t.bytes(), 0) >> 6, 32u);
}

TEST(TagStream, PlaceObject2WithMatrixAndColorTransform) {
  PlaceObject2 p;
  p.depth = 3;
  p.character = 9;
  p.matrix = Matrix::scale(2.0, 0.5, 100, -50);
  ColorTransform cx;
  cx.multA = 128;
  cx.addR = -255;
  p.colorTransform = cx;
  TagStream t;
  t.placeObject2(p);
  const Bytes& b = t.bytes();
  EXPECT_EQ(b.at(2), 0x0E);
  EXPECT_EQ(le16(b, 3), 3u);
  EXPECT_EQ(le16(b, 5), 9u);
  BitReader in(b, 7);
  ASSERT_EQ(in.u(1), 1u);
  int bits = in.u(5);
  EXPECT_EQ(in.s(bits), 0x20000);
  EXPECT_EQ(in.s(bits), 0x8000);
  EXPECT_EQ(in.u(1), 0u);
  bits = in.u(5);
  EXPECT_EQ(in.s(bits), 100);
  EXPECT_EQ(in.s(bits), -50);
  BitReader cin(b, in.alignedByte());
  EXPECT_EQ(cin.u(2), 0b11u);
  bits = cin.u(4);
  const std::vector<int32_t> mult{cin.s(bits), cin.s(bits), cin.s(bits), cin.s(bits)};
  const std::vector<int32_t> add{cin.s(bits), cin.s(bits), cin.s(bits), cin.s(bits)};
  EXPECT_EQ(mult, (std::vector<int32_t>{256, 256, 256, 128}));
  EXPECT_EQ(add, (std::vector<int32_t>{-255, 0, 0, 0}));
  EXPECT_EQ(cin.alignedByte(), b.size());
}

TEST(TagStream, PcmSoundBodies) {
  const PcmFormat stereo16{44100, true, true};
  TagStream t;
  t.defineSound(5, stereo16, {1, -1, 256, -256});
  const Bytes& b = t.bytes();
  EXPECT_EQ(le16(b, 2), 5u);
  EXPECT_EQ(b.at(4), 0x3F);  // format 3, 44 kHz, 16-bit, stereo
  EXPECT_EQ(le32(b, 5), 2u);
  EXPECT_EQ(Bytes(b.begin() + 9, b.end()), (Bytes{1, 0, 0xFF, 0xFF, 0, 1, 0, 0xFF}));
  EXPECT_EQ(pcmSoundData(PcmFormat{11025, false, false}, {-32768, 0, 32767}), (Bytes{0, 128, 255}));
  TagStream s;
  s.soundStreamHead(PcmFormat{22050, true, false}, 1837, true).startSound(5, SoundInfo{true, false, 10, {}, 2});
  EXPECT_EQ(s.bytes(), (Bytes{0x44, 0x0B, 0x0A, 0x3A, 0x2D, 0x07, 0xC9, 0x03, 5, 0, 0x25, 10, 0, 0, 0, 2, 0}));
}
