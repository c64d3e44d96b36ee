#include "message_boxes.h"

#include <cstdio>

#include "module_instance.h"

void errorBox(HWND owner, UINT stringId) {
  char text[256];
  if (LoadStringA(appInstance(), stringId, text, sizeof text) > 0)
    MessageBoxA(owner, text, kMessageBoxTitle, MB_ICONERROR | MB_OK);
}

int stringMessageBox(HWND owner, UINT stringId, UINT type) {
  char text[260];
  if (LoadStringA(appInstance(), stringId, text, sizeof text) <= 0) return 0;
  return MessageBoxA(owner, text, kMessageBoxTitle, type);
}

int formattedMessageBox(HWND owner, UINT stringId, UINT type, int value) {
  char format[260];
  if (LoadStringA(appInstance(), stringId, format, sizeof format) <= 0) return 0;
  char text[260];
  std::snprintf(text, sizeof text, format, value);
  return MessageBoxA(owner, text, kMessageBoxTitle, type);
}
