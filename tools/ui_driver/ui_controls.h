// Working a dialog's controls the way a click or typing would: buttons are
// pressed with posted messages, so a modal box they open cannot block us.
#pragma once

#include <windows.h>

#include <string>

namespace ui {

// The dialog's command for the button, as a click sends it (posted).
bool pressButton(HWND dialog, int id);
// A click on a check box or radio button: it changes and tells its dialog.
bool clickControl(HWND dialog, int id);
// Clicks the check box only when its state differs.
bool setChecked(HWND dialog, int id, bool checked);
// -1 when the control cannot be asked.
int checkState(HWND dialog, int id);

bool setControlText(HWND dialog, int id, const std::string& text);
std::string controlText(HWND dialog, int id);
bool controlEnabled(HWND dialog, int id);

// A progress bar's position within its range, as PBM_GETPOS and PBM_GETRANGE
// tell it; found is false when the control cannot be asked.
struct BarState {
  bool found = false;
  int position = 0;
  int low = 0;
  int high = 0;
};
BarState progressBarState(HWND dialog, int id);

// The menu command as the menu sends it to the window (posted).
bool postCommand(HWND window, int id);
// Alt+F4 on the window.
bool pressAltF4(HWND window);

}  // namespace ui
