#include "program_session.h"

#include "host_program.h"
#include "resource_ids.h"
#include "test_movies.h"
#include "ui_controls.h"
#include "ui_file_dialog.h"
#include "ui_screen.h"
#include "ui_windows.h"

namespace e2e {

std::string programPath() {
  char path[MAX_PATH];
  const DWORD length = GetModuleFileNameA(nullptr, path, sizeof path);
  std::string folder(path, length);
  folder.resize(folder.find_last_of('\\') + 1);
  return folder + "Moviquill.exe";
}

ProgramSession::ProgramSession(const std::string& workFolder, const std::string& tempFolder, Environment environment)
    : workFolder_(workFolder), tempFolder_(tempFolder), environment_(std::move(environment)) {
  environment_.emplace_back("TMP", tempFolder_);
  environment_.emplace_back("TEMP", tempFolder_);
}

ProgramSession::~ProgramSession() { program_.terminate(); }

bool ProgramSession::start() {
  main_ = nullptr;
  return program_.start("\"" + programPath() + "\"", workFolder_, environment_);
}

bool ProgramSession::startOnDisplay(const std::string& display) {
  main_ = nullptr;
  using UnixName = char*(CDECL*)(const WCHAR*);
  auto unixName =
      reinterpret_cast<UnixName>(GetProcAddress(GetModuleHandleA("kernel32.dll"), "wine_get_unix_file_name"));
  if (!unixName) return false;
  std::wstring wideFolder(workFolder_.begin(), workFolder_.end());
  char* folder = unixName(wideFolder.c_str());
  if (!folder) return false;
  std::string command = "/bin/sh -c \"cd '" + std::string(folder) + "' && DISPLAY=" + display + " exec wine '" +
                        programPath() + "' </dev/null >/dev/null 2>&1 &\"";
  HeapFree(GetProcessHeap(), 0, folder);
  if (!mvqtest::runHostProgram(command, kWaitMs)) return false;
  const DWORD self = GetCurrentProcessId();
  HWND first = ui::waitForWindow(
      [&]() -> HWND {
        for (const char* windowClass : {"TessalineMoviquill", "#32770"}) {
          HWND window = FindWindowA(windowClass, windowClass[0] == '#' ? "Tessaline Moviquill" : nullptr);
          if (window && ui::processOf(window) != self) return window;
        }
        return nullptr;
      },
      kWaitMs);
  return first && program_.attach(ui::processOf(first));
}

HWND ProgramSession::mainWindow(DWORD timeoutMs) {
  if (main_ && IsWindow(main_)) return main_;
  main_ = ui::waitForWindow([&] { return ui::findTopLevel(program_.id(), "TessalineMoviquill"); }, timeoutMs);
  return main_;
}

void ProgramSession::command(int id) {
  ui::postCommand(mainWindow(), id);
  ui::waitForIdle(mainWindow());
}
std::string ProgramSession::title() { return ui::windowText(mainWindow()); }
SIZE ProgramSession::clientSize() { return ui::clientSize(mainWindow()); }
RECT ProgramSession::windowRect() { return ui::windowRect(mainWindow()); }
ui::MenuItemState ProgramSession::menuItem(int id) { return ui::menuCommandState(mainWindow(), id); }
ui::MenuItemState ProgramSession::menuBarItem(int position) { return ui::menuBarItemState(mainWindow(), position); }

HWND ProgramSession::waitForDialog(const char* title, DWORD timeoutMs) {
  return ui::waitForDialog(program_.id(), title, timeoutMs);
}

bool ProgramSession::openMovie(const std::string& typed, const std::string& titlePath) {
  command(ID_FILE_OPEN);
  HWND dialog = waitForDialog("Select a Flash File");
  if (!dialog || !ui::chooseFile(dialog, typed)) return false;
  const std::string expected = "Tessaline Moviquill - [" + titlePath + "]";
  return ui::waitUntil([&] { return title() == expected && !IsWindow(dialog); }, kWaitMs) &&
         ui::waitForIdle(mainWindow());
}

long ProgramSession::exitThroughMenu() {
  command(ID_FILE_EXIT);
  return waitForExit();
}

COLORREF ProgramSession::pixel(int x, int y) {
  POINT at = {x, y};
  ClientToScreen(mainWindow(), &at);
  return ui::captureScreen(RECT{at.x, at.y, at.x + 1, at.y + 1}).at(0, 0);
}

int ProgramSession::shownFrame() {
  const SIZE size = clientSize();
  return countingFrameOf(pixel(size.cx / 2, size.cy / 2));
}

int ProgramSession::waitForFrameOtherThan(int from, DWORD timeoutMs) {
  int frame = -1;
  ui::waitUntil([&] { return (frame = shownFrame()) >= 0 && frame != from; }, timeoutMs);
  return frame != from ? frame : -1;
}

std::vector<std::string> mvqFiles(const std::string& folder) {
  std::vector<std::string> names;
  WIN32_FIND_DATAA found;
  HANDLE search = FindFirstFileA((folder + "\\MVQ*").c_str(), &found);
  if (search == INVALID_HANDLE_VALUE) return names;
  do names.push_back(folder + "\\" + found.cFileName);
  while (FindNextFileA(search, &found));
  FindClose(search);
  return names;
}

}  // namespace e2e
