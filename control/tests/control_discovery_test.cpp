#include "control_discovery.h"

#include <gtest/gtest.h>

#include <cstring>
#include <string>

namespace {

// A class id of the tests' own, so the real control's entry is never touched.
constexpr char kTestClassId[] = "{6D7651A0-3E1B-4C55-9A77-1A2B3C4D5E6F}";

std::string exeDirectory() {
  char path[MAX_PATH];
  DWORD n = GetModuleFileNameA(nullptr, path, MAX_PATH);
  std::string s(path, n);
  return s.substr(0, s.find_last_of('\\'));
}

std::string versionedDll(const char* name) { return exeDirectory() + "\\control-test-dlls\\" + name + ".dll"; }

class ControlServerTest : public ::testing::Test {
 protected:
  void TearDown() override {
    for (const char* kind : {"LocalServer32", "InprocServer32"})
      RegDeleteKeyA(HKEY_CLASSES_ROOT, classKey(kind).c_str());
    RegDeleteKeyA(HKEY_CLASSES_ROOT, classKey(nullptr).c_str());
  }

  static std::string classKey(const char* kind) {
    std::string key = std::string("CLSID\\") + kTestClassId;
    return kind ? key + "\\" + kind : key;
  }

  // Creates the server key; a null value leaves it without a default value.
  static void registerServer(const char* kind, const char* value, DWORD type = REG_SZ, DWORD size = 0) {
    HKEY key;
    ASSERT_EQ(
        RegCreateKeyExA(HKEY_CLASSES_ROOT, classKey(kind).c_str(), 0, nullptr, 0, KEY_WRITE, nullptr, &key, nullptr),
        ERROR_SUCCESS);
    if (value) {
      DWORD bytes = size ? size : static_cast<DWORD>(std::strlen(value) + 1);
      RegSetValueExA(key, nullptr, 0, type, reinterpret_cast<const BYTE*>(value), bytes);
    }
    RegCloseKey(key);
  }

  // Looks the test class up with a buffer of bufferSize bytes; fills path_
  // and length_ when found.
  bool find(DWORD bufferSize = kControlPathSize) {
    char buffer[512];
    std::memset(buffer, 'x', sizeof buffer);
    length_ = bufferSize;
    bool found = findControlServer(kTestClassId, buffer, &length_);
    if (found) {
      EXPECT_LE(length_, bufferSize);
      EXPECT_EQ(buffer[bufferSize], 'x') << "wrote past the buffer";
      path_ = buffer;
    }
    return found;
  }

