// The system's open and save dialogs, worked from outside: a name typed into
// the file name box and OK pressed.
#pragma once

#include <windows.h>

#include <string>

namespace ui {

// A visible dialog (class "#32770") of the process; any title when title is null.
HWND waitForDialog(DWORD processId, const char* title, DWORD timeoutMs);

// The edit box that holds the file name.
HWND fileNameBox(HWND dialog);
std::string fileDialogName(HWND dialog);
// Types the name (a full path or a name relative to the dialog's folder) and presses OK.
bool chooseFile(HWND dialog, const std::string& name);
bool cancelDialog(HWND dialog);

}  // namespace ui
