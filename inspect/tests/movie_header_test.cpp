#include "movie_header.h"

#include "movie_test_fixture.h"

using namespace mvqtest;

namespace {

struct Result {
  int status;
  MovieHeaderInfo info;
};

class ReadMovieHeader : public MovieFileTest {
 protected:
  Result read(const Bytes& movie) {
    const std::string path = put(movie);
    Result r{};
    r.status =
        readMovieHeader(path.c_str(), &r.info.widthPixels, &r.info.heightPixels, &r.info.frameRate, &r.info.frameCount);
    expectClosed(path);
    return r;
  }

  Result readBoth(const SwfBuilder& b, Compression c) { return read(b.finish(c)); }
};

// Plain files under 29 bytes are rejected, so small movies carry a filler tag.
SwfBuilder movie() {
  SwfBuilder b;
  b.tag(77, Bytes(16, 0));
  return b;
}

SwfBuilder movie550x400() {
  SwfBuilder b = movie();
  b.stage(0, 0, 20 * 550, 20 * 400).frameRate(12.0).background(255, 255, 255);
  for (int i = 0; i < 10; ++i) b.showFrame();
  return b;
}

}  // namespace

TEST_F(ReadMovieHeader, StageRateAndCountOfPlainAndCompressedMovies) {
  for (Compression c : {Compression::None, Compression::Zlib}) {
    const Result r = readBoth(movie550x400(), c);
    ASSERT_EQ(r.status, 0);
    EXPECT_EQ(r.info.widthPixels, 550);
    EXPECT_EQ(r.info.heightPixels, 400);
    EXPECT_EQ(r.info.frameRate, 12.0);
    EXPECT_EQ(r.info.frameCount, 10);
  }
}

TEST_F(ReadMovieHeader, FrameRateIsEightDotEightUnrounded) {
  const std::pair<uint16_t, double> rates[] = {
      {0x0C00, 12.0}, {0x1800, 24.0}, {0x1D80, 29.5}, {0x0001, 1 / 256.0}, {0xFFFF, 65535 / 256.0}};
  for (const auto& [raw, fps] : rates) {
    SwfBuilder b = movie();
    b.frameRateRaw(raw);
    EXPECT_EQ(read(b.finish()).info.frameRate, fps) << raw;
  }
}

TEST_F(ReadMovieHeader, HalfPixelsRoundAwayFromZero) {
  SwfBuilder b = movie();
  b.stage(0, 0, 210, 209);
  const Result r = read(b.finish());
  EXPECT_EQ(r.info.widthPixels, 11);   // 10.5
  EXPECT_EQ(r.info.heightPixels, 10);  // 10.45
}

TEST_F(ReadMovieHeader, OffsetOriginIsSubtracted) {
  SwfBuilder b = movie();
  b.stage(200, 300, 200 + 20 * 550, 300 + 20 * 400);
  const Result r = read(b.finish());
  EXPECT_EQ(r.info.widthPixels, 550);
  EXPECT_EQ(r.info.heightPixels, 400);
}

TEST_F(ReadMovieHeader, MinimumNotBelowMaximumGivesTheMaximumAlone) {
  SwfBuilder b = movie();
  b.stage(4000, 3000, 2000, 3000);
  const Result r = read(b.finish());
  EXPECT_EQ(r.info.widthPixels, 100);
  EXPECT_EQ(r.info.heightPixels, 150);
}

TEST_F(ReadMovieHeader, EmptyRectOfZeroBits) {
  SwfBuilder b = movie();
  b.stage(Rect::twips(0, 0, 0, 0, 0)).frameRateRaw(0x1D80).frameCount(513);
  const Bytes bytes = b.finish();
  ASSERT_EQ(bytes[8], 0x00);
  ASSERT_EQ(bytes[9], 0x80);  // the frame rate follows at offset 9
  const Result r = read(bytes);
  ASSERT_EQ(r.status, 0);
  EXPECT_EQ(r.info.widthPixels, 0);
  EXPECT_EQ(r.info.heightPixels, 0);
  EXPECT_EQ(r.info.frameRate, 29.5);
  EXPECT_EQ(r.info.frameCount, 513);
}

TEST_F(ReadMovieHeader, WidestRectFillsAllTwentyNineBytes) {
  SwfBuilder b;
  b.stage(Rect::twips(0, 20, 0x7FFFFFFF, 0x7FFFFFFE, 31)).frameRateRaw(0x1800).frameCount(65535).withoutEnd();
  for (Compression c : {Compression::None, Compression::Zlib}) {
    const Result r = readBoth(b, c);
    ASSERT_EQ(r.status, 0);
    EXPECT_EQ(r.info.widthPixels, 107374182);   // 2147483647 x 0.05
    EXPECT_EQ(r.info.heightPixels, 107374181);  // (2147483646 - 20) x 0.05
    EXPECT_EQ(r.info.frameRate, 24.0);
    EXPECT_EQ(r.info.frameCount, 65535);
  }
}

