#include "box_watcher.h"

#include <thread>

WatchedBox watchMessageBox(const std::function<void()>& show, const std::string& button,
                           unsigned timeoutMs) {
  WatchedBox result;
  std::thread watcher([&] {
    HWND box = ui::waitForMessageBox(GetCurrentProcessId(), timeoutMs);
    if (!box) return;
    // Let the box finish drawing before its icon is read off the screen.
    Sleep(150);
    result.shown = true;
    result.view = ui::readMessageBox(box);
    if (!ui::pressMessageBoxButton(box, button)) ui::pressMessageBoxButton(box, "ok");
  });
  show();
  watcher.join();
  return result;
}
