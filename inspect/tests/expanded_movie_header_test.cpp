#include "movie_header.h"

#include "movie_test_fixture.h"
#include "renderer_status.h"

using namespace mvqtest;

namespace {

constexpr uint32_t kUnset = 0xFFFFFFFFu;  // a value the reader never writes

struct Result {
  int32_t status;
  ExpandedMovieHeader header;
};

class ReadExpandedMovieHeader : public MovieFileTest {
 protected:
  Result read(const Bytes& movie) {
    const std::string path = put(movie);
    Result r{};
    r.header.backgroundColor = kUnset;
    r.status = readExpandedMovieHeader(path.c_str(), r.header);
    expectClosed(path);
    return r;
  }
};

}  // namespace

TEST_F(ReadExpandedMovieHeader, StageVersionRateCountAndBackground) {
  SwfBuilder b;
  b.version(7).stage(0, 0, 20 * 550, 20 * 400).frameRate(12.0).background(0x11, 0x22, 0x33).frameCount(10);
  b.tag(77, Bytes(10, 0));  // plain files under 29 bytes are rejected
  const Result r = read(b.finish());
  ASSERT_EQ(r.status, 0);
  EXPECT_EQ(r.header.version, 7);
  EXPECT_EQ(r.header.width, 550.0);
  EXPECT_EQ(r.header.height, 400.0);
  EXPECT_EQ(r.header.frameCount, 10);
  EXPECT_EQ(r.header.frameRate, 12.0);
  EXPECT_EQ(r.header.backgroundColor, 0x00332211u);
}

TEST_F(ReadExpandedMovieHeader, FractionalAndReversedBoundsAreKept) {
  SwfBuilder b;
  b.version(255).stage(200, 4000, 410, 3000).frameRateRaw(0x1D80).tag(77, Bytes(10, 0));
  const Result r = read(b.finish());
  ASSERT_EQ(r.status, 0);
  EXPECT_EQ(r.header.version, 255);
  EXPECT_DOUBLE_EQ(r.header.width, 10.5);
  EXPECT_DOUBLE_EQ(r.header.height, -50.0);
  EXPECT_EQ(r.header.frameRate, 29.5);
  SwfBuilder same;
  same.stage(300, 0, 300, 0).tag(77, Bytes(10, 0));
  EXPECT_EQ(read(same.finish()).header.width, 0.0);
}

TEST_F(ReadExpandedMovieHeader, TagsStartRightAfterARectOfAnyWidth) {
  for (int nbits = 0; nbits <= 31; ++nbits) {
    SwfBuilder b;
    b.stage(Rect::twips(0, 0, 20, 40, nbits)).frameCount(3).background(1, 2, 3).tag(77, Bytes(10, 0));
    const Result r = read(b.finish());
    ASSERT_EQ(r.status, 0) << nbits;
    EXPECT_EQ(r.header.backgroundColor, 0x030201u) << nbits;
    EXPECT_EQ(r.header.frameCount, 3) << nbits;
  }
}

TEST_F(ReadExpandedMovieHeader, BackgroundFoundBehindOtherTagsInBothLengthForms) {
  SwfBuilder b;
  b.tag(77, Bytes(10, 9)).tag(78, Bytes(3000, 9)).tag(79, {}, true).tag(80).background(0xA0, 0xB0, 0xC0, true);
  EXPECT_EQ(read(b.finish()).header.backgroundColor, 0xC0B0A0u);
}

TEST_F(ReadExpandedMovieHeader, FirstBackgroundBeforeTheEndTagWins) {
  SwfBuilder first;
  first.background(1, 1, 1).background(2, 2, 2);
  EXPECT_EQ(read(first.finish()).header.backgroundColor, 0x010101u);

  SwfBuilder afterEnd;
  afterEnd.showFrame().end().background(3, 3, 3);
  const Result r = read(afterEnd.finish());
  EXPECT_EQ(r.status, 0);
  EXPECT_EQ(r.header.backgroundColor, kUnset);
}

TEST_F(ReadExpandedMovieHeader, LongBackgroundBodyGivesItsFirstThreeBytes) {
  Bytes body(5000, 0xEE);
  body[0] = 0x10, body[1] = 0x20, body[2] = 0x30;
  SwfBuilder b;
  b.tag(9, body);
  EXPECT_EQ(read(b.finish()).header.backgroundColor, 0x302010u);
}

TEST_F(ReadExpandedMovieHeader, EmptyOrShortBackgroundBodies) {
  SwfBuilder empty;  // a zero-length record is passed over
  empty.tag(9, {}).background(4, 5, 6);
  EXPECT_EQ(read(empty.finish()).header.backgroundColor, 0x060504u);

  SwfBuilder shortBody;  // two bytes are not a colour
  shortBody.tag(9, {7, 8}).background(4, 5, 6);
  EXPECT_EQ(read(shortBody.finish()).header.backgroundColor, kUnset);
}

TEST_F(ReadExpandedMovieHeader, TagLengthsPastTheEndOfTheFile) {
  for (uint32_t length : {100u, 0x7FFFFFFFu, 0xFFFFFFFFu}) {
    SwfBuilder b;
    b.raw({0xFF, 0x13})
        .raw({static_cast<uint8_t>(length), static_cast<uint8_t>(length >> 8), static_cast<uint8_t>(length >> 16),
              static_cast<uint8_t>(length >> 24)});
    b.background(1, 2, 3);
    const Result r = read(b.finish());
    EXPECT_EQ(r.status, 0) << length;
    EXPECT_EQ(r.header.backgroundColor, kUnset) << length;
  }
}

TEST_F(ReadExpandedMovieHeader, TruncatedAtEveryLength) {
  SwfBuilder b;
  b.stage(Rect::twips(0, 0, 20, 40, 31)).tag(77, Bytes(70, 0)).background(9, 8, 7);
  const Bytes movie = b.finish();
  const size_t colourEnd = 29 + 76 + 5;
  ASSERT_EQ(movie.size(), colourEnd + 2);
  for (size_t size = 0; size <= movie.size(); ++size) {
    const Result r = read(cut(movie, size));
    const int32_t expected = size == 0 ? kRendererEMovieEmpty : size < 29 ? kRendererEMovieInvalid : 0;
    ASSERT_EQ(r.status, expected) << size;
    if (r.status == 0) {
      EXPECT_EQ(r.header.backgroundColor, size >= colourEnd ? 0x070809u : kUnset) << size;
    }
  }
}

TEST_F(ReadExpandedMovieHeader, OnlyPlainMoviesAreRead) {
  SwfBuilder b;
  b.background(1, 2, 3).tag(77, Bytes(40, 1));
  EXPECT_EQ(read(b.finish(Compression::Zlib)).status, kRendererEMovieInvalid);
  for (const char* sig : {"ZWS", "fws", "FWs", "XWS"}) {
    Bytes movie = b.finish();
    std::copy(sig, sig + 3, movie.begin());
    EXPECT_EQ(read(movie).status, kRendererEMovieInvalid) << sig;
  }
}

TEST_F(ReadExpandedMovieHeader, FilesThatCannotBeOpened) {
  ExpandedMovieHeader h{};
  EXPECT_EQ(readExpandedMovieHeader(dir_.file("missing.swf").c_str(), h), kRendererEMovieOpen);
  EXPECT_EQ(readExpandedMovieHeader(nullptr, h), kRendererEMovieOpen);
}
