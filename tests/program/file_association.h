// Points a file type's association at a command of the test's choosing, or at a
// type without one, and puts the real association back afterwards.
#pragma once

#include <windows.h>
#include <shlwapi.h>

#include <string>

class ScopedFileAssociation {
 public:
  explicit ScopedFileAssociation(const char* extension) : extension_(extension) {
    LONG size = sizeof savedType_;
    hadType_ = RegQueryValueA(HKEY_CLASSES_ROOT, extension, savedType_, &size) == ERROR_SUCCESS;
  }
  ~ScopedFileAssociation() {
    if (hadType_)
      setDefault(extension_.c_str(), savedType_);
    else
      RegDeleteKeyA(HKEY_CLASSES_ROOT, extension_.c_str());
    SHDeleteKeyA(HKEY_CLASSES_ROOT, "MvqTestPage");
    SHDeleteKeyA(HKEY_CLASSES_ROOT, "MvqTestNoCommand");
  }
  ScopedFileAssociation(const ScopedFileAssociation&) = delete;
  ScopedFileAssociation& operator=(const ScopedFileAssociation&) = delete;

  bool useCommand(const char* command) {
    return setDefault(extension_.c_str(), "MvqTestPage") && setDefault("MvqTestPage\\shell\\open\\command", command);
  }
  bool useNoCommand() { return setDefault(extension_.c_str(), "MvqTestNoCommand"); }

 private:
  static bool setDefault(const char* key, const char* value) {
    return RegSetValueA(HKEY_CLASSES_ROOT, key, REG_SZ, value, static_cast<DWORD>(lstrlenA(value))) == ERROR_SUCCESS;
  }

  std::string extension_;
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
  std::string path = std::string(folder) + stem + "-" + std::to_string(GetCurrentProcessId()) + "-" +
                     std::to_string(++serial) + ".mvqpage";
  DeleteFileA(path.c_str());
  return path;
}
