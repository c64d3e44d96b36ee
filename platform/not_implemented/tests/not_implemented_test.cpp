// The trace names the method only when asked for, and appends to the named file.
#include <gtest/gtest.h>

#include <windows.h>

#include <fstream>
#include <sstream>
#include <string>

#include "not_implemented.h"

namespace {

class NotImplementedTrace : public ::testing::Test {
 protected:
  void SetUp() override {
    char folder[MAX_PATH];
    GetTempPathA(sizeof folder, folder);
    char file[MAX_PATH];
    GetTempFileNameA(folder, "mvq", 0, file);
    log_ = file;
    DeleteFileA(log_.c_str());
  }
  void TearDown() override {
    SetEnvironmentVariableA("MVQ_TRACE_NOTIMPL", nullptr);
    DeleteFileA(log_.c_str());
  }
  std::string logText() const {
    std::ifstream in(log_);
    std::stringstream text;
    text << in.rdbuf();
    return text.str();
  }
  std::string log_;
};

TEST_F(NotImplementedTrace, QuietUnlessAsked) {
  SetEnvironmentVariableA("MVQ_TRACE_NOTIMPL", nullptr);
  EXPECT_EQ(E_NOTIMPL, notImplemented("IThing::Quiet"));
  EXPECT_EQ(INVALID_FILE_ATTRIBUTES, GetFileAttributesA(log_.c_str()));
}

TEST_F(NotImplementedTrace, EachCallIsNamedOnItsOwnLine) {
  SetEnvironmentVariableA("MVQ_TRACE_NOTIMPL", log_.c_str());
  EXPECT_EQ(E_NOTIMPL, notImplemented("IThing::First"));
  EXPECT_EQ(E_NOTIMPL, notImplemented("IThing::Second"));
  EXPECT_EQ(E_NOTIMPL, notImplemented(nullptr));
  EXPECT_EQ(
      "stand-in: IThing::First is not implemented (E_NOTIMPL)\n"
      "stand-in: IThing::Second is not implemented (E_NOTIMPL)\n"
      "stand-in: ? is not implemented (E_NOTIMPL)\n",
      logText());
}

TEST_F(NotImplementedTrace, AnUnwritableTargetStillAnswers) {
  SetEnvironmentVariableA("MVQ_TRACE_NOTIMPL", "Z:\\no\\such\\folder\\trace.log");
  EXPECT_EQ(E_NOTIMPL, notImplemented("IThing::Lost"));
}

}  // namespace
