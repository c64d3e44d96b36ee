#include "movie_expansion.h"

#include <random>

#include "movie_test_fixture.h"

using namespace mvqtest;

namespace {

class ExpandCompressedMovie : public MovieFileTest {
 protected:
  struct Outcome {
    int result;
    bool created;
    Bytes output;
  };

  Outcome expand(const Bytes& source) {
    const std::string from = put(source), to = fresh();
    Outcome o{expandCompressedMovie(from.c_str(), to.c_str()), fileExists(to), readFile(to)};
    expectClosed(from);
    if (o.created) expectClosed(to);
    return o;
  }
};

Bytes randomBytes(size_t size, uint32_t seed) {
  std::mt19937 random(seed);
  Bytes out(size);
  for (uint8_t& b : out) b = static_cast<uint8_t>(random());
  return out;
}

SwfBuilder mixedMovie() {
  SwfBuilder b;
  b.version(9).background(1, 2, 3).defineRectShape(1, Rect::twips(0, 0, 400, 400), Rgba{255, 0, 0});
  b.placeObject2(1, 1).showFrame();
  b.tag(20, randomBytes(150000, 1)).showFrame();
  b.tag(20, Bytes(300000, 0x5A)).showFrame();
  return b;
}

}  // namespace

TEST_F(ExpandCompressedMovie, CompressedMovieBecomesThePlainOne) {
  const SwfBuilder b = mixedMovie();
  const Bytes packed = b.finish(Compression::Zlib);
  const Outcome o = expand(packed);
  ASSERT_EQ(o.result, 1);
  EXPECT_EQ(o.output, b.finish());
  EXPECT_EQ(Bytes(o.output.begin() + 3, o.output.begin() + 8), Bytes(packed.begin() + 3, packed.begin() + 8));
}

TEST_F(ExpandCompressedMovie, FileLengthFieldIsCopiedAsItIs) {
  SwfBuilder b;
  b.version(3).fileLength(0xDEADBEEF).showFrame();
  const Outcome o = expand(b.finish(Compression::Zlib));
  ASSERT_EQ(o.result, 1);
  EXPECT_EQ(o.output, b.finish());
}

TEST_F(ExpandCompressedMovie, ChunksThatInflateFarPastTheOutputArea) {
  SwfBuilder b;  // uniform data inflates at about 1000:1, several input chunks of it
  b.tag(20, randomBytes(70000, 2)).tag(21, Bytes(40u << 20, 0)).tag(22, randomBytes(70000, 3));
  const Bytes packed = b.finish(Compression::Zlib, 9);
  ASSERT_GT(packed.size(), 2u * 0x10000);
  const Outcome o = expand(packed);
  ASSERT_EQ(o.result, 1);
  EXPECT_TRUE(o.output == b.finish());
}

TEST_F(ExpandCompressedMovie, PlainMovieIsLeftAlone) {
  const Outcome o = expand(mixedMovie().finish());
  EXPECT_EQ(o.result, 0);
  EXPECT_FALSE(o.created);
}

TEST_F(ExpandCompressedMovie, OtherSignaturesAndShortFilesCreateNothing) {
  const Bytes packed = mixedMovie().finish(Compression::Zlib);
  for (const char* sig : {"ZWS", "cws", "CWs", "FWX"}) {
    Bytes source = packed;
    std::copy(sig, sig + 3, source.begin());
    const Outcome o = expand(source);
    EXPECT_EQ(o.result, -1) << sig;
    EXPECT_FALSE(o.created) << sig;
  }
  for (size_t size = 0; size < 8; ++size) {
    const Outcome o = expand(cut(packed, size));
    EXPECT_EQ(o.result, -1) << size;
    EXPECT_FALSE(o.created) << size;
  }
  EXPECT_EQ(expand(cut(mixedMovie().finish(), 3)).result, -1);
  EXPECT_EQ(expand(cut(mixedMovie().finish(), 4)).result, 0);
}

TEST_F(ExpandCompressedMovie, MissingSourceOrUncreatableDestination) {
  EXPECT_EQ(expandCompressedMovie(dir_.file("missing.swf").c_str(), fresh().c_str()), -1);
  const std::string source = put(mixedMovie().finish(Compression::Zlib));
  const std::string unreachable = dir_.file("no-such-folder/out.swf");
  EXPECT_EQ(expandCompressedMovie(source.c_str(), unreachable.c_str()), -1);
  EXPECT_FALSE(fileExists(unreachable));
  EXPECT_EQ(expandCompressedMovie(source.c_str(), nullptr), -1);
  expectClosed(source);
  EXPECT_EQ(dir_.entryCount(), 0u);
}

// A cut stream expands to what it holds: a prefix of the movie, and no byte wrong.
TEST_F(ExpandCompressedMovie, TruncatedStreamGivesAPrefix) {
  const SwfBuilder b = mixedMovie();
  const Bytes plain = b.finish();
  const Bytes packed = b.finish(Compression::Zlib);
  for (size_t size : {size_t{8}, size_t{9}, size_t{100}, size_t{8 + 0x10000}, packed.size() / 2, packed.size() - 1}) {
    const Outcome o = expand(cut(packed, size));
    ASSERT_EQ(o.result, 1) << size;
    ASSERT_LE(o.output.size(), plain.size()) << size;
    EXPECT_TRUE(std::equal(o.output.begin(), o.output.end(), plain.begin())) << size;
  }
}

TEST_F(ExpandCompressedMovie, BytesAfterTheStreamAreIgnored) {
  const SwfBuilder b = mixedMovie();
  Bytes packed = b.finish(Compression::Zlib);
  const Bytes junk = randomBytes(0x30000, 4);
  packed.insert(packed.end(), junk.begin(), junk.end());
  const Outcome o = expand(packed);
  ASSERT_EQ(o.result, 1);
  EXPECT_EQ(o.output, b.finish());
}

TEST_F(ExpandCompressedMovie, CorruptStreamsFail) {
  const Bytes packed = mixedMovie().finish(Compression::Zlib);
  Bytes badHeader = packed;
  badHeader[8] ^= 0x01;  // zlib header check fails
  EXPECT_EQ(expand(badHeader).result, -1);

  Bytes badChecksum = packed;
  badChecksum.back() ^= 0xFF;
  EXPECT_EQ(expand(badChecksum).result, -1);

  Bytes reservedBlock = cut(packed, 10);
  reservedBlock.push_back(0x07);
  EXPECT_EQ(expand(reservedBlock).result, -1);

  Bytes presetDictionary{'C', 'W', 'S', 6, 0, 0, 0, 0, 0x78, 0xBB, 0, 0, 0, 1, 0x03, 0x00};
  EXPECT_EQ(expand(presetDictionary).result, -1);
}

TEST_F(ExpandCompressedMovie, EmptyBodyGivesTheBarePrefix) {
  const Outcome o = expand({'C', 'W', 'S', 5, 1, 2, 3, 4});
  EXPECT_EQ(o.result, 1);
  EXPECT_EQ(o.output, (Bytes{'F', 'W', 'S', 5, 1, 2, 3, 4}));
}
