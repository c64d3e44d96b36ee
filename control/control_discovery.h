// Finding the Flash Player control's server file through the registry and
// reading that file's version, which decides whether the control is usable.
#pragma once

#include <windows.h>

// The class id as the registry spells it (lower-case fourth group).
constexpr char kControlClassIdText[] = "{D27CDB6E-AE6D-11cf-96B8-444553540000}";
constexpr DWORD kControlPathSize = 260;

// The one version that is refused: 6.0.22.0.
constexpr DWORD kRefusedVersionMS = 0x00060000;
constexpr DWORD kRefusedVersionLS = 0x00160000;

// Reads the default value of HKCR\CLSID\<classId>\LocalServer32, or of
// ...\InprocServer32 when the first key does not exist, into path (*length:
// the buffer size going in, the length read coming out), without enclosing
// double quotes.
bool findControlServer(const char* classIdText, char* path, DWORD* length);

// When the text both starts and ends with a double quote, drops both and
// reduces *length by 2. Arguments after a quoted path stay.
void stripQuotes(char* text, DWORD* length);

// The file version words of the file's fixed version information.
bool readFileVersion(const char* path, DWORD* versionMS, DWORD* versionLS);

// findControlServer for the control's class id, then readFileVersion.
bool findControlVersion(DWORD* versionMS, DWORD* versionLS);

inline bool isRefusedControlVersion(DWORD versionMS, DWORD versionLS) {
  return versionMS == kRefusedVersionMS && versionLS == kRefusedVersionLS;
}
