#include "bundled_fonts.h"

#include <windows.h>

#include <cstdlib>
#include <string>

#include "text/glyph_outline_source.h"
#include "server_module.h"

void useBundledFonts() {
  static LONG looked = 0;
  if (InterlockedExchange(&looked, 1)) return;
  const char* chosen = std::getenv("MVQ_FONT_FOLDER");
  if (chosen && *chosen) return;
  char module[MAX_PATH];
  const DWORD length = GetModuleFileNameA(serverInstance(), module, sizeof module);
  if (length == 0 || length >= sizeof module) return;
  std::string folder(module);
  folder.erase(folder.find_last_of("\\/") + 1);
  folder += "fonts\\";
  if (GetFileAttributesA((folder + "LiberationSans-Regular.ttf").c_str()) != INVALID_FILE_ATTRIBUTES)
    swf::setDeviceFontFolder(folder);
}
