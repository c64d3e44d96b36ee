// Keeps the user out of the main window while an export runs: the first three
// menus greyed, no sizing border, minimise and maximise boxes or system menu.
#pragma once

#include <windows.h>

class WindowLock {
 public:
  void lock(HWND window);
  void unlock();

 private:
  void greyMenus(UINT flag);
  HWND window_ = nullptr;
  LONG style_ = 0;
};
