// One run of Moviquill.exe, worked from outside through the UI driver as a
// user would: menu commands, dialogs, what the window shows.
#pragma once

#include <windows.h>

#include <string>
#include <utility>
#include <vector>

#include "ui_probe.h"
#include "ui_process.h"

namespace e2e {

constexpr DWORD kWaitMs = 10000;

std::string programPath();  // Moviquill.exe beside the test program

class ProgramSession {
 public:
  using Environment = std::vector<std::pair<std::string, std::string>>;

  // workFolder: the program's working directory; tempFolder: its TMP and TEMP.
  ProgramSession(const std::string& workFolder, const std::string& tempFolder, Environment environment = {});
  ~ProgramSession();  // ends a program still running

  bool start();
  // Starts the program through the host's shell on another X display (the
  // display cannot be passed through a Windows environment block), then takes
  // it over once one of its windows shows. Its TMP stays the system's.
  bool startOnDisplay(const std::string& display);
  // The main window once it shows; null when none came.
  HWND mainWindow(DWORD timeoutMs = kWaitMs);
  DWORD processId() const { return program_.id(); }
  bool running() const { return program_.running(); }
  long waitForExit(DWORD timeoutMs = kWaitMs) { return program_.waitForExit(timeoutMs); }

  // Posts the menu command and waits until it has been handled (or waits in a dialog).
  void command(int id);
  std::string title();
  SIZE clientSize();
  RECT windowRect();
  ui::MenuItemState menuItem(int id);
  ui::MenuItemState menuBarItem(int position);
  HWND waitForDialog(const char* title, DWORD timeoutMs = kWaitMs);

  // File > Open with the name typed into the dialog; true when the window's
  // title then names titlePath.
  bool openMovie(const std::string& typed, const std::string& titlePath);
  // File > Exit; the exit code, -1 when the program does not end.
  long exitThroughMenu();

  // What the preview shows, read off the screen (client coordinates).
  COLORREF pixel(int x, int y);
  int shownFrame();  // of the counting movie, at the centre; -1 for anything else
  // Waits for the shown frame to be something else than `from`; its new value or -1.
  int waitForFrameOtherThan(int from, DWORD timeoutMs = kWaitMs);

 private:
  std::string workFolder_;
  std::string tempFolder_;
  Environment environment_;
  ui::Program program_;
  HWND main_ = nullptr;
};

// Files in the folder whose names start with MVQ.
std::vector<std::string> mvqFiles(const std::string& folder);

}  // namespace e2e
