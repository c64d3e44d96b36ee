// The movie cache on real files: building, sharing, keeping, staleness,
// moving and clearing copies.
#include <gtest/gtest.h>

#include <cctype>

#include "renderer_fixture.h"
#include "renderer_lock.h"
#include "tag_stream.h"

namespace {

using mvqtest::Bytes;
using mvqtest::Compression;

class MovieCacheTest : public RendererTest {
 protected:
  // Builds a copy of a new movie; its copy path.
  std::string build(const std::string& name, Compression compression = Compression::None,
                    int32_t* compressed = nullptr) {
    const std::string source = movie(name, squareStepMovie(3, 12, 40, 40, compression));
    char copy[kCachePathSize] = "x";
    int32_t flag = -1;
    EXPECT_EQ(buildCachedMovie(&flag, source.c_str(), copy), S_OK) << name;
    if (compressed) *compressed = flag;
    return copy;
  }
  std::string source(const std::string& name) const { return movies_->file(name); }
  static std::string upper(std::string text) {
    for (char& c : text) c = char(std::toupper(static_cast<unsigned char>(c)));
    return text;
  }
  void giveBack(const std::string& name) {
    CacheEntry* entry = findInUseEntry(source(name).c_str());
    ASSERT_NE(entry, nullptr) << name;
    if (--entry->refCount == 0) {
      EXPECT_TRUE(releaseCachedMovie(entry));
    }
  }