  std::string path_;
  DWORD length_ = 0;
};

TEST_F(ControlServerTest, InProcessKeyAloneIsFound) {
  registerServer("InprocServer32", "C:\\Flash\\flash.ocx");
  ASSERT_TRUE(find());
  EXPECT_EQ(path_, "C:\\Flash\\flash.ocx");
  EXPECT_EQ(length_, path_.size() + 1) << "bytes read, terminator included";
}

TEST_F(ControlServerTest, LocalServerKeyWinsOverInProcessKey) {
  registerServer("InprocServer32", "C:\\inproc.ocx");
  registerServer("LocalServer32", "C:\\local.exe");
  ASSERT_TRUE(find());
  EXPECT_EQ(path_, "C:\\local.exe");
}

TEST_F(ControlServerTest, LocalServerKeyWithoutValueIsMissingEvenWithInProcessKey) {
  registerServer("LocalServer32", nullptr);
  registerServer("InprocServer32", "C:\\inproc.ocx");
  EXPECT_FALSE(find());
}

TEST_F(ControlServerTest, NoKeyOrNoDefaultValueIsMissing) {
  EXPECT_FALSE(find());
  registerServer("InprocServer32", nullptr);
  EXPECT_FALSE(find());
}

TEST_F(ControlServerTest, QuotedPathLosesItsQuotes) {
  registerServer("InprocServer32", "\"C:\\Program Files\\Flash\\flash.ocx\"");
  ASSERT_TRUE(find());
  EXPECT_EQ(path_, "C:\\Program Files\\Flash\\flash.ocx");
  EXPECT_EQ(length_, path_.size() + 1) << "shortened by the two quotes";
}

TEST_F(ControlServerTest, OnlyFullyQuotedTextsChange) {
  registerServer("LocalServer32", "\"C:\\Flash\\player.exe\" /automation");
  ASSERT_TRUE(find());
  EXPECT_EQ(path_, "\"C:\\Flash\\player.exe\" /automation");
  registerServer("LocalServer32", "\"C:\\Flash\\player.exe");
  ASSERT_TRUE(find());
  EXPECT_EQ(path_, "\"C:\\Flash\\player.exe");
}

TEST_F(ControlServerTest, ValueLongerThanTheBufferIsMissing) {
  std::string longPath(300, 'a');
  registerServer("InprocServer32", longPath.c_str());
  EXPECT_FALSE(find());
  EXPECT_FALSE(find(300)) << "no room for the terminator";
  EXPECT_TRUE(find(301));
}

TEST_F(ControlServerTest, ValueStoredWithoutTerminatorIsEnded) {
  registerServer("InprocServer32", "C:\\a.ocxZ", REG_SZ, 8);
  ASSERT_TRUE(find(9));
  EXPECT_EQ(path_, "C:\\a.ocx");
  EXPECT_FALSE(find(8));
}

TEST(StripQuotes, RemovesEnclosingQuotesAndShortensTheLength) {
  char text[] = "\"ab\"";
  DWORD length = 5;
  stripQuotes(text, &length);
  EXPECT_STREQ(text, "ab");
  EXPECT_EQ(length, 3u);
}

TEST(StripQuotes, EdgeTextsAreLeftAlone) {
  for (const char* unchanged : {"", "\"", "ab", "\"ab", "ab\"", "a\"b\""}) {
    char text[8];
    std::strcpy(text, unchanged);
    DWORD length = static_cast<DWORD>(std::strlen(unchanged) + 1);
    stripQuotes(text, &length);
    EXPECT_STREQ(text, unchanged);
    EXPECT_EQ(length, std::strlen(unchanged) + 1);
  }
  char empty[] = "\"\"";
  DWORD length = 3;
  stripQuotes(empty, &length);
  EXPECT_STREQ(empty, "");
  EXPECT_EQ(length, 1u);
}

TEST(StripQuotes, NeverLooksPastTheLength) {
  char text[] = {'"', 'a', 'b', '"'};  // no terminator within the length
  DWORD length = 3;
  stripQuotes(text, &length);
  EXPECT_EQ(length, 3u);
  EXPECT_EQ(text[0], '"');
}

struct VersionCase {
  const char* dll;
  DWORD ms, ls;
  bool refused;
};

TEST(ReadFileVersion, ReadsTheFixedFileVersion) {
  const VersionCase cases[] = {
      {"ver_6_0_21_0", 0x00060000, 0x00150000, false}, {"ver_6_0_22_0", 0x00060000, 0x00160000, true},
      {"ver_6_0_22_1", 0x00060000, 0x00160001, false}, {"ver_6_0_23_0", 0x00060000, 0x00170000, false},
      {"ver_5_0_42_0", 0x00050000, 0x002A0000, false},
  };
  for (const VersionCase& c : cases) {
    DWORD ms = 0, ls = 0;
    ASSERT_TRUE(readFileVersion(versionedDll(c.dll).c_str(), &ms, &ls)) << c.dll;
    EXPECT_EQ(ms, c.ms) << c.dll;
    EXPECT_EQ(ls, c.ls) << c.dll;
    EXPECT_EQ(isRefusedControlVersion(ms, ls), c.refused) << c.dll;
  }
}

TEST(ReadFileVersion, FileWithoutVersionResourceOrMissingFileFails) {
  DWORD ms = 7, ls = 7;
  EXPECT_FALSE(readFileVersion(versionedDll("ver_none").c_str(), &ms, &ls));
  EXPECT_FALSE(readFileVersion(versionedDll("no_such_file").c_str(), &ms, &ls));
  EXPECT_EQ(ms, 7u);
  EXPECT_EQ(ls, 7u);
}

TEST_F(ControlServerTest, RegisteredQuotedServerIsReadEndToEnd) {
  std::string quoted = "\"" + versionedDll("ver_6_0_23_0") + "\"";
  registerServer("InprocServer32", quoted.c_str());
  ASSERT_TRUE(find());
  DWORD ms = 0, ls = 0;
  ASSERT_TRUE(readFileVersion(path_.c_str(), &ms, &ls));
  EXPECT_EQ(ls, 0x00170000u);
}

TEST_F(ControlServerTest, RegisteredFileThatNoLongerExistsHasNoVersion) {
  std::string gone = exeDirectory() + "\\control-test-dlls\\removed.ocx";
  DeleteFileA(gone.c_str());
  registerServer("InprocServer32", gone.c_str());
  ASSERT_TRUE(find());
  DWORD ms, ls;
  EXPECT_FALSE(readFileVersion(path_.c_str(), &ms, &ls));
}

}  // namespace
