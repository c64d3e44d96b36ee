// Points the .htm file association at a command of the test's choosing, or at a
// type without one, and puts the real association back afterwards.
#pragma once

#include <windows.h>
#include <shlwapi.h>

#include <string>

#include "registry_values.h"

class ScopedHtmAssociation {
 public:
  ScopedHtmAssociation() {
    hadType_ = readRegistryText(HKEY_CLASSES_ROOT, ".htm", nullptr, savedType_, sizeof savedType_);
  }
  ~ScopedHtmAssociation() {
    if (hadType_) writeRegistryString(HKEY_CLASSES_ROOT, ".htm", nullptr, savedType_);
    SHDeleteKeyA(HKEY_CLASSES_ROOT, "MvqTestPage");
    SHDeleteKeyA(HKEY_CLASSES_ROOT, "MvqTestNoCommand");
  }
  ScopedHtmAssociation(const ScopedHtmAssociation&) = delete;
  ScopedHtmAssociation& operator=(const ScopedHtmAssociation&) = delete;

  bool useCommand(const char* command) {
    return writeRegistryString(HKEY_CLASSES_ROOT, ".htm", nullptr, "MvqTestPage") &&
           writeRegistryString(HKEY_CLASSES_ROOT, "MvqTestPage\\shell\\open\\command", nullptr,
                               command);
  }
  bool useNoCommand() {
    return writeRegistryString(HKEY_CLASSES_ROOT, ".htm", nullptr, "MvqTestNoCommand");
  }

 private:
  bool hadType_ = false;
  char savedType_[260] = "";
};

// A path in the temporary folder, of a type nothing is registered for, that does
// not exist yet, so the shell cannot open it; a registered "cmd /c copy nul"
// command creates it, which shows the command ran with the target.
inline std::string newMarkerPath(const char* stem) {
  char folder[MAX_PATH];
  GetTempPathA(sizeof folder, folder);
  static int serial = 0;
  std::string path = std::string(folder) + stem + "-" + std::to_string(GetCurrentProcessId()) +
                     "-" + std::to_string(++serial) + ".mvqpage";
  DeleteFileA(path.c_str());
  return path;
}
