#include "ui_file_dialog.h"

#include "ui_controls.h"
#include "ui_windows.h"

namespace ui {

namespace {

constexpr int kFileNameCombo = 1148;  // cmb13
constexpr int kFileNameEdit = 1152;   // edt1

}  // namespace

HWND waitForDialog(DWORD processId, const char* title, DWORD timeoutMs) {
  return waitForWindow([&] { return findTopLevel(processId, "#32770", title); }, timeoutMs);
}

HWND fileNameBox(HWND dialog) {
  if (HWND combo = GetDlgItem(dialog, kFileNameCombo)) {
    HWND inner = FindWindowExA(combo, nullptr, "ComboBox", nullptr);
    HWND edit = FindWindowExA(inner ? inner : combo, nullptr, "Edit", nullptr);
    return edit ? edit : combo;
  }
  return GetDlgItem(dialog, kFileNameEdit);
}

std::string fileDialogName(HWND dialog) {
  HWND box = fileNameBox(dialog);
  return box ? windowText(box) : std::string();
}

bool chooseFile(HWND dialog, const std::string& name) {
  HWND box = fileNameBox(dialog);
  if (!box || !setWindowText(box, name)) return false;
  return pressButton(dialog, IDOK);
}

bool cancelDialog(HWND dialog) { return pressButton(dialog, IDCANCEL); }

}  // namespace ui
