// The program's entry point: refuses to run without a usable Flash control,
// warns about a shallow display, brings up COM and the containment support,
// runs the one message loop and takes everything down in reverse order.
#include <windows.h>
#include <commctrl.h>

#include "atl_containment.h"
#include "control_discovery.h"
#include "display_warning_dialog.h"
#include "export_run.h"
#include "main_frame.h"
#include "message_boxes.h"
#include "module_instance.h"
#include "resource_ids.h"
#include "settings_store.h"
#include "tick_state.h"

namespace {

constexpr char kDontShowDisplayWarning[] = "DontShowDispWarn";

// False when the user chose Quit in the display warning.
bool checkDisplay() {
  int dontShow = 0;
  readSettingNumber(HKEY_LOCAL_MACHINE, kSettingsKey, kDontShowDisplayWarning, &dontShow);
  if (dontShow != 0) return true;
  HDC screen = GetDC(nullptr);
  const int depth = GetDeviceCaps(screen, PLANES) * GetDeviceCaps(screen, BITSPIXEL);
  bool goOn = true;
  if (depth < 24) {
    bool checked = false;
    const INT_PTR button = showDisplayWarningDialog(GetActiveWindow(), &checked);
    writeSettingNumber(HKEY_LOCAL_MACHINE, kSettingsKey, kDontShowDisplayWarning, checked ? 1 : 0);
    goOn = button != IDC_WARNING_QUIT;
  }
  ReleaseDC(nullptr, screen);
  return goOn;
}

bool checkControl() {
  DWORD versionMS = 0, versionLS = 0;
  if (!findControlVersion(&versionMS, &versionLS)) {
    errorBox(nullptr, IDS_GET_FLASH_CONTROL);
    return false;
  }
  if (isRefusedControlVersion(versionMS, versionLS)) {
    errorBox(nullptr, IDS_UPGRADE_FLASH_CONTROL);
    return false;
  }
  return true;
}

void runMessageLoop(HWND mainWindow) {
  // There is no accelerator table; messages are still offered to it first.
  HACCEL accelerators = LoadAcceleratorsA(appInstance(), MAKEINTRESOURCEA(IDR_ACCELERATORS));
  MSG message;
  while (GetMessageA(&message, nullptr, 0, 0) > 0) {
    if (TranslateAcceleratorA(mainWindow, accelerators, &message)) continue;
    TranslateMessage(&message);
    DispatchMessageA(&message);
  }
}

int runProgram() {
  resetTickState();
  CoInitialize(nullptr);
  AtlAxWinInit();
  INITCOMMONCONTROLSEX controls = {sizeof controls, ICC_PROGRESS_CLASS | ICC_BAR_CLASSES};
  InitCommonControlsEx(&controls);
  {
    ExportRun exportRun;  // outlives the frame: its compressor record goes last
    MainFrame frame;
    frame.setExportHandOver(&exportRun);
    loadSettings();
    HWND mainWindow = frame.create();
    // A window that could not be created has said why (or could not); nothing to wait for.
    if (mainWindow) runMessageLoop(mainWindow);
    saveSettings();
    AtlAxWinTerm();
    CoUninitialize();
  }
  return 0;
}

}  // namespace

int WINAPI WinMain(HINSTANCE, HINSTANCE, LPSTR, int) {
  // The command line is not interpreted, and the window shows itself.
  if (!checkControl() || !checkDisplay()) return 0;
  return runProgram();
}
