#include "about_dialog.h"

#include "hyperlink.h"
#include "module_instance.h"
#include "notification_reflector.h"
#include "resource_ids.h"
#include "web_addresses.h"

namespace {

constexpr char kLinkProperty[] = "MvqAboutLink";

void initAbout(HWND dialog, HyperLink* link) {
  char caption[128];
  GetWindowTextA(dialog, caption, sizeof caption - 32);
  lstrcatA(caption, "Tessaline Moviquill");
  SetWindowTextA(dialog, caption);
  link->setColors(0x00FF0000, 0x000000FF);
  link->setTimerId(100);
  link->setTarget(L"" MVQ_HOME_PAGE);
  link->attach(GetDlgItem(dialog, IDC_ABOUT_HOME_LINK));
}

INT_PTR CALLBACK aboutProc(HWND dialog, UINT message, WPARAM wParam, LPARAM lParam) {
  LRESULT reflected = 0;
  switch (message) {
    case WM_INITDIALOG:
      SetPropA(dialog, kLinkProperty, reinterpret_cast<HANDLE>(lParam));
      initAbout(dialog, reinterpret_cast<HyperLink*>(lParam));
      return TRUE;
    case WM_COMMAND:
      if (LOWORD(wParam) >= 1 && LOWORD(wParam) <= 8) {
        RemovePropA(dialog, kLinkProperty);
        EndDialog(dialog, LOWORD(wParam));
        return TRUE;
      }
      break;
    default: break;
  }
  if (!reflectNotification(dialog, message, wParam, lParam, &reflected)) return FALSE;
  // Control-colour answers are brushes, returned as they are.
  if (message >= WM_CTLCOLORMSGBOX && message <= WM_CTLCOLORSTATIC) return reflected;
  SetWindowLongPtrA(dialog, DWLP_MSGRESULT, reflected);
  return TRUE;
}

}  // namespace

void showAboutDialog(HWND owner) {
  HyperLink link;
  DialogBoxParamA(appInstance(), MAKEINTRESOURCEA(IDD_ABOUT), owner, aboutProc, reinterpret_cast<LPARAM>(&link));
}
