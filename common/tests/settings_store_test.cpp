#include "settings_store.h"

#include <shlwapi.h>

#include <gtest/gtest.h>

#include <cstring>
#include <string>

#include "registry_values.h"

namespace {

constexpr char kTestKey[] = "Software\\Moviquill Tests\\Settings";

class SettingsStoreTest : public ::testing::Test {
 protected:
  void SetUp() override { SHDeleteKeyA(HKEY_CURRENT_USER, "Software\\Moviquill Tests"); }
  void TearDown() override { SHDeleteKeyA(HKEY_CURRENT_USER, "Software\\Moviquill Tests"); }

  void store(const char* name, const char* text) {
    ASSERT_TRUE(writeRegistryString(HKEY_CURRENT_USER, kTestKey, name, text));
  }
  std::string stored(const char* name) {
    char text[300] = "";
    DWORD size = sizeof text;
    if (!readRegistryValue(HKEY_CURRENT_USER, kTestKey, name, text, &size)) return "<missing>";
    return text;
  }
  static std::string workingDirectory() {
    char folder[MAX_PATH];
    GetCurrentDirectoryA(sizeof folder, folder);
    return folder;
  }
};

TEST(ParseSettingNumber, ReadsLikeTheUsualDecimalConversion) {
  EXPECT_EQ(-4, parseSettingNumber("-4"));
  EXPECT_EQ(12, parseSettingNumber("12abc"));
  EXPECT_EQ(0, parseSettingNumber("abc"));
  EXPECT_EQ(0, parseSettingNumber(""));
  EXPECT_EQ(7, parseSettingNumber("  +7"));
  EXPECT_EQ(-2147483647 - 1, parseSettingNumber("-2147483648"));
  EXPECT_EQ(2147483647, parseSettingNumber("99999999999"));
  EXPECT_EQ(-2147483647 - 1, parseSettingNumber("-99999999999"));
  EXPECT_EQ(0, parseSettingNumber("- 5"));
}

TEST_F(SettingsStoreTest, NumbersRoundTripAsSignedDecimalText) {
  ASSERT_TRUE(writeSettingNumber(HKEY_CURRENT_USER, kTestKey, "a", -2147483647 - 1));
  ASSERT_TRUE(writeSettingNumber(HKEY_CURRENT_USER, kTestKey, "b", 0));
  ASSERT_TRUE(writeSettingNumber(HKEY_CURRENT_USER, kTestKey, "c", 1234));
  EXPECT_EQ("-2147483648", stored("a"));
  EXPECT_EQ("0", stored("b"));
  EXPECT_EQ("1234", stored("c"));
  int value = 99;
  ASSERT_TRUE(readSettingNumber(HKEY_CURRENT_USER, kTestKey, "a", &value));
  EXPECT_EQ(-2147483647 - 1, value);
}

TEST_F(SettingsStoreTest, UnreadableNumbersLeaveTheValueAlone) {
  int value = 55;
  EXPECT_FALSE(readSettingNumber(HKEY_CURRENT_USER, kTestKey, "missing", &value));
  EXPECT_EQ(55, value);
  store("long", "1234567890123456789012345678901234567890");  // more than 32 bytes
  EXPECT_FALSE(readSettingNumber(HKEY_CURRENT_USER, kTestKey, "long", &value));
  EXPECT_EQ(55, value);
}

TEST_F(SettingsStoreTest, ValuesOfAnyTypeAreReadAsText) {
  HKEY key;
  ASSERT_EQ(ERROR_SUCCESS,
            RegCreateKeyExA(HKEY_CURRENT_USER, kTestKey, 0, nullptr, 0, KEY_ALL_ACCESS, nullptr, &key, nullptr));
  const char unterminated[] = {'4', '2'};
  RegSetValueExA(key, "binary", 0, REG_BINARY, reinterpret_cast<const BYTE*>(unterminated), 2);
  RegCloseKey(key);
  int value = 0;
  ASSERT_TRUE(readSettingNumber(HKEY_CURRENT_USER, kTestKey, "binary", &value));
  EXPECT_EQ(42, value);
}

TEST_F(SettingsStoreTest, NothingStoredGivesTheDefaults) {
  loadSettings(HKEY_CURRENT_USER, kTestKey);
  EXPECT_EQ(CW_USEDEFAULT, appSettings.mainWin.left);
  EXPECT_EQ(CW_USEDEFAULT, appSettings.mainWin.top);
  EXPECT_EQ(0, appSettings.mainWin.right);
  EXPECT_EQ(0, appSettings.mainWin.bottom);
  EXPECT_EQ(0, appSettings.progressWin.left);
  EXPECT_EQ(0, appSettings.progressWin.top);
  EXPECT_EQ(workingDirectory(), appSettings.openDir);
  EXPECT_EQ(workingDirectory(), appSettings.saveDir);
  // Width and height wrap round to CW_USEDEFAULT, so the system chooses.
  EXPECT_EQ(CW_USEDEFAULT, static_cast<int>(static_cast<unsigned>(appSettings.mainWin.right) -
                                            static_cast<unsigned>(appSettings.mainWin.left)));
}

TEST_F(SettingsStoreTest, StoredValuesOverrideEachFieldAlone) {
  store("MainWin.left", "-4");
  store("MainWin.top", "12abc");
  store("MainWin.right", "abc");
  store("ProgressWin.top", "300");
  store("OpenDir", "C:\\movies");
  loadSettings(HKEY_CURRENT_USER, kTestKey);
  EXPECT_EQ(-4, appSettings.mainWin.left);
  EXPECT_EQ(12, appSettings.mainWin.top);
  EXPECT_EQ(0, appSettings.mainWin.right);
  EXPECT_EQ(0, appSettings.mainWin.bottom);
  EXPECT_EQ(0, appSettings.progressWin.left);
  EXPECT_EQ(300, appSettings.progressWin.top);
  EXPECT_STREQ("C:\\movies", appSettings.openDir);
  EXPECT_EQ(workingDirectory(), appSettings.saveDir);
}

TEST_F(SettingsStoreTest, FoldersMustFitTheirBuffers) {
  const std::string longest(259, 'a');
  store("OpenDir", longest.c_str());
  store("SaveDir", std::string(260, 'b').c_str());
  loadSettings(HKEY_CURRENT_USER, kTestKey);
  EXPECT_EQ(longest, appSettings.openDir);
  EXPECT_EQ(workingDirectory(), appSettings.saveDir);
}

TEST_F(SettingsStoreTest, SaveWritesEveryField) {
  loadSettings(HKEY_CURRENT_USER, kTestKey);
  appSettings.mainWin = RECT{10, 20, 610, 470};
  appSettings.progressWin = RECT{-5, 7, 100, 100};
  std::strcpy(appSettings.saveDir, "D:\\out");
  saveSettings(HKEY_CURRENT_USER, kTestKey);
  EXPECT_EQ("10", stored("MainWin.left"));
  EXPECT_EQ("20", stored("MainWin.top"));
  EXPECT_EQ("610", stored("MainWin.right"));
  EXPECT_EQ("470", stored("MainWin.bottom"));
  EXPECT_EQ("-5", stored("ProgressWin.left"));
  EXPECT_EQ("7", stored("ProgressWin.top"));
  EXPECT_EQ("<missing>", stored("ProgressWin.right"));
  EXPECT_EQ(workingDirectory(), stored("OpenDir"));
  EXPECT_EQ("D:\\out", stored("SaveDir"));

  appSettings.mainWin = RECT{0, 0, 0, 0};
  loadSettings(HKEY_CURRENT_USER, kTestKey);
  EXPECT_EQ(610, appSettings.mainWin.right);
  EXPECT_STREQ("D:\\out", appSettings.saveDir);
}

TEST_F(SettingsStoreTest, WritingToAnUnusableKeyFailsQuietly) {
  EXPECT_FALSE(writeRegistryString(reinterpret_cast<HKEY>(0x1234), "a", "b", "c"));
}

}  // namespace
