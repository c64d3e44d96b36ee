#include "progress_window.h"

#include <commctrl.h>

#include <cstdio>

#include "export_ids.h"
#include "message_boxes.h"
#include "module_instance.h"
#include "settings_store.h"

namespace {

void loadText(UINT id, char* text, int size) {
  if (LoadStringA(appInstance(), id, text, size) <= 0) text[0] = '\0';
}

}  // namespace

bool ProgressWindow::create(HWND owner) {
  destroy();
  window_ = CreateDialogParamA(appInstance(), MAKEINTRESOURCEA(IDD_PROGRESS), owner, dialogProc,
                               reinterpret_cast<LPARAM>(this));
  if (!window_) return false;
  ShowWindow(window_, SW_SHOWNORMAL);
  return true;
}

void ProgressWindow::destroy() {
  if (window_) DestroyWindow(window_);
  window_ = nullptr;
}

void ProgressWindow::setCaption(UINT stringId) {
  char text[128];
  loadText(stringId, text, sizeof text);
  SetWindowTextA(window_, text);
}

void ProgressWindow::setRange(int low, int high) {
  SendDlgItemMessageA(window_, IDC_PROGRESS_BAR, PBM_SETRANGE32, low, high);
}

void ProgressWindow::setPosition(int value) {
  SendDlgItemMessageA(window_, IDC_PROGRESS_BAR, PBM_SETPOS, value, 0);
  MSG message;
  while (PeekMessageA(&message, nullptr, 0, 0, PM_REMOVE)) {
    if (window_ && IsDialogMessageA(window_, &message)) continue;
    TranslateMessage(&message);
    DispatchMessageA(&message);
  }
}

void ProgressWindow::enableButton(int which, bool on) {
  const int id = which == 1 ? IDC_PROGRESS_FINISH : which == 2 ? IDCANCEL : 0;
  if (id) EnableWindow(GetDlgItem(window_, id), on);
}

void ProgressWindow::setCountText(UINT stringId, int count) {
  char format[128], text[160];
  loadText(stringId, format, sizeof format);
  std::snprintf(text, sizeof text, format, count);
  SetDlgItemTextA(window_, IDC_PROGRESS_COUNT, text);
}

void ProgressWindow::setTotalText(int total, int first, int last) {
  char format[128], text[192];
  loadText(IDS_TOTAL_TEXT, format, sizeof format);
  std::snprintf(text, sizeof text, format, total, first, last);
  SetDlgItemTextA(window_, IDC_PROGRESS_TOTAL, text);
}

void ProgressWindow::onInit(HWND dialog) {
  window_ = dialog;
  SetWindowPos(dialog, nullptr, appSettings.progressWin.left, appSettings.progressWin.top, 0, 0,
               SWP_NOSIZE | SWP_NOZORDER | SWP_NOACTIVATE);
  cancelRequested_ = finishRequested_ = asking_ = false;
  SendDlgItemMessageA(dialog, IDC_PROGRESS_BAR, PBM_SETPOS, 0, 0);
}

void ProgressWindow::onFinish() {
  asking_ = true;
  const int answer = stringMessageBox(window_, IDS_ASK_FINISH, MB_YESNO | MB_ICONQUESTION);
  asking_ = false;
  if (answer == IDNO) return;
  finishRequested_ = true;
  enableButton(1, false);
}

void ProgressWindow::onCancel() {
  asking_ = true;
  const int answer = stringMessageBox(window_, IDS_ASK_CANCEL, MB_YESNO | MB_ICONQUESTION);
  asking_ = false;
  if (answer != IDNO) cancelRequested_ = true;
}

INT_PTR CALLBACK ProgressWindow::dialogProc(HWND dialog, UINT message, WPARAM wParam, LPARAM lParam) {
  auto* self = reinterpret_cast<ProgressWindow*>(GetWindowLongPtrA(dialog, DWLP_USER));
  switch (message) {
    case WM_INITDIALOG:
      self = reinterpret_cast<ProgressWindow*>(lParam);
      SetWindowLongPtrA(dialog, DWLP_USER, lParam);
      self->onInit(dialog);
      return TRUE;
    case WM_COMMAND:
      if (!self) return FALSE;
      if (LOWORD(wParam) == IDC_PROGRESS_FINISH)
        self->onFinish();
      else if (LOWORD(wParam) == IDCANCEL)
        self->onCancel();
      else
        return FALSE;
      return TRUE;
    case WM_DESTROY: {
      RECT rect;
      if (GetWindowRect(dialog, &rect)) appSettings.progressWin = rect;
      return FALSE;
    }
    default: return FALSE;
  }
}
