#include "box_watcher.h"

#include <thread>

WatchedBox watchMessageBox(const std::function<void()>& show, const std::string& button, unsigned timeoutMs) {
  WatchedBox result;
  std::thread watcher([&] {
    HWND box = ui::waitForMessageBox(GetCurrentProcessId(), timeoutMs);
    if (!box) return;
    // Reading the box waits for its icon to be painted.
    result.shown = true;
    result.view = ui::readMessageBox(box);
    if (!ui::pressMessageBoxButton(box, button)) ui::pressMessageBoxButton(box, "ok");
  });
  show();
  watcher.join();
  return result;
}
