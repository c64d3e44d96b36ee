#include "ui_controls.h"

#include <commctrl.h>

#include "ui_windows.h"

namespace ui {

bool pressButton(HWND dialog, int id) {
  HWND button = GetDlgItem(dialog, id);
  return PostMessageA(dialog, WM_COMMAND, MAKEWPARAM(id, BN_CLICKED), reinterpret_cast<LPARAM>(button)) != FALSE;
}

bool clickControl(HWND dialog, int id) {
  HWND control = GetDlgItem(dialog, id);
  return control && PostMessageA(control, BM_CLICK, 0, 0) != FALSE;
}

int checkState(HWND dialog, int id) {
  HWND control = GetDlgItem(dialog, id);
  DWORD_PTR state = 0;
  if (!control || !SendMessageTimeoutA(control, BM_GETCHECK, 0, 0, SMTO_ABORTIFHUNG, kMessageTimeoutMs, &state))
    return -1;
  return static_cast<int>(state);
}

bool setChecked(HWND dialog, int id, bool checked) {
  const int state = checkState(dialog, id);
  if (state < 0) return false;
  if ((state == BST_CHECKED) == checked) return true;
  if (!clickControl(dialog, id)) return false;
  return waitUntil([&] { return (checkState(dialog, id) == BST_CHECKED) == checked; }, kMessageTimeoutMs);
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

BarState progressBarState(HWND dialog, int id) {
  BarState state;
  HWND bar = GetDlgItem(dialog, id);
  if (!bar) return state;
  DWORD_PTR position = 0, low = 0, high = 0;
  // The range comes back as the result: no buffer has to cross to the program.
  state.found = SendMessageTimeoutA(bar, PBM_GETPOS, 0, 0, SMTO_ABORTIFHUNG, kMessageTimeoutMs, &position) &&
                SendMessageTimeoutA(bar, PBM_GETRANGE, TRUE, 0, SMTO_ABORTIFHUNG, kMessageTimeoutMs, &low) &&
                SendMessageTimeoutA(bar, PBM_GETRANGE, FALSE, 0, SMTO_ABORTIFHUNG, kMessageTimeoutMs, &high);
  state.position = static_cast<int>(position);
  state.low = static_cast<int>(low);
  state.high = static_cast<int>(high);
  return state;
}

bool postCommand(HWND window, int id) { return PostMessageA(window, WM_COMMAND, MAKEWPARAM(id, 0), 0) != FALSE; }

bool pressAltF4(HWND window) {
  // Context code (bit 29): Alt is held.
  const LPARAM altDown = (1 << 29) | (MapVirtualKeyA(VK_F4, 0) << 16) | 1;
  return PostMessageA(window, WM_SYSKEYDOWN, VK_F4, altDown) != FALSE &&
         PostMessageA(window, WM_SYSKEYUP, VK_F4, altDown | (3u << 30)) != FALSE;
}

}  // namespace ui
