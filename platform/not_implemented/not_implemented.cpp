#include "not_implemented.h"

#include <cstdio>
#include <cstring>

namespace {

void writeLine(const char* target, const char* line) {
  if (std::strcmp(target, "1") == 0) {
    std::fputs(line, stderr);
    return;
  }
  if (FILE* log = std::fopen(target, "a")) {
    std::fputs(line, log);
    std::fclose(log);
  }
}

}  // namespace

HRESULT notImplemented(const char* method) {
  char target[MAX_PATH];
  const DWORD length = GetEnvironmentVariableA("MVQ_TRACE_NOTIMPL", target, sizeof target);
  if (length == 0 || length >= sizeof target) return E_NOTIMPL;
  char line[256];
  std::snprintf(line, sizeof line, "stand-in: %s is not implemented (E_NOTIMPL)\n", method ? method : "?");
  OutputDebugStringA(line);
  writeLine(target, line);
  return E_NOTIMPL;
}
