// Starts a program of the host system (a Unix binary such as /bin/sh) from a
// Windows test process under Wine.
#pragma once

#include <windows.h>

#include <string>

namespace mvqtest {

// True when the program started. Wine hands back no process for a Unix binary
// and leaves the thread handle as whatever its stack held: closing that would
// close another handle of ours (HKEY_CLASSES_ROOT, which advapi32 keeps open for
// the whole process, was one). Only a process handle Wine gave is waited on and
// closed, with its thread's.
inline bool runHostProgram(std::string commandLine, DWORD waitMs) {
  STARTUPINFOA startup = {};
  startup.cb = sizeof startup;
  PROCESS_INFORMATION info = {};
  if (!CreateProcessA(nullptr, &commandLine[0], nullptr, nullptr, FALSE, 0, nullptr, nullptr, &startup, &info))
    return false;
  if (info.hProcess) {
    WaitForSingleObject(info.hProcess, waitMs);
    CloseHandle(info.hThread);
    CloseHandle(info.hProcess);
  }
  return true;
}

}  // namespace mvqtest
