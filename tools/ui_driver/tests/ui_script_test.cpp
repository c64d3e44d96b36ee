#include "ui_script.h"

#include <gtest/gtest.h>

namespace {

using Words = std::vector<std::string>;

TEST(SplitWords, BlanksSeparateAndQuotesGroup) {
  EXPECT_EQ((Words{"menu", "32769"}), ui::splitWords("  menu\t32769 \r\n"));
  EXPECT_EQ((Words{"file-dialog", "Select a Flash File", "Z:\\tmp\\a b.swf"}),
            ui::splitWords("file-dialog \"Select a Flash File\" \"Z:\\tmp\\a b.swf\""));
  EXPECT_EQ((Words{"set-text", "305", ""}), ui::splitWords("set-text 305 \"\""));
  EXPECT_EQ((Words{"say", "a \"b\""}), ui::splitWords("say \"a \\\"b\\\"\""));
  EXPECT_EQ((Words{"cwd=Z:\\a b"}), ui::splitWords("cwd=\"Z:\\a b\""));
  EXPECT_TRUE(ui::splitWords("   ").empty());
}

TEST(SplitWords, UnclosedQuoteRunsToTheEnd) { EXPECT_EQ((Words{"x", "a b "}), ui::splitWords("x \"a b ")); }

TEST(ScriptSession, RepliesToEveryCommandOnOneLine) {
  ui::ScriptSession session;
  EXPECT_EQ("", session.run("# a comment"));
  EXPECT_EQ("", session.run(""));
  EXPECT_EQ("error unknown command frobnicate", session.run("frobnicate 1"));
  EXPECT_EQ("error no dialog", session.run("press 1"));
  EXPECT_EQ("ok", session.run("sleep 1"));
  EXPECT_FALSE(session.finished());
  EXPECT_EQ("ok", session.run("quit"));
  EXPECT_TRUE(session.finished());
}

TEST(ScriptSession, ReportsAProgramThatCannotStart) {
  ui::ScriptSession session;
  EXPECT_EQ("error cannot start", session.run("start Z:\\no\\such\\program.exe"));
}

TEST(ScriptSession, StartsAProgramAndReadsItsExitCode) {
  ui::ScriptSession session;
  const std::string reply = session.run("start cmd.exe /c exit 3");
  ASSERT_EQ(0u, reply.find("ok pid "));
  EXPECT_EQ("ok 3", session.run("wait-exit 10000"));
}

}  // namespace
