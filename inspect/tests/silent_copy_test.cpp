#include "silent_copy.h"

#include <algorithm>

#include "movie_test_fixture.h"

using namespace mvqtest;

namespace {

constexpr uint16_t kSilent = 512;

class SilenceMovieCopy : public MovieFileTest {
 protected:
  Bytes silence(const Bytes& source) {
    const std::string from = put(source), to = fresh();
    EXPECT_EQ(silenceMovieCopy(from.c_str(), to.c_str()), 0);
    Bytes out = readFile(to);
    expectClosed(from);
    expectClosed(to);
    return out;
  }
};

Bytes body(size_t size, uint8_t seed) {
  Bytes out(size);
  for (size_t i = 0; i < size; ++i) out[i] = static_cast<uint8_t>(seed + i * 7);
  return out;
}

// The same movie twice: with its sound tags, and as the silent copy should be.
struct MoviePair {
  SwfBuilder original;
  SwfBuilder silent;

  void tag(uint16_t code, const Bytes& b, bool forceLong = false, bool sound = false) {
    original.tag(code, b, forceLong);
    silent.tag(sound ? kSilent : code, b, forceLong);
  }
  void sound(uint16_t code, const Bytes& b, bool forceLong = false) { tag(code, b, forceLong, true); }
  void sprite(uint16_t id, const TagStream& nested, const TagStream& nestedSilent) {
    original.defineSprite(id, nested);
    silent.defineSprite(id, nestedSilent);
  }
};

}  // namespace

TEST_F(SilenceMovieCopy, StreamSoundAndSpriteStartSoundAreDisabled) {
  MoviePair m;
  m.original.background(1, 2, 3);
  m.silent.background(1, 2, 3);
  m.sound(18, body(4, 1));
  m.tag(2, body(30, 2));
  m.sound(19, body(200, 3));
  m.tag(1, {});
  m.sound(19, body(40, 4));
  TagStream inner, innerSilent;
  inner.tag(26, body(8, 5)).tag(15, body(3, 6)).showFrame();
  innerSilent.tag(26, body(8, 5)).tag(kSilent, body(3, 6)).showFrame();
  m.sprite(7, inner, innerSilent);
  const Bytes original = m.original.finish();
  const Bytes copy = silence(original);
  EXPECT_EQ(copy.size(), original.size());
  EXPECT_EQ(copy, m.silent.finish());
}

TEST_F(SilenceMovieCopy, EverySoundCodeInBothLengthForms) {
  MoviePair m;
  for (uint16_t code : {13, 14, 15, 16, 17, 18, 19, 20, 44, 45, 46, 527}) {
    const bool sound = (code >= 14 && code <= 19) || code == 45;
    for (size_t size : {0, 5, 62, 63, 3000}) {
      m.tag(code, body(size, static_cast<uint8_t>(code)), false, sound);
      m.tag(code, body(size, static_cast<uint8_t>(code)), true, sound);
    }
  }
  EXPECT_EQ(silence(m.original.finish()), m.silent.finish());
}

TEST_F(SilenceMovieCopy, HeaderWordsOfTheRewrite) {
  SwfBuilder b;
  b.stage(Rect::twips(0, 0, 0, 0, 0)).withoutEnd().tag(15, body(5, 0)).tag(14, body(10, 0), true);
  const Bytes copy = silence(b.finish());
  ASSERT_EQ(copy.size(), 13u + 7u + 16u);
  EXPECT_EQ(b.finish()[13], 0xC5);  // StartSound, length 5: 0x03C5
  EXPECT_EQ(Bytes(copy.begin() + 13, copy.begin() + 15), (Bytes{0x05, 0x80}));
  EXPECT_EQ(Bytes(copy.begin() + 20, copy.begin() + 26), (Bytes{0x3F, 0x80, 10, 0, 0, 0}));
}

TEST_F(SilenceMovieCopy, HeaderOfAnyRectWidthIsCopied) {
  for (int nbits = 0; nbits <= 31; ++nbits) {
    MoviePair m;
    m.original.stage(Rect::twips(1, 2, 3, 4, nbits));
    m.silent.stage(Rect::twips(1, 2, 3, 4, nbits));
    m.sound(15, body(3, 1));
    EXPECT_EQ(silence(m.original.finish()), m.silent.finish()) << nbits;
  }
}

