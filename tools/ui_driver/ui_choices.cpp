#include "ui_choices.h"

#include "ui_windows.h"

namespace ui {

namespace {

LRESULT ask(HWND control, UINT message, WPARAM wParam, LPARAM lParam, bool* answered) {
  DWORD_PTR result = 0;
  *answered = SendMessageTimeoutA(control, message, wParam, lParam, SMTO_ABORTIFHUNG, kMessageTimeoutMs,
                                  &result) != 0;
  return static_cast<LRESULT>(result);
}

std::string itemText(HWND control, int index) {
  bool answered = false;
  const LRESULT length = ask(control, CB_GETLBTEXTLEN, index, 0, &answered);
  if (!answered || length == CB_ERR || length < 0) return std::string();
  std::string text(static_cast<size_t>(length) + 1, '\0');
  const LRESULT copied = ask(control, CB_GETLBTEXT, index, reinterpret_cast<LPARAM>(&text[0]), &answered);
  if (!answered || copied == CB_ERR || copied < 0) return std::string();
  text.resize(static_cast<size_t>(copied) <= static_cast<size_t>(length) ? copied : length);
  return text;
}

}  // namespace

std::vector<std::string> comboItems(HWND dialog, int id) {
  std::vector<std::string> items;
  HWND control = GetDlgItem(dialog, id);
  if (!control) return items;
  bool answered = false;
  const LRESULT count = ask(control, CB_GETCOUNT, 0, 0, &answered);
  if (!answered || count == CB_ERR) return items;
  for (int i = 0; i < count; ++i) items.push_back(itemText(control, i));
  return items;
}

bool chooseComboItem(HWND dialog, int id, const std::string& part, std::string* chosen) {
  const std::vector<std::string> items = comboItems(dialog, id);
  HWND control = GetDlgItem(dialog, id);
  for (size_t i = 0; i < items.size(); ++i) {
    if (items[i].find(part) == std::string::npos) continue;
    bool answered = false;
    if (ask(control, CB_SETCURSEL, i, 0, &answered) == CB_ERR || !answered) return false;
    // Posted, as the list posts it: the dialog may open a box of its own.
    PostMessageA(dialog, WM_COMMAND, MAKEWPARAM(id, CBN_SELCHANGE), reinterpret_cast<LPARAM>(control));
    *chosen = items[i];
    return true;
  }
  return false;
}

}  // namespace ui
