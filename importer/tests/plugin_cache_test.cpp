// The movie cache as the editor sees it through the plug-in: copies in the
// temporary folder, shared between clips, kept after the last clip closes,
// rebuilt when the source changes, moved when the temporary folder changes.
#include <gtest/gtest.h>

#include <cctype>
#include <set>

#include "plugin_fixture.h"

namespace {

using editor::HostClip;
using editor::ImageRequest;

class PluginCacheTest : public PluginTest {
 protected:
  std::set<std::string> copyNames() const {
    std::set<std::string> names;
    WIN32_FIND_DATAA found;
    HANDLE search = FindFirstFileA((temp_->path() + "\\~SR*.tmp").c_str(), &found);
    if (search == INVALID_HANDLE_VALUE) return names;
    do names.insert(found.cFileName);
    while (FindNextFileA(search, &found));
    FindClose(search);
    return names;
  }
  void openAndClose(const std::string& path) {
    HostClip& c = describedClip(path);
    ASSERT_EQ(host_.close(c), 0);
  }
};

TEST_F(PluginCacheTest, TwoClipsOfOneMovieShareOneCopyInAnyLetterCase) {
  const std::string path = movie("Shared.swf", squareMovie(6, 12));
  std::string upper = path;
  for (char& ch : upper) ch = char(std::toupper(static_cast<unsigned char>(ch)));
  HostClip& first = describedClip(path);
  HostClip& second = describedClip(upper);
  EXPECT_EQ(cachedCopies(), 1);
  ImageRequest a, b;
  ASSERT_EQ(image(first, 4, 120, 40, &a), 0);
  ASSERT_EQ(image(second, 2, 120, 40, &b), 0);
  EXPECT_TRUE(isOpaqueRed(a.pixel(45, 5)));
  EXPECT_TRUE(isOpaqueRed(b.pixel(25, 5)));
  ASSERT_EQ(host_.close(second), 0);
  ImageRequest c;
  ASSERT_EQ(image(first, 5, 120, 40, &c), 0);
  EXPECT_TRUE(isOpaqueRed(c.pixel(55, 5)));
  EXPECT_EQ(cachedCopies(), 1);
}

TEST_F(PluginCacheTest, ReopenedMovieUsesItsKeptCopy) {
  const std::string path = movie("kept.swf", squareMovie(6, 12, 120, 40, mvqtest::Compression::Zlib));
  openAndClose(path);
  const std::set<std::string> before = copyNames();
  ASSERT_EQ(before.size(), 1u);
  HostClip& again = describedClip(path);
  EXPECT_EQ(copyNames(), before);
  ImageRequest r;
  ASSERT_EQ(image(again, 3, 120, 40, &r), 0);
  EXPECT_TRUE(isOpaqueRed(r.pixel(35, 5)));
}

TEST_F(PluginCacheTest, TouchedSourceGetsANewCopy) {
  const std::string path = movie("touched.swf", squareMovie(6, 12));
  openAndClose(path);
  const std::set<std::string> before = copyNames();
  HANDLE file = CreateFileA(path.c_str(), FILE_WRITE_ATTRIBUTES, 0, nullptr, OPEN_EXISTING, 0, nullptr);
  ASSERT_NE(file, INVALID_HANDLE_VALUE);
  FILETIME later;
  GetSystemTimeAsFileTime(&later);
  later.dwHighDateTime += 2;
  ASSERT_TRUE(SetFileTime(file, nullptr, nullptr, &later));
  CloseHandle(file);
  describedClip(path);
  const std::set<std::string> after = copyNames();
  ASSERT_EQ(after.size(), 1u);
  EXPECT_NE(*after.begin(), *before.begin());
}

TEST_F(PluginCacheTest, ThirtyCopiesAreKeptAndTheOldestGoes) {
  std::vector<std::string> paths;
  for (int i = 0; i < 31; ++i) paths.push_back(movie("m" + std::to_string(i) + ".swf", squareMovie(2, 12)));
  openAndClose(paths[0]);
  const std::set<std::string> first = copyNames();
  for (int i = 1; i < 31; ++i) openAndClose(paths[i]);
  const std::set<std::string> all = copyNames();
  EXPECT_EQ(all.size(), 30u);
  EXPECT_EQ(all.count(*first.begin()), 0u);
}

TEST_F(PluginCacheTest, NewTemporaryFolderTakesTheCopiesAlong) {
  HostClip& open = describedClip(movie("open.swf", squareMovie(6, 12)));
  openAndClose(movie("closed.swf", squareMovie(6, 12)));
  ASSERT_EQ(cachedCopies(), 2);
  mvqtest::TempDir other;
  useTemporaryFolder(other.path());
  // The next clip's cache set-up finds the folder changed.
  describedClip(movie("third.swf", squareMovie(6, 12)));
  EXPECT_EQ(cachedCopies(), 0);
  EXPECT_EQ(copiesIn(other.path()), 3);
  ImageRequest r;
  ASSERT_EQ(image(open, 2, 120, 40, &r), 0);
  EXPECT_TRUE(isOpaqueRed(r.pixel(25, 5)));
  unloadPlugin();
  EXPECT_EQ(copiesIn(other.path()), 0);
  useTemporaryFolder(temp_->path());
}

TEST_F(PluginCacheTest, UnloadingDeletesEveryCopy) {
  describedClip(movie("a.swf", squareMovie(2, 12)));
  openAndClose(movie("b.swf", squareMovie(2, 12)));
  ASSERT_EQ(cachedCopies(), 2);
  unloadPlugin();
  EXPECT_EQ(cachedCopies(), 0);
}

}  // namespace