  RendererLock lock_;
};

TEST_F(MovieCacheTest, PlainMovieBecomesOneSilentCopyInUse) {
  mvqtest::SwfBuilder b;
  b.defineSound(1, mvqtest::PcmFormat{}, std::vector<int16_t>(100, 1000));
  b.startSound(1);
  b.showFrame();
  const std::string path = movie("sound.swf", b.finish());
  char copy[kCachePathSize];
  int32_t compressed = -1;
  ASSERT_EQ(buildCachedMovie(&compressed, path.c_str(), copy), S_OK);
  EXPECT_EQ(compressed, 0);
  EXPECT_EQ(std::string(copy).rfind(cacheDir(), 0), 0u) << copy;
  EXPECT_NE(std::string(copy).find("~SR"), std::string::npos);
  EXPECT_EQ(cachedCopies(), 1);
  const Bytes original = mvqtest::readFile(path), prepared = mvqtest::readFile(copy);
  ASSERT_EQ(prepared.size(), original.size());
  EXPECT_NE(prepared, original);  // the sound tags are disabled
  CacheEntry* entry = findInUseEntry(path.c_str());
  ASSERT_NE(entry, nullptr);
  EXPECT_EQ(entry->refCount, 1);
  EXPECT_EQ(entry->sourceSize, original.size());
}

TEST_F(MovieCacheTest, CompressedMovieIsExpandedAndOnlyTheFinalCopyStays) {
  int32_t compressed = -1;
  const std::string copy = build("packed.swf", Compression::Zlib, &compressed);
  EXPECT_EQ(compressed, 1);
  EXPECT_EQ(cachedCopies(), 1);
  const Bytes prepared = mvqtest::readFile(copy);
  ASSERT_GE(prepared.size(), 3u);
  EXPECT_EQ(std::string(prepared.begin(), prepared.begin() + 3), "FWS");
}

TEST_F(MovieCacheTest, UnreadableMoviesLeaveNoCopyBehind) {
  char copy[kCachePathSize] = "x";
  int32_t compressed = 0;
  EXPECT_EQ(buildCachedMovie(&compressed, source("missing.swf").c_str(), copy), kRendererEMovieInvalid);
  EXPECT_STREQ(copy, "");
  const std::string garbage = movie("garbage.swf", Bytes{'C', 'W', 'S', 6, 1, 2, 3, 4, 5, 6, 7});
  EXPECT_EQ(buildCachedMovie(&compressed, garbage.c_str(), copy), kRendererEMovieInvalid);
  EXPECT_EQ(cachedCopies(), 0);
  EXPECT_EQ(findInUseEntry(garbage.c_str()), nullptr);
}

TEST_F(MovieCacheTest, ClipsOfOneMovieShareItsCopyInAnyLetterCase) {
  const std::string copy = build("shared.swf");
  char again[kCachePathSize];
  ASSERT_TRUE(acquireCachedMovie(upper(source("shared.swf")).c_str(), again, true));
  EXPECT_EQ(copy, again);
  CacheEntry* entry = findInUseEntry(source("shared.swf").c_str());
  ASSERT_NE(entry, nullptr);
  EXPECT_EQ(entry->refCount, 2);
  giveBack("shared.swf");
  EXPECT_EQ(findInUseEntry(source("shared.swf").c_str()), entry);
  EXPECT_EQ(cachedCopies(), 1);
}

TEST_F(MovieCacheTest, ReleasedCopyComesBackWithoutBuilding) {
  const std::string copy = build("again.swf");
  giveBack("again.swf");
  EXPECT_EQ(findInUseEntry(source("again.swf").c_str()), nullptr);
  char again[kCachePathSize];
  ASSERT_TRUE(acquireCachedMovie(source("again.swf").c_str(), again, true));
  EXPECT_EQ(copy, again);
  EXPECT_EQ(findInUseEntry(source("again.swf").c_str())->refCount, 1);
  EXPECT_EQ(cachedCopies(), 1);
}

TEST_F(MovieCacheTest, TouchedOrResizedSourceMakesTheCopyStale) {
  build("touched.swf");
  HANDLE file =
      CreateFileA(source("touched.swf").c_str(), FILE_WRITE_ATTRIBUTES, 0, nullptr, OPEN_EXISTING, 0, nullptr);
  ASSERT_NE(file, INVALID_HANDLE_VALUE);
  FILETIME later;
  GetSystemTimeAsFileTime(&later);
  later.dwHighDateTime += 1;
  ASSERT_TRUE(SetFileTime(file, nullptr, nullptr, &later));
  CloseHandle(file);
  char path[kCachePathSize];
  EXPECT_FALSE(acquireCachedMovie(source("touched.swf").c_str(), path, true));
  EXPECT_STREQ(path, "");

  const std::string copy = build("resized.swf");
  giveBack("resized.swf");
  Bytes grown = mvqtest::readFile(source("resized.swf"));
  grown.push_back(0);
  ASSERT_TRUE(mvqtest::writeFile(source("resized.swf"), grown));
  EXPECT_FALSE(acquireCachedMovie(source("resized.swf").c_str(), path, true));
  // A stale kept copy is of no use to anyone and goes at once.
  EXPECT_FALSE(mvqtest::fileExists(copy));
  EXPECT_NE(build("resized.swf"), copy);
}

TEST_F(MovieCacheTest, CopyDeletedBehindTheCacheIsNoLongerFound) {
  const std::string copy = build("gone.swf");
  ASSERT_TRUE(DeleteFileA(copy.c_str()));
  EXPECT_EQ(findInUseEntry(source("gone.swf").c_str()), nullptr);
  char path[kCachePathSize];
  EXPECT_FALSE(acquireCachedMovie(source("gone.swf").c_str(), path, false));
}

TEST_F(MovieCacheTest, KeepLimitOf30DeletesTheCopyReleasedLongestAgo) {
  std::vector<std::string> copies;
  for (int i = 0; i < 31; ++i) {
    const std::string name = "m" + std::to_string(i) + ".swf";
    copies.push_back(build(name));
    giveBack(name);
  }
  EXPECT_FALSE(mvqtest::fileExists(copies[0]));
  for (int i = 1; i < 31; ++i) EXPECT_TRUE(mvqtest::fileExists(copies[i])) << i;
  EXPECT_EQ(cachedCopies(), 30);
  char path[kCachePathSize];
  EXPECT_FALSE(acquireCachedMovie(source("m0.swf").c_str(), path, true));
  EXPECT_TRUE(acquireCachedMovie(source("m1.swf").c_str(), path, true));
}

TEST_F(MovieCacheTest, KeepLimitOfZeroDeletesEachCopyWithItsLastClip) {
  ASSERT_EQ(setCacheOptions(widen(cacheDir()).c_str(), 0), S_OK);
  const std::string copy = build("brief.swf");
  char path[kCachePathSize];
  ASSERT_TRUE(acquireCachedMovie(source("brief.swf").c_str(), path, true));
  giveBack("brief.swf");
  EXPECT_TRUE(mvqtest::fileExists(copy));
  giveBack("brief.swf");
  EXPECT_FALSE(mvqtest::fileExists(copy));
  EXPECT_EQ(cachedCopies(), 0);
}

TEST_F(MovieCacheTest, LowerLimitTrimsTheOldestKeptCopies) {
  const std::string a = build("a.swf"), b = build("b.swf"), c = build("c.swf");
  giveBack("a.swf");
  giveBack("b.swf");
  giveBack("c.swf");
  trimKeptList(2);
  EXPECT_FALSE(mvqtest::fileExists(a));
  EXPECT_TRUE(mvqtest::fileExists(b));
  EXPECT_TRUE(mvqtest::fileExists(c));
  trimKeptList(0);
  EXPECT_EQ(cachedCopies(), 0);
}

TEST_F(MovieCacheTest, NewDirectoryTakesInUseAndFirstKeptCopies) {
  const std::string used = build("used.swf");
  const std::string older = build("older.swf"), newer = build("newer.swf");
  giveBack("older.swf");
  giveBack("newer.swf");
  mvqtest::TempDir other;
  ASSERT_EQ(setCacheOptions(widen(other.path()).c_str(), 1), S_OK);
  EXPECT_EQ(std::string(movieCacheDirectory()), other.path() + "\\");
  EXPECT_EQ(cachedCopies(), 0);
  auto moved = [&](const std::string& copy) { return other.file(copy.substr(copy.find_last_of('\\') + 1)); };
  EXPECT_TRUE(mvqtest::fileExists(moved(used)));
  EXPECT_TRUE(mvqtest::fileExists(moved(newer)));
  EXPECT_FALSE(mvqtest::fileExists(moved(older)));
  EXPECT_EQ(other.entryCount(), 2u);
  char path[kCachePathSize];
  ASSERT_TRUE(acquireCachedMovie(source("newer.swf").c_str(), path, true));
  EXPECT_EQ(std::string(path), moved(newer));
  clearMovieCache();
  EXPECT_EQ(other.entryCount(), 0u);
}

TEST_F(MovieCacheTest, MissingDirectoryIsRefusedAndChangesNothing) {
  build("stays.swf");
  EXPECT_EQ(setCacheOptions(widen(cacheDir() + "\\no such folder").c_str(), 30), kRendererECacheDir);
  EXPECT_EQ(std::string(movieCacheDirectory()), cacheDir() + "\\");
  EXPECT_EQ(cachedCopies(), 1);
  // The same folder in other letters only changes the limit.
  ASSERT_EQ(setCacheOptions(widen(upper(cacheDir())).c_str(), 30), S_OK);
  EXPECT_EQ(cachedCopies(), 1);
}

TEST_F(MovieCacheTest, EmptyDirectoryMeansTheTemporaryFolder) {
  ASSERT_EQ(setCacheOptions(L"", 30), S_OK);
  char temp[MAX_PATH];
  GetTempPathA(MAX_PATH, temp);
  EXPECT_STREQ(movieCacheDirectory(), temp);
  ASSERT_EQ(setCacheOptions(nullptr, 30), S_OK);
  EXPECT_STREQ(movieCacheDirectory(), temp);
}

TEST_F(MovieCacheTest, ClearingDeletesEveryCopy) {
  build("one.swf");
  build("two.swf");
  giveBack("two.swf");
  clearMovieCache();
  EXPECT_EQ(cachedCopies(), 0);
  EXPECT_STREQ(movieCacheDirectory(), "");
}

TEST_F(MovieCacheTest, StampOfAMissingFileIsZero) {
  uint32_t size = 7;
  FILETIME time = {1, 1};
  EXPECT_FALSE(readSourceStamp(source("none.swf").c_str(), &size, &time));
  EXPECT_EQ(size, 0u);
  EXPECT_EQ(time.dwLowDateTime, 0u);
  const std::string path = movie("stamp.swf", Bytes(1234, 7));
  EXPECT_TRUE(readSourceStamp(path.c_str(), &size, &time));
  EXPECT_EQ(size, 1234u);
}

}  // namespace