TEST_F(SilenceMovieCopy, SpriteNestsOneLevelAndIgnoresItsLengthField) {
  // Inside a sprite inside a sprite the StartSound is only body bytes.
  TagStream deepest;
  deepest.tag(15, body(3, 1));
  TagStream inner, innerSilent;
  inner.defineSprite(2, deepest).tag(19, body(70, 2));
  innerSilent.defineSprite(2, deepest).tag(kSilent, body(70, 2));
  MoviePair m;
  m.sprite(1, inner, innerSilent);
  m.sound(14, body(9, 3));
  EXPECT_EQ(silence(m.original.finish()), m.silent.finish());

  // A sprite whose own length says 0 (long form): its nested tags are walked anyway.
  Bytes spriteBody{1, 0, 1, 0};
  append(spriteBody, tagHeader(15, 2));
  append(spriteBody, {9, 9, 0, 0});
  SwfBuilder lying;
  lying.raw({0xFF, 0x09, 0, 0, 0, 0}).raw(spriteBody).tag(18, body(4, 0));
  const Bytes copy = silence(lying.finish());
  const size_t at = lying.header().size();
  EXPECT_EQ(Bytes(copy.begin() + at + 10, copy.begin() + at + 12), (Bytes{0x02, 0x80}));
  EXPECT_EQ(Bytes(copy.begin() + at + 16, copy.begin() + at + 18), (Bytes{0x04, 0x80}));
}

TEST_F(SilenceMovieCopy, BytesAfterTheTopLevelEndAreDropped) {
  SwfBuilder b;
  b.showFrame().afterEnd(body(100, 1));
  const Bytes copy = silence(b.finish());
  EXPECT_EQ(copy, cut(b.finish(), b.finish().size() - 100));
}

// A source cut anywhere gives the copy of the whole movie cut at the same place, or
// one byte earlier when the cut splits a tag's header word.
TEST_F(SilenceMovieCopy, TruncatedSourceGivesACopyCutThere) {
  SwfBuilder b;
  std::vector<size_t> tagStarts;
  const auto add = [&](auto addTag) {
    tagStarts.push_back(b.header().size() + b.size());
    addTag();
  };
  add([&] { b.tag(18, body(4, 1)); });
  add([&] { b.tag(19, body(70, 2)); });
  TagStream inner;
  inner.tag(15, body(2, 1)).showFrame();
  const size_t spriteStart = b.header().size() + b.size();
  add([&] { b.defineSprite(3, inner, std::nullopt, true); });
  for (size_t nested : {size_t{0}, size_t{4}, size_t{6}}) tagStarts.push_back(spriteStart + 10 + nested);
  add([&] { b.tag(20, body(1500, 3)); });
  add([&] { b.end(); });

  const Bytes movie = b.finish();
  const Bytes whole = silence(movie);
  ASSERT_EQ(whole.size(), movie.size());
  for (size_t size = 0; size <= movie.size(); size += size < 200 ? 1 : 97) {
    const bool splitsHeader = std::count(tagStarts.begin(), tagStarts.end(), size - 1) > 0;
    const Bytes expected = size < 8 ? Bytes{} : cut(whole, splitsHeader ? size - 1 : size);
    ASSERT_EQ(silence(cut(movie, size)), expected) << size;
  }
}

TEST_F(SilenceMovieCopy, OnlyPlainMoviesAreCopied) {
  SwfBuilder b;
  b.tag(15, body(3, 1));
  EXPECT_TRUE(silence(b.finish(Compression::Zlib)).empty());
  for (const char* sig : {"ZWS", "fws", "FWs"}) {
    Bytes movie = b.finish();
    std::copy(sig, sig + 3, movie.begin());
    EXPECT_TRUE(silence(movie).empty()) << sig;
  }
}

TEST_F(SilenceMovieCopy, UnopenableFilesCopyNothing) {
  const std::string source = put(SwfBuilder().finish());
  const std::string unreachable = dir_.file("no-such-folder/out.swf");
  EXPECT_EQ(silenceMovieCopy(source.c_str(), unreachable.c_str()), 0);
  EXPECT_FALSE(fileExists(unreachable));
  expectClosed(source);
  const std::string destination = fresh();
  EXPECT_EQ(silenceMovieCopy(dir_.file("missing.swf").c_str(), destination.c_str()), 0);
  EXPECT_TRUE(readFile(destination).empty());
}
