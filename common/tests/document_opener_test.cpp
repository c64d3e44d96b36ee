#include "document_opener.h"

#include <gtest/gtest.h>

#include <string>

#include "file_association.h"
#include "ui_windows.h"

namespace {

TEST(BrowserCommandFor, CutsAtTheQuotedPlaceholder) {
  EXPECT_EQ("\"C:\\b\\browser.exe\"  https://x.example/a",
            browserCommandFor("\"C:\\b\\browser.exe\" \"%1\" -flag", "https://x.example/a"));
}

TEST(BrowserCommandFor, CutsAtABarePlaceholderWhenNoneIsQuoted) {
  EXPECT_EQ("browser.exe -new  page.htm", browserCommandFor("browser.exe -new %1 -x", "page.htm"));
  EXPECT_EQ("browser.exe  page.htm", browserCommandFor("browser.exe %1", "page.htm"));
}

TEST(BrowserCommandFor, PrefersTheQuotedPlaceholderWhereverItIs) {
  EXPECT_EQ("b.exe %1  t", browserCommandFor("b.exe %1 \"%1\"", "t"));
}

TEST(BrowserCommandFor, KeepsACommandWithoutPlaceholder) {
  EXPECT_EQ("browser.exe -open t", browserCommandFor("browser.exe -open", "t"));
  EXPECT_EQ(" t", browserCommandFor("", "t"));
  EXPECT_EQ("b.exe \"% 1 t", browserCommandFor("b.exe \"% 1", "t"));
}

class HtmAssociationTest : public ::testing::Test {
 protected:
  void TearDown() override {
    if (!marker_.empty()) DeleteFileA(marker_.c_str());
  }
  void registerCommand(const char* command) { ASSERT_TRUE(association_.useCommand(command)); }
  std::string newMarker() { return marker_ = newMarkerPath("mvq-opener"); }
  static bool appears(const std::string& path) {
    return ui::waitUntil([&] { return GetFileAttributesA(path.c_str()) != INVALID_FILE_ATTRIBUTES; }, 10000);
  }

  ScopedFileAssociation association_{".htm"};
  std::string marker_;
};

TEST_F(HtmAssociationTest, FallsBackToTheCommandRegisteredForWebPages) {
  registerCommand("cmd.exe /c copy nul \"%1\"");
  const std::string target = newMarker();
  EXPECT_TRUE(openDocument(target.c_str(), SW_HIDE));
  EXPECT_TRUE(appears(target));
}

TEST_F(HtmAssociationTest, TheLinkOpenerReturnsTheRawResult) {
  registerCommand("cmd.exe /c copy nul %1 ignored-rest");
  const std::string target = newMarker();
  EXPECT_GT(openLinkTarget(target.c_str(), SW_HIDE), 31u);
  EXPECT_TRUE(appears(target));
}

TEST_F(HtmAssociationTest, FailsWithoutARegisteredCommand) {
  ASSERT_TRUE(association_.useNoCommand());
  const std::string target = newMarker();
  EXPECT_FALSE(openDocument(target.c_str(), SW_HIDE));
  EXPECT_LE(openLinkTarget(target.c_str(), SW_HIDE), 32u);
}

TEST_F(HtmAssociationTest, FailsWhenTheRegisteredProgramCannotStart) {
  registerCommand("Z:\\no\\such\\browser.exe \"%1\"");
  const std::string target = newMarker();
  EXPECT_FALSE(openDocument(target.c_str(), SW_HIDE));
  EXPECT_LE(openLinkTarget(target.c_str(), SW_HIDE), 32u);
}

}  // namespace
