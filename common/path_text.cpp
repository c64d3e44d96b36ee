#include "path_text.h"

#include <windows.h>

#include <cstring>

namespace {

// The last backslash, stepping by characters so that a trail byte of a
// double-byte character is never taken for one.
char* lastBackslash(char* path) {
  char* last = nullptr;
  for (char* p = path; *p; p = CharNextA(p))
    if (*p == '\\') last = p;
  return last;
}

}  // namespace

void cutAtLastBackslash(char* path) {
  if (char* slash = lastBackslash(path)) *slash = '\0';
}

void keepBaseName(char* path) {
  if (char* slash = lastBackslash(path)) std::memmove(path, slash + 1, std::strlen(slash + 1) + 1);
  char* dot = nullptr;
  for (char* p = path; *p; p = CharNextA(p))
    if (*p == '.') dot = p;
  if (dot) *dot = '\0';
}
