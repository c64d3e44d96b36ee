#include "window_lock.h"

namespace {

constexpr LONG kLockedAway = WS_THICKFRAME | WS_MINIMIZEBOX | WS_MAXIMIZEBOX | WS_SYSMENU;

void redrawFrame(HWND window) {
  SetWindowPos(window, nullptr, 0, 0, 0, 0, SWP_NOMOVE | SWP_NOSIZE | SWP_NOZORDER | SWP_NOACTIVATE | SWP_FRAMECHANGED);
  DrawMenuBar(window);
}

}  // namespace

void WindowLock::greyMenus(UINT flag) {
  HMENU menu = GetMenu(window_);
  for (UINT position = 0; position < 3; ++position) EnableMenuItem(menu, position, MF_BYPOSITION | flag);
}

void WindowLock::lock(HWND window) {
  window_ = window;
  greyMenus(MF_GRAYED);
  style_ = GetWindowLongA(window, GWL_STYLE);
  SetWindowLongA(window, GWL_STYLE, style_ & ~kLockedAway);
  redrawFrame(window);
}

void WindowLock::unlock() {
  if (!window_) return;
  greyMenus(MF_ENABLED);
  SetWindowLongA(window_, GWL_STYLE, style_);
  redrawFrame(window_);
  window_ = nullptr;
}
