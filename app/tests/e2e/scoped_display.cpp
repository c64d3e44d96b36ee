#include "scoped_display.h"

#include <windows.h>

#include "host_program.h"
#include "ui_windows.h"

namespace e2e {

namespace {

bool exists(const std::string& path) { return GetFileAttributesA(path.c_str()) != INVALID_FILE_ATTRIBUTES; }

// Sockets cannot be looked at from here; the lock file and a marker written
// once the socket exists can.
std::string lockOf(int number) { return "Z:\\tmp\\.X" + std::to_string(number) + "-lock"; }
std::string readyMarker(int number) { return "/tmp/mvq-e2e-xvfb-" + std::to_string(number) + ".ready"; }

// Runs a shell command line of the host system and waits for it.
bool hostShell(const std::string& script) { return mvqtest::runHostProgram("/bin/sh -c \"" + script + "\"", 10000); }

std::string pidFile(int number) { return "/tmp/mvq-e2e-xvfb-" + std::to_string(number) + ".pid"; }

}  // namespace

ScopedDisplay::ScopedDisplay(int depth) {
  number_ = 180;
  while (exists(lockOf(number_))) ++number_;
  name_ = ":" + std::to_string(number_);
  const std::string socket = "/tmp/.X11-unix/X" + std::to_string(number_);
  const std::string screen = "1024x768x" + std::to_string(depth);
  hostShell("Xvfb " + name_ + " -screen 0 " + screen + " -nolisten tcp </dev/null >/dev/null 2>&1 & echo $! > " +
            pidFile(number_) + "; for i in $(seq 100); do [ -S " + socket + " ] && touch " + readyMarker(number_) +
            " && break; sleep 0.1; done");
  const std::string marker = "Z:" + readyMarker(number_);
  ready_ = ui::waitUntil([&] { return exists(marker); }, 10000);
}

ScopedDisplay::~ScopedDisplay() {
  hostShell("kill $(cat " + pidFile(number_) + ") 2>/dev/null; rm -f " + pidFile(number_) + " " + readyMarker(number_));
  ui::waitUntil([&] { return !exists(lockOf(number_)); }, 5000);
}

}  // namespace e2e
