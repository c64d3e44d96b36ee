#include "notification_reflector.h"

namespace {

HWND notifyingChild(HWND parent, UINT message, WPARAM wParam, LPARAM lParam) {
  if (!isChildNotification(message)) return nullptr;
  switch (message) {
    case WM_NOTIFY: return reinterpret_cast<NMHDR*>(lParam)->hwndFrom;
    case WM_PARENTNOTIFY:
      switch (LOWORD(wParam)) {
        case WM_CREATE:
        case WM_DESTROY: return reinterpret_cast<HWND>(lParam);
        default: return GetDlgItem(parent, HIWORD(wParam));
      }
    case WM_DRAWITEM: return wParam ? reinterpret_cast<DRAWITEMSTRUCT*>(lParam)->hwndItem : nullptr;
    case WM_MEASUREITEM:
      return wParam ? GetDlgItem(parent, reinterpret_cast<MEASUREITEMSTRUCT*>(lParam)->CtlID) : nullptr;
    case WM_COMPAREITEM: return wParam ? reinterpret_cast<COMPAREITEMSTRUCT*>(lParam)->hwndItem : nullptr;
    case WM_DELETEITEM: return wParam ? reinterpret_cast<DELETEITEMSTRUCT*>(lParam)->hwndItem : nullptr;
    default: return reinterpret_cast<HWND>(lParam);  // the others carry the child's window
  }
}

}  // namespace

bool isChildNotification(UINT message) {
  switch (message) {
    case WM_COMMAND:
    case WM_NOTIFY:
    case WM_PARENTNOTIFY:
    case WM_DRAWITEM:
    case WM_MEASUREITEM:
    case WM_COMPAREITEM:
    case WM_DELETEITEM:
    case WM_VKEYTOITEM:
    case WM_CHARTOITEM:
    case WM_HSCROLL:
    case WM_VSCROLL:
    case WM_CTLCOLORBTN:
    case WM_CTLCOLORDLG:
    case WM_CTLCOLOREDIT:
    case WM_CTLCOLORLISTBOX:
    case WM_CTLCOLORMSGBOX:
    case WM_CTLCOLORSCROLLBAR:
    case WM_CTLCOLORSTATIC: return true;
    default: return false;
  }
}

bool reflectNotification(HWND parent, UINT message, WPARAM wParam, LPARAM lParam, LRESULT* result) {
  HWND child = notifyingChild(parent, message, wParam, lParam);
  if (!child || !IsWindow(child) || GetParent(child) != parent) return false;
  *result = SendMessageA(child, kReflectedMessageBase + message, wParam, lParam);
  return true;
}
