#include "display_warning_dialog.h"

#include "module_instance.h"
#include "resource_ids.h"

namespace {

int centredStart(LONG low, LONG high, LONG extent, LONG workLow, LONG workHigh) {
  int start = (low + high) / 2 - extent / 2;
  if (start < workLow)
    start = workLow;
  else if (start + extent > workHigh)
    start = workHigh - extent;
  return start;
}

void centreDialog(HWND dialog) {
  RECT own, screen, work;
  GetWindowRect(dialog, &own);
  GetWindowRect(GetDesktopWindow(), &screen);
  SystemParametersInfoA(SPI_GETWORKAREA, 0, &work, 0);
  const POINT at = centredOnScreen(SIZE{own.right - own.left, own.bottom - own.top}, screen, work);
  SetWindowPos(dialog, nullptr, at.x, at.y, 0, 0, SWP_NOSIZE | SWP_NOACTIVATE | SWP_NOZORDER);
}

INT_PTR CALLBACK displayWarningProc(HWND dialog, UINT message, WPARAM wParam, LPARAM lParam) {
  switch (message) {
    case WM_INITDIALOG:
      SetPropA(dialog, "MvqDontShow", reinterpret_cast<HANDLE>(lParam));
      SetWindowTextA(dialog, "Tessaline Moviquill");
      CheckDlgButton(dialog, IDC_DONT_SHOW_AGAIN, BST_UNCHECKED);
      centreDialog(dialog);
      return TRUE;
    case WM_COMMAND: {
      const int id = LOWORD(wParam);
      if (id != IDC_WARNING_CONTINUE && id != IDC_WARNING_QUIT) return FALSE;
      auto* dontShowAgain = static_cast<bool*>(GetPropA(dialog, "MvqDontShow"));
      *dontShowAgain = IsDlgButtonChecked(dialog, IDC_DONT_SHOW_AGAIN) == BST_CHECKED;
      RemovePropA(dialog, "MvqDontShow");
      EndDialog(dialog, id);
      return TRUE;
    }
    default: return FALSE;
  }
}

}  // namespace

POINT centredOnScreen(SIZE size, const RECT& screen, const RECT& workArea) {
  return POINT{centredStart(screen.left, screen.right, size.cx, workArea.left, workArea.right),
               centredStart(screen.top, screen.bottom, size.cy, workArea.top, workArea.bottom)};
}

INT_PTR showDisplayWarningDialog(HWND owner, bool* dontShowAgain) {
  *dontShowAgain = false;
  return DialogBoxParamA(appInstance(), MAKEINTRESOURCEA(IDD_DISPLAY_WARNING), owner, displayWarningProc,
                         reinterpret_cast<LPARAM>(dontShowAgain));
}
