#include "temp_file_name.h"

#include <windows.h>

void makeTempFileName(char* path) {
  char folder[MAX_PATH];
  const DWORD length = GetTempPathA(sizeof folder, folder);
  if (length == 0 || length >= sizeof folder) folder[0] = '\0';
  if (GetTempFileNameA(folder, "MVQ", 0, path) == 0) path[0] = '\0';
}
