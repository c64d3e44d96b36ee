// A line-oriented command language over the driver, for scripts: one command a
// line, one reply line each ("ok ..." or "error ..."). Texts in replies have
// their line breaks and backslashes escaped (\n, \r, \\), so a reply is one line.
//
//   start PROGRAM [ARG...] [cwd=FOLDER] [env=NAME=VALUE]   attach [PID]   main-window [MS]
//   menu ID   menu-state ID   menubar-state POS   idle   title   client-size   window-rect
//   ex-style   alt-f4   drop PATH   capture FILE.bmp
//   dialog TITLE|* [MS]   file-dialog TITLE NAME [MS]   file-name   cancel   wait-closed [MS]
//   press ID   click ID   check ID on|off   checked ID   set-text ID TEXT   get-text ID   enabled ID
//   items ID (a combo box's entries, "|" between)   choose-item ID PART (the first entry containing
//   PART)   bar ID (a progress bar: "POSITION LOW HIGH")
//   message-box [MS]   press-box ok|cancel|yes|no|...
//   wait-exit [MS]   terminate   sleep MS   quit
#pragma once

#include <windows.h>

#include <string>
#include <vector>

#include "ui_process.h"

namespace ui {

// Splits a command line into words; double quotes group words, \" is a quote.
std::vector<std::string> splitWords(const std::string& line);

class ScriptSession {
 public:
  // The reply to one command line; empty lines and # comments give "".
  std::string run(const std::string& line);
  bool finished() const { return finished_; }

 private:
  using Words = std::vector<std::string>;
  // The window a command works on, found before it runs.
  enum class Target { None, MainWindow, Dialog };
  struct Command {
    const char* name;
    size_t words;
    Target target;
    std::string (*run)(ScriptSession& session, const Words& words, HWND window);
  };
  static const std::vector<Command>& commands();

  std::string dispatch(const Words& words);
  HWND mainWindow(DWORD timeoutMs);
  std::string needDialog(HWND* dialog);
  std::string start(const Words& w);
  std::string attach(const Words& w);
  std::string showMessageBox(const Words& w);
  std::string findDialog(const Words& w);
  std::string fileDialog(const Words& w);
  std::string waitClosed(const Words& w);
  std::string pressBox(const Words& w);

  Program program_;
  HWND main_ = nullptr;
  HWND dialog_ = nullptr;
  bool finished_ = false;
};

}  // namespace ui
