#include "host_command.h"

#include <windows.h>

#include <cstdio>
#include <cstdlib>
#include <string>

#include "host_program.h"
#include "test_files.h"

namespace audiotest {
namespace {

using UnixFileName = char*(CDECL*)(const WCHAR*);

UnixFileName unixFileNameFunction() {
  return reinterpret_cast<UnixFileName>(GetProcAddress(GetModuleHandleA("kernel32.dll"), "wine_get_unix_file_name"));
}

bool exists(const char* path) { return GetFileAttributesA(path) != INVALID_FILE_ATTRIBUTES; }

std::string readText(const std::string& path) {
  const mvqtest::Bytes bytes = mvqtest::readFile(path);
  return std::string(bytes.begin(), bytes.end());
}

}  // namespace

bool hostToolAvailable(const char* program) {
  return unixFileNameFunction() && exists("Z:\\bin\\sh") && exists(("Z:\\usr\\bin\\" + std::string(program)).c_str());
}

std::string hostPath(const std::string& windowsPath) {
  const UnixFileName convert = unixFileNameFunction();
  if (!convert) return {};
  WCHAR wide[MAX_PATH];
  if (!MultiByteToWideChar(CP_ACP, 0, windowsPath.c_str(), -1, wide, MAX_PATH)) return {};
  char* unixName = convert(wide);
  if (!unixName) return {};
  std::string result = unixName;
  HeapFree(GetProcessHeap(), 0, unixName);
  return result;
}

std::optional<std::string> runHostCommand(const std::string& shellCommand) {
  const mvqtest::TempDir folder;
  const std::string script = folder.file("run.sh");
  const std::string output = hostPath(folder.file("output.txt"));
  const std::string status = hostPath(folder.file("status"));
  const std::string text = "(" + shellCommand + ") >'" + output + "' 2>&1\necho $? >'" + status + ".part'\nmv '" +
                           status + ".part' '" + status + "'\n";
  if (!mvqtest::writeFile(script, mvqtest::Bytes(text.begin(), text.end()))) return std::nullopt;

  // The status file tells the end: Wine gives no process handle to wait on.
  if (!mvqtest::runHostProgram("/bin/sh " + hostPath(script), 0)) return std::nullopt;
  const std::string statusFile = folder.file("status");
  for (int waited = 0; !exists(statusFile.c_str()) && waited < 60000; waited += 20) Sleep(20);
  if (!exists(statusFile.c_str())) return std::nullopt;
  if (std::atoi(readText(statusFile).c_str()) != 0) return std::nullopt;
  return readText(folder.file("output.txt"));
}

}  // namespace audiotest
