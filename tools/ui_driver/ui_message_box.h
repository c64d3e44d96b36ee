// Message boxes of another program: what they say and which button to press.
#pragma once

#include <windows.h>

#include <string>
#include <vector>

namespace ui {

struct MessageBoxView {
  HWND window = nullptr;
  std::string caption;
  std::string text;
  std::string icon;                  // "error", "warning", "information", "question" or "none"
  std::vector<std::string> buttons;  // "ok", "cancel", "abort", "retry", "ignore", "yes", "no"
};

// True when the window is a message box (a dialog with a message text).
bool isMessageBox(HWND window);
// The process's message box, waiting at most timeoutMs for it.
HWND waitForMessageBox(DWORD processId, DWORD timeoutMs);
MessageBoxView readMessageBox(HWND box);
// Presses the named button ("ok", "yes", ...); false when the box has none.
bool pressMessageBoxButton(HWND box, const std::string& button);

}  // namespace ui
