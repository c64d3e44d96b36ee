// Asking the system, inside the program's own thread, what cannot be read from
// outside: menu item states, and a file dropped on a window as the shell drops it.
#pragma once

#include <windows.h>

#include <string>

namespace ui {

struct MenuItemState {
  bool found = false;
  bool grayed = false;  // grayed or disabled
  bool checked = false;
};

MenuItemState menuCommandState(HWND window, int commandId);
MenuItemState menuBarItemState(HWND window, int position);
bool dropFile(HWND window, const std::string& path);
// Waits until the window's thread takes posted messages again: everything
// posted to it before has been handled, or it waits in a dialog or message box.
bool waitForIdle(HWND window);

}  // namespace ui
