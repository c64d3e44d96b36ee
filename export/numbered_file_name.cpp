#include "numbered_file_name.h"

#include <windows.h>

#include <cstdio>

std::string numberedFileName(const std::string& path, unsigned number) {
  const size_t dot = path.rfind('.');
  const size_t slash = path.find_last_of("\\/");
  // A dot inside a folder name is not the extension.
  const bool hasExtension = dot != std::string::npos && (slash == std::string::npos || dot > slash);
  char suffix[24];
  std::snprintf(suffix, sizeof suffix, "%04u.avi", number % 10000);
  return (hasExtension ? path.substr(0, dot) : path) + suffix;
}

void deleteNumberedFiles(const std::string& path) {
  for (unsigned number = 0; number < 10000; ++number)
    if (!DeleteFileA(numberedFileName(path, number).c_str()) && GetLastError() == ERROR_FILE_NOT_FOUND) return;
}
