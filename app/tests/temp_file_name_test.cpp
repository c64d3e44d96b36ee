#include "temp_file_name.h"

#include <windows.h>

#include <gtest/gtest.h>

#include <string>

namespace {

std::string baseName(const std::string& path) { return path.substr(path.find_last_of('\\') + 1); }

TEST(MakeTempFileName, GivesDistinctEmptyMvqFilesInTheTemporaryFolder) {
  char first[260], second[260];
  makeTempFileName(first);
  makeTempFileName(second);
  char folder[MAX_PATH];
  GetTempPathA(sizeof folder, folder);
  for (const char* path : {first, second}) {
    SCOPED_TRACE(path);
    EXPECT_EQ(0u, std::string(path).find(folder));
    EXPECT_EQ(0u, baseName(path).find("MVQ"));
    WIN32_FILE_ATTRIBUTE_DATA data;
    ASSERT_TRUE(GetFileAttributesExA(path, GetFileExInfoStandard, &data));
    EXPECT_EQ(0u, data.nFileSizeLow);
    EXPECT_EQ(0u, data.nFileSizeHigh);
  }
  EXPECT_STRNE(first, second);
  DeleteFileA(first);
  DeleteFileA(second);
}

TEST(MakeTempFileName, AnUnusableTemporaryFolderGivesNoName) {
  char saved[MAX_PATH];
  const DWORD length = GetEnvironmentVariableA("TMP", saved, sizeof saved);
  char savedTemp[MAX_PATH];
  const DWORD tempLength = GetEnvironmentVariableA("TEMP", savedTemp, sizeof savedTemp);
  SetEnvironmentVariableA("TMP", "Z:\\no\\such\\folder\\at\\all");
  SetEnvironmentVariableA("TEMP", "Z:\\no\\such\\folder\\at\\all");
  char path[260] = "unchanged";
  makeTempFileName(path);
  SetEnvironmentVariableA("TMP", length ? saved : nullptr);
  SetEnvironmentVariableA("TEMP", tempLength ? savedTemp : nullptr);
  EXPECT_STREQ("", path);
}

}  // namespace
