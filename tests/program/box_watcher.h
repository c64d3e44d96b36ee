// Shows a message box on this thread while another thread reads it and presses
// one of its buttons, as a user would.
#pragma once

#include <functional>
#include <string>

#include "ui_message_box.h"

struct WatchedBox {
  bool shown = false;
  ui::MessageBoxView view;
};

// show() runs here; the box it opens (if any) is read and answered with button.
WatchedBox watchMessageBox(const std::function<void()>& show, const std::string& button, unsigned timeoutMs = 3000);
