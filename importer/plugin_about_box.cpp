#include "plugin_about_box.h"

#include "hyperlink.h"
#include "import_selectors.h"
#include "importer_ids.h"
#include "module_instance.h"
#include "notification_reflector.h"
#include "web_addresses.h"

namespace {

constexpr char kTitle[] = "Tessaline Moviquill Plug-in for Adobe Premiere";

// The converter's About box link colours and timer.
void initAbout(HWND dialog, HyperLink* link) {
  SetDlgItemTextA(dialog, IDC_PLUGIN_TITLE, kTitle);
  link->setColors(0x00FF0000, 0x000000FF);
  link->setTimerId(100);
  link->setTarget(L"" MVQ_HOME_PAGE);
  link->attach(GetDlgItem(dialog, IDC_PLUGIN_LINK));
}

INT_PTR CALLBACK aboutProc(HWND dialog, UINT message, WPARAM wParam, LPARAM lParam) {
  switch (message) {
    case WM_INITDIALOG: initAbout(dialog, reinterpret_cast<HyperLink*>(lParam)); return TRUE;
    case WM_COMMAND:
      if (LOWORD(wParam) >= 1 && LOWORD(wParam) <= 8) {
        EndDialog(dialog, LOWORD(wParam));
        return TRUE;
      }
      break;
    default: break;
  }
  LRESULT reflected = 0;
  if (!reflectNotification(dialog, message, wParam, lParam, &reflected)) return FALSE;
  // Control-colour answers are brushes, returned as they are.
  if (message >= WM_CTLCOLORMSGBOX && message <= WM_CTLCOLORSTATIC) return reflected;
  SetWindowLongPtrA(dialog, DWLP_MSGRESULT, reflected);
  return TRUE;
}

}  // namespace

void showPluginAbout(HWND owner) {
  HyperLink link;
  DialogBoxParamA(appInstance(), MAKEINTRESOURCEA(IDD_PLUGIN_ABOUT), owner, aboutProc, reinterpret_cast<LPARAM>(&link));
}
