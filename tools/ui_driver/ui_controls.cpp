#include "ui_controls.h"

#include "ui_windows.h"

namespace ui {

bool pressButton(HWND dialog, int id) {
  HWND button = GetDlgItem(dialog, id);
  return PostMessageA(dialog, WM_COMMAND, MAKEWPARAM(id, BN_CLICKED),
                      reinterpret_cast<LPARAM>(button)) != FALSE;
}

bool clickControl(HWND dialog, int id) {
  HWND control = GetDlgItem(dialog, id);
  return control && PostMessageA(control, BM_CLICK, 0, 0) != FALSE;
}

int checkState(HWND dialog, int id) {
  HWND control = GetDlgItem(dialog, id);
  DWORD_PTR state = 0;
  if (!control ||
      !SendMessageTimeoutA(control, BM_GETCHECK, 0, 0, SMTO_ABORTIFHUNG, kMessageTimeoutMs, &state))
    return -1;
  return static_cast<int>(state);
}

bool setChecked(HWND dialog, int id, bool checked) {
  const int state = checkState(dialog, id);
  if (state < 0) return false;
  if ((state == BST_CHECKED) == checked) return true;
  if (!clickControl(dialog, id)) return false;
  return waitUntil([&] { return (checkState(dialog, id) == BST_CHECKED) == checked; },
                   kMessageTimeoutMs);
}

bool setControlText(HWND dialog, int id, const std::string& text) {
  HWND control = GetDlgItem(dialog, id);
  return control && setWindowText(control, text);
}

std::string controlText(HWND dialog, int id) {
  HWND control = GetDlgItem(dialog, id);
  return control ? windowText(control) : std::string();
}

bool controlEnabled(HWND dialog, int id) {
  HWND control = GetDlgItem(dialog, id);
  return control && isEnabled(control);
}

bool postCommand(HWND window, int id) {
  return PostMessageA(window, WM_COMMAND, MAKEWPARAM(id, 0), 0) != FALSE;
}

bool pressAltF4(HWND window) {
  // Context code (bit 29): Alt is held.
  const LPARAM altDown = (1 << 29) | (MapVirtualKeyA(VK_F4, 0) << 16) | 1;
  return PostMessageA(window, WM_SYSKEYDOWN, VK_F4, altDown) != FALSE &&
         PostMessageA(window, WM_SYSKEYUP, VK_F4, altDown | (3u << 30)) != FALSE;
}

}  // namespace ui