TEST_F(ReadMovieHeader, ValuesAreUnsignedWhateverTheWidth) {
  for (int nbits = 1; nbits <= 31; ++nbits) {
    SwfBuilder b = movie();
    b.stage(Rect::twips(0, 0, -1, -1, nbits));  // all bits set
    const Result r = read(b.finish());
    const double extent = ((1u << nbits) - 1) * 0.05;
    ASSERT_EQ(r.status, 0);
    EXPECT_EQ(r.info.widthPixels, static_cast<int32_t>(extent + 0.5)) << nbits;
  }
}

TEST_F(ReadMovieHeader, OnlyFwsAndCwsSignaturesAreAccepted) {
  const Bytes plain = movie550x400().finish();
  const Bytes packed = movie550x400().finish(Compression::Zlib);
  for (const char* sig : {"fws", "FwS", "FWs", "GWS", "FXS", "cws", "CWs", "ZWS", "\0WS"}) {
    Bytes movie = sig[0] == 'C' || sig[0] == 'c' || sig[0] == 'Z' ? packed : plain;
    std::copy(sig, sig + 3, movie.begin());
    EXPECT_EQ(read(movie).status, -1) << sig;
  }
}

TEST_F(ReadMovieHeader, PlainFilesShorterThanTwentyNineBytesAreRejected) {
  SwfBuilder b;
  b.tag(77, Bytes(20, 0xAB));
  const Bytes movie = b.finish();
  for (size_t size = 0; size <= 40; ++size) {
    const Result r = read(cut(movie, size));
    EXPECT_EQ(r.status, size < 29 ? -1 : 0) << size;
    if (r.status == 0) {
      EXPECT_EQ(r.info.widthPixels, 550);
    }
  }
}

TEST_F(ReadMovieHeader, CompressedBodyMustYieldTheWholeHeader) {
  const Bytes packed = movie550x400().finish(Compression::Zlib);
  for (size_t size = 0; size <= packed.size(); ++size) {
    const Result r = read(cut(packed, size));
    if (size <= 10) {
      EXPECT_EQ(r.status, -1) << size;  // prefix and zlib header at most
    }
    if (r.status == 0) {
      EXPECT_EQ(r.info.widthPixels, 550) << size;
      EXPECT_EQ(r.info.frameCount, 10) << size;
    }
  }
  EXPECT_EQ(read(packed).status, 0);

  // A whole stream that inflates to 20 bytes after the prefix.
  SwfBuilder tiny;
  tiny.stage(Rect::twips(0, 0, 0, 0, 0)).withoutEnd().raw(Bytes(15, 0));
  EXPECT_EQ(read(tiny.finish(Compression::Zlib)).status, -1);
  tiny.raw({0});
  EXPECT_EQ(read(tiny.finish(Compression::Zlib)).status, 0);
}

TEST_F(ReadMovieHeader, CorruptCompressedBodiesAreRejected) {
  Bytes packed = movie550x400().finish(Compression::Zlib);
  Bytes badHeader = packed;
  badHeader[8] = 0xFF;
  EXPECT_EQ(read(badHeader).status, -1);
  Bytes badBlock = cut(packed, 10);
  badBlock.push_back(0x07);  // final block of the reserved type 3
  badBlock.resize(60, 0);
  EXPECT_EQ(read(badBlock).status, -1);
  Bytes garbage{'C', 'W', 'S', 6, 0, 0, 0, 0};
  for (int i = 0; i < 600; ++i) garbage.push_back(static_cast<uint8_t>(i * 37 + 11));
  EXPECT_EQ(read(garbage).status, -1);
}

TEST_F(ReadMovieHeader, MissingFileOrOutputs) {
  int32_t w = 0, h = 0, count = 0;
  double rate = 0;
  EXPECT_EQ(readMovieHeader(dir_.file("none.swf").c_str(), &w, &h, &rate, &count), -1);
  EXPECT_EQ(readMovieHeader(nullptr, &w, &h, &rate, &count), -1);
  const std::string path = put(movie550x400().finish());
  EXPECT_EQ(readMovieHeader(path.c_str(), nullptr, &h, &rate, &count), -1);
  EXPECT_EQ(readMovieHeader(path.c_str(), &w, nullptr, &rate, &count), -1);
  EXPECT_EQ(readMovieHeader(path.c_str(), &w, &h, nullptr, nullptr), 0);
  EXPECT_EQ(w, 550);
  expectClosed(path);
}
