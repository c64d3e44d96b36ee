#include "settings_store.h"

#include <climits>
#include <cstdio>
#include <cstdlib>
#include <cstring>

#include "registry_values.h"

SettingsRecord appSettings;

namespace {

constexpr DWORD kNumberTextSize = 32;

void readSettingText(HKEY root, const char* subkey, const char* name, char* field) {
  char text[kSettingsPathSize];
  if (readRegistryText(root, subkey, name, text, sizeof text)) std::strcpy(field, text);
}

void readNumberField(HKEY root, const char* subkey, const char* name, LONG* field) {
  int value;
  if (readSettingNumber(root, subkey, name, &value)) *field = value;
}

void currentDirectory(char* field) {
  const DWORD length = GetCurrentDirectoryA(kSettingsPathSize, field);
  if (length == 0 || length >= kSettingsPathSize) field[0] = '\0';
}

}  // namespace

int parseSettingNumber(const char* text) {
  // strtol saturates instead of overflowing; a long is 32 bits here.
  const long value = std::strtol(text, nullptr, 10);
  if (value > INT_MAX) return INT_MAX;
  if (value < INT_MIN) return INT_MIN;
  return static_cast<int>(value);
}

bool readSettingNumber(HKEY root, const char* subkey, const char* name, int* value) {
  char text[kNumberTextSize];
  if (!readRegistryText(root, subkey, name, text, sizeof text)) return false;
  *value = parseSettingNumber(text);
  return true;
}

bool writeSettingNumber(HKEY root, const char* subkey, const char* name, int value) {
  char text[kNumberTextSize];
  std::snprintf(text, sizeof text, "%d", value);
  return writeRegistryString(root, subkey, name, text);
}

void loadSettings(HKEY root, const char* subkey) {
  appSettings.mainWin = RECT{CW_USEDEFAULT, CW_USEDEFAULT, 0, 0};
  appSettings.progressWin = RECT{0, 0, 0, 0};
  currentDirectory(appSettings.openDir);
  std::strcpy(appSettings.saveDir, appSettings.openDir);

  readNumberField(root, subkey, "MainWin.left", &appSettings.mainWin.left);
  readNumberField(root, subkey, "MainWin.right", &appSettings.mainWin.right);
  readNumberField(root, subkey, "MainWin.top", &appSettings.mainWin.top);
  readNumberField(root, subkey, "MainWin.bottom", &appSettings.mainWin.bottom);
  readNumberField(root, subkey, "ProgressWin.left", &appSettings.progressWin.left);
  readNumberField(root, subkey, "ProgressWin.top", &appSettings.progressWin.top);
  readSettingText(root, subkey, "OpenDir", appSettings.openDir);
  readSettingText(root, subkey, "SaveDir", appSettings.saveDir);
}

void saveSettings(HKEY root, const char* subkey) {
  writeSettingNumber(root, subkey, "MainWin.left", appSettings.mainWin.left);
  writeSettingNumber(root, subkey, "MainWin.right", appSettings.mainWin.right);
  writeSettingNumber(root, subkey, "MainWin.top", appSettings.mainWin.top);
  writeSettingNumber(root, subkey, "MainWin.bottom", appSettings.mainWin.bottom);
  writeSettingNumber(root, subkey, "ProgressWin.left", appSettings.progressWin.left);
  writeSettingNumber(root, subkey, "ProgressWin.top", appSettings.progressWin.top);
  writeRegistryString(root, subkey, "OpenDir", appSettings.openDir);
  writeRegistryString(root, subkey, "SaveDir", appSettings.saveDir);
}
