#include "path_text.h"

#include <gtest/gtest.h>

#include <string>

namespace {

std::string folderOf(std::string path) {
  cutAtLastBackslash(&path[0]);
  return path.c_str();
}

std::string baseOf(std::string path) {
  keepBaseName(&path[0]);
  return path.c_str();
}

TEST(CutAtLastBackslash, LeavesTheFolder) {
  EXPECT_EQ("C:\\m", folderOf("C:\\m\\a.swf"));
  EXPECT_EQ("Z:\\a b\\c.d", folderOf("Z:\\a b\\c.d\\e"));
  EXPECT_EQ("C:", folderOf("C:\\a.swf"));
  EXPECT_EQ("name.swf", folderOf("name.swf"));
  EXPECT_EQ("", folderOf(""));
}

TEST(KeepBaseName, DropsFolderAndExtension) {
  EXPECT_EQ("a", baseOf("C:\\m\\a.swf"));
  EXPECT_EQ("clip", baseOf("D:\\out\\clip.avi"));
  EXPECT_EQ("clip", baseOf("clip"));
  EXPECT_EQ("my.movie", baseOf("C:\\x.y\\my.movie.swf"));
  EXPECT_EQ("noext", baseOf("C:\\x.y\\noext"));
  EXPECT_EQ("", baseOf("C:\\m\\"));
}

}  // namespace
