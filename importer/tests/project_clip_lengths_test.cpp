#include "project_clip_lengths.h"

#include <gtest/gtest.h>

#include <cstring>
#include <string>

#include "test_files.h"

namespace {

// One clip entry as the editor writes it.
std::string clip(const std::string& settings, const std::string& path) {
  return "[FILE]\nid=7\nparam=" + settings + "\nkind=1\n[FNAM]\nfname=" + path + "\n";
}

class ProjectClipLengthsTest : public ::testing::Test {
 protected:
  void TearDown() override {
    discardProjectClipRecords();
    projectFilePath[0] = '\0';
  }
  void readProject(const std::string& text) {
    const std::string path = dir_.write("project.ppj", mvqtest::Bytes(text.begin(), text.end()));
    ASSERT_LT(path.size(), kProjectPathSize);
    std::strcpy(projectFilePath, path.c_str());
    readProjectClipRecords();
  }
  static int recordCount() {
    int n = 0;
    for (const ProjectClipRecord* r = projectClipRecords(); r; r = r->next) ++n;
    return n;
  }

  mvqtest::TempDir dir_;
};

TEST_F(ProjectClipLengthsTest, SettingsBytesGiveTheSavedLengths) {
  readProject("[PROJECT]\nname=x\n" + clip("44,1,0,0,1,0,0,0,0,0,0,0", "C:\\movies\\intro.swf") +
              clip("112,17,1,0,2,0,0,0,1,0,0,0", "C:\\movies\\outro.swf"));
  ASSERT_EQ(recordCount(), 2);
  EXPECT_EQ(takeSavedClipLength("C:\\movies\\intro.swf"), 300);
  EXPECT_EQ(takeSavedClipLength("C:\\movies\\outro.swf"), 70000);
  EXPECT_EQ(recordCount(), 0);
}

TEST_F(ProjectClipLengthsTest, DoubledBackslashesAreStoredSingleAndMatchedInAnyCase) {
  readProject(clip("10,0,0,0,", "C:\\\\Movies\\\\\\intro.swf"));
  ASSERT_NE(projectClipRecords(), nullptr);
  EXPECT_STREQ(projectClipRecords()->path, "C:\\Movies\\intro.swf");
  EXPECT_EQ(takeSavedClipLength("c:\\MOVIES\\INTRO.SWF"), 10);
}

TEST_F(ProjectClipLengthsTest, OnlyMovieExtensionsCount) {
  readProject(clip("1,0,0,0,", "a.SWF") + clip("2,0,0,0,", "b.swf2") + clip("3,0,0,0,", "c.swt") +
              clip("4,0,0,0,", "d.swf\\clip") + clip("5,0,0,0,", "noextension"));
  ASSERT_EQ(recordCount(), 1);
  EXPECT_EQ(takeSavedClipLength("a.swf"), 1);
}

TEST_F(ProjectClipLengthsTest, IncompleteSettingsAddNothing) {
  readProject(clip("44,1,0", "three.swf") + clip("x,1,0,0,", "text.swf") + clip("7,0,0,0", "four.swf"));
  ASSERT_EQ(recordCount(), 1);
  EXPECT_EQ(takeSavedClipLength("four.swf"), 7);
}

TEST_F(ProjectClipLengthsTest, MisplacedKeysSkipTheEntry) {
  // "param=" on the first line after [FILE], then "fname=" not right after [FNAM].
  readProject(
      "[FILE]\nparam=9,0,0,0,\nother\n[FNAM]\nfname=early.swf\n"
      "[FILE]\nid\nparam=8,0,0,0,\n[FNAM]\nnote=1\nfname=late.swf\n" +
      clip("6,0,0,0,", "good.swf"));
  ASSERT_EQ(recordCount(), 1);
  EXPECT_EQ(takeSavedClipLength("good.swf"), 6);
}

TEST_F(ProjectClipLengthsTest, BlankLinesIndentationAndCarriageReturnsAreSkipped) {
  readProject(
      "\r\n\r\n   [FILE]\r\n\r\n  id=1\r\n\tparam=20,0,0,0,\r\n[FNAM]\r\n\r\n "
      "fname=spaced.swf\r\n");
  EXPECT_EQ(takeSavedClipLength("spaced.swf"), 20);
}

TEST_F(ProjectClipLengthsTest, RecordsForOnePathAreHandedOutOnceInFileOrder) {
  readProject(clip("1,0,0,0,", "same.swf") + clip("2,0,0,0,", "same.swf"));
  EXPECT_EQ(takeSavedClipLength("same.swf"), 1);
  EXPECT_EQ(takeSavedClipLength("same.swf"), 2);
  EXPECT_EQ(takeSavedClipLength("same.swf"), 0);
  EXPECT_EQ(takeSavedClipLength("other.swf"), 0);
}

TEST_F(ProjectClipLengthsTest, OverLongLinesAndPathsAreCutInsideTheirBuffers) {
  const std::string longLine(3 * kProjectLineSize, 'x');
  const std::string longPath = "C:\\" + std::string(600, 'p') + ".swf";
  readProject(longLine + "[FILE]\n" + clip("3,0,0,0,", longPath) + clip("4,0,0,0,", "after.swf"));
  // A path past its buffer is skipped, not cut; a line past its buffer is
  // read to its end (its "[FILE]" lost) and the search goes on behind it.
  ASSERT_EQ(recordCount(), 1);
  EXPECT_EQ(takeSavedClipLength("after.swf"), 4);

  discardProjectClipRecords();
  const std::string fitting = "C:\\" + std::string(200, 'q') + "\\\\\\\\" + std::string(50, 'r') + ".swf";
  readProject(clip("5,0,0,0,", fitting));
  ASSERT_EQ(recordCount(), 1);
  EXPECT_LT(std::strlen(projectClipRecords()->path), kProjectPathSize);
  EXPECT_EQ(std::strlen(projectClipRecords()->path), fitting.size() - 3);
}

TEST_F(ProjectClipLengthsTest, MissingProjectLeavesTheListEmpty) {
  std::strcpy(projectFilePath, dir_.file("none.ppj").c_str());
  readProjectClipRecords();
  EXPECT_EQ(projectClipRecords(), nullptr);
  projectFilePath[0] = '\0';
  readProjectClipRecords();
  EXPECT_EQ(projectClipRecords(), nullptr);
}

TEST_F(ProjectClipLengthsTest, ReadingAgainAppendsAndDiscardingEmpties) {
  readProject(clip("1,0,0,0,", "a.swf"));
  readProjectClipRecords();
  EXPECT_EQ(recordCount(), 2);
  discardProjectClipRecords();
  EXPECT_EQ(projectClipRecords(), nullptr);
}

}  // namespace
