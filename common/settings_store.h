// The program's user-interface settings: read from the registry once at
// start-up, kept in one process-wide record, written back once at the end.
#pragma once

#include <windows.h>

constexpr char kSettingsKey[] = "SOFTWARE\\Tessaline\\Moviquill Trial\\1.1\\Setting";
constexpr DWORD kSettingsPathSize = 260;

struct SettingsRecord {
  RECT mainWin;      // screen coordinates; {CW_USEDEFAULT, CW_USEDEFAULT, 0, 0} lets the system choose
  RECT progressWin;  // only left and top are stored
  char openDir[kSettingsPathSize];
  char saveDir[kSettingsPathSize];
};

extern SettingsRecord appSettings;

// The defaults, then every value that can be read. Always succeeds.
void loadSettings(HKEY root = HKEY_LOCAL_MACHINE, const char* subkey = kSettingsKey);
// Writes every field; failures are ignored.
void saveSettings(HKEY root = HKEY_LOCAL_MACHINE, const char* subkey = kSettingsKey);

// Decimal text as the settings hold it: leading blanks, an optional sign, digits
// up to the first other character; no digits read as 0.
int parseSettingNumber(const char* text);

// False (and *value unchanged) when the value cannot be read.
bool readSettingNumber(HKEY root, const char* subkey, const char* name, int* value);
bool writeSettingNumber(HKEY root, const char* subkey, const char* name, int value);
