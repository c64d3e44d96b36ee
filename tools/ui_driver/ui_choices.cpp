#include "ui_choices.h"

#include "ui_windows.h"

namespace ui {

namespace {

LRESULT ask(HWND control, UINT message, WPARAM wParam, LPARAM lParam, bool* answered) {
  DWORD_PTR result = 0;
  *answered = SendMessageTimeoutA(control, message, wParam, lParam, SMTO_ABORTIFHUNG, kMessageTimeoutMs, &result) != 0;
  return static_cast<LRESULT>(result);
}

// The entry's text, read as the list's own text once it is selected: WM_GETTEXT
// crosses to another process, CB_GETLBTEXT's buffer does not under Wine.
std::string itemText(HWND control, int index) {
  bool answered = false;
  if (ask(control, CB_SETCURSEL, index, 0, &answered) == CB_ERR || !answered) return std::string();
  return windowText(control);
}

int itemCount(HWND control) {
  bool answered = false;
  const LRESULT count = control ? ask(control, CB_GETCOUNT, 0, 0, &answered) : CB_ERR;
  return answered && count != CB_ERR ? static_cast<int>(count) : 0;
}

}  // namespace

std::vector<std::string> comboItems(HWND dialog, int id) {
  std::vector<std::string> items;
  HWND control = GetDlgItem(dialog, id);
  const int count = itemCount(control);
  if (count == 0) return items;
  bool answered = false;
  const LRESULT selected = ask(control, CB_GETCURSEL, 0, 0, &answered);
  for (int i = 0; i < count; ++i) items.push_back(itemText(control, i));
  ask(control, CB_SETCURSEL, selected, 0, &answered);
  return items;
}

bool chooseComboItem(HWND dialog, int id, const std::string& part, std::string* chosen) {
  HWND control = GetDlgItem(dialog, id);
  const int count = itemCount(control);
  bool answered = false;
  const LRESULT selected = count ? ask(control, CB_GETCURSEL, 0, 0, &answered) : CB_ERR;
  for (int i = 0; i < count; ++i) {
    const std::string text = itemText(control, i);
    if (text.find(part) == std::string::npos) continue;
    // Posted, as the list posts it: the dialog may open a box of its own.
    PostMessageA(dialog, WM_COMMAND, MAKEWPARAM(id, CBN_SELCHANGE), reinterpret_cast<LPARAM>(control));
    *chosen = text;
    return true;
  }
  if (count) ask(control, CB_SETCURSEL, selected, 0, &answered);
  return false;
}

}  // namespace ui
