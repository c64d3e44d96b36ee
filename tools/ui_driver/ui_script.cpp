#include "ui_script.h"

#include <algorithm>
#include <cstdio>
#include <cstdlib>
#include <functional>

#include "ui_choices.h"
#include "ui_controls.h"
#include "ui_file_dialog.h"
#include "ui_message_box.h"
#include "ui_probe.h"
#include "ui_screen.h"
#include "ui_windows.h"

namespace ui {

namespace {

using Words = std::vector<std::string>;

constexpr char kMainWindowClass[] = "TessalineMoviquill";
constexpr DWORD kDefaultTimeoutMs = 5000;

std::string ok(const std::string& text = std::string()) { return text.empty() ? "ok" : "ok " + text; }
std::string error(const std::string& text) { return "error " + text; }

int number(const std::string& text) { return static_cast<int>(std::strtol(text.c_str(), nullptr, 0)); }

DWORD timeoutArg(const std::vector<std::string>& words, size_t index) {
  return words.size() > index ? static_cast<DWORD>(number(words[index])) : kDefaultTimeoutMs;
}

// Line breaks and backslashes escaped, so that a reply stays on one line.
std::string oneLine(const std::string& text) {
  std::string out;
  for (char c : text) {
    if (c == '\n')
      out += "\\n";
    else if (c == '\r')
      out += "\\r";
    else if (c == '\\')
      out += "\\\\";
    else
      out.push_back(c);
  }
  return out;
}

std::string handleText(HWND window) {
  char text[32];
  std::snprintf(text, sizeof text, "%p", static_cast<void*>(window));
  return text;
}

std::string menuStateText(const MenuItemState& state) {
  if (!state.found) return error("no such menu item");
  return ok(std::string(state.grayed ? "grayed" : "enabled") + " " + (state.checked ? "checked" : "unchecked"));
}

}  // namespace

std::vector<std::string> splitWords(const std::string& line) {
  std::vector<std::string> words;
  std::string word;
  bool quoted = false, inWord = false;
  for (size_t i = 0; i < line.size(); ++i) {
    const char c = line[i];
    if (c == '\\' && i + 1 < line.size() && line[i + 1] == '"') {
      word.push_back('"');
      inWord = true;
      ++i;
    } else if (c == '"') {
      quoted = !quoted;
      inWord = true;
    } else if (!quoted && (c == ' ' || c == '\t' || c == '\r' || c == '\n')) {
      if (inWord) words.push_back(word);
      word.clear();
      inWord = false;
    } else {
      word.push_back(c);
      inWord = true;
    }
  }
  if (inWord) words.push_back(word);
  return words;
}

std::string ScriptSession::run(const std::string& line) {
  const std::vector<std::string> words = splitWords(line);
  if (words.empty() || words[0][0] == '#') return std::string();
  return dispatch(words);
}

HWND ScriptSession::mainWindow(DWORD timeoutMs) {
  if (main_ && IsWindow(main_)) return main_;
  main_ = waitForWindow([&] { return findTopLevel(program_.id(), kMainWindowClass); }, timeoutMs);
  return main_;
}

std::string ScriptSession::needDialog(HWND* dialog) {
  if (!dialog_ || !IsWindow(dialog_)) return error("no dialog");
  *dialog = dialog_;
  return std::string();
}

// Commands on the program and its session.

std::string ScriptSession::start(const Words& w) {
  // start PROGRAM [ARG...] [cwd=FOLDER] [env=NAME=VALUE...]
  std::string commandLine, folder;
  std::vector<std::pair<std::string, std::string>> environment;
  for (size_t i = 1; i < w.size(); ++i) {
    if (w[i].compare(0, 4, "cwd=") == 0) {
      folder = w[i].substr(4);
    } else if (w[i].compare(0, 4, "env=") == 0) {
      const size_t equals = w[i].find('=', 4);
      if (equals != std::string::npos) environment.emplace_back(w[i].substr(4, equals - 4), w[i].substr(equals + 1));
    } else {
      const bool quote = w[i].empty() || w[i].find_first_of(" \t") != std::string::npos;
      if (!commandLine.empty()) commandLine += " ";
      commandLine += quote ? "\"" + w[i] + "\"" : w[i];
    }
  }
  main_ = dialog_ = nullptr;
  if (!program_.start(commandLine, folder, environment)) return error("cannot start");
  return ok("pid " + std::to_string(program_.id()));
}

std::string ScriptSession::attach(const Words& w) {
  if (w.size() >= 2) return program_.attach(static_cast<DWORD>(number(w[1]))) ? ok() : error("no process");
  HWND window = waitForWindow([] { return FindWindowA(kMainWindowClass, nullptr); }, timeoutArg(w, 2));
  if (!window || !program_.attach(processOf(window))) return error("no main window");
  main_ = window;
  return ok("pid " + std::to_string(program_.id()));
}

std::string ScriptSession::showMessageBox(const Words& w) {
  HWND box = waitForMessageBox(program_.id(), timeoutArg(w, 1));
  if (!box) return error("no message box");
  dialog_ = box;
  const MessageBoxView view = readMessageBox(box);
  std::string buttons;
  for (const std::string& button : view.buttons) buttons += (buttons.empty() ? "" : ",") + button;
  return ok(oneLine(view.caption) + "|" + oneLine(view.text) + "|" + view.icon + "|" + buttons);
}

std::string ScriptSession::findDialog(const Words& w) {
  HWND found = waitForDialog(program_.id(), w[1] == "*" ? nullptr : w[1].c_str(), timeoutArg(w, 2));
  if (!found) return error("no dialog");
  dialog_ = found;
  return ok(oneLine(windowText(found)));
}

std::string ScriptSession::fileDialog(const Words& w) {
  HWND found = waitForDialog(program_.id(), w[1].c_str(), timeoutArg(w, 3));
  if (!found) return error("no dialog");
  dialog_ = found;
  return chooseFile(found, w[2]) ? ok() : error("no file name box");
}

std::string ScriptSession::waitClosed(const Words& w) {
  HWND watched = dialog_;
  if (!watched) return error("no dialog");
  return waitUntil([&] { return !IsWindow(watched) || !isVisible(watched); }, timeoutArg(w, 1)) ? ok()
                                                                                                : error("still open");
}

std::string ScriptSession::pressBox(const Words& w) {
  HWND dialog = nullptr;
  if (std::string e = needDialog(&dialog); !e.empty()) return e;
  return pressMessageBoxButton(dialog, w[1]) ? ok() : error("no such button");
}

namespace {

// Commands on the main window (given as window).

std::string clientSizeOf(HWND window) {
  const SIZE size = clientSize(window);
  return ok(std::to_string(size.cx) + " " + std::to_string(size.cy));
}

std::string windowRectOf(HWND window) {
  const RECT r = windowRect(window);
  return ok(std::to_string(r.left) + " " + std::to_string(r.top) + " " + std::to_string(r.right) + " " +
            std::to_string(r.bottom));
}

std::string exStyleOf(HWND window) {
  char text[16];
  std::snprintf(text, sizeof text, "0x%08lX", static_cast<unsigned long>(GetWindowLongA(window, GWL_EXSTYLE)));
  return ok(text);
}

// Commands on the current dialog or message box (given as window), most on
// the control whose id is the first argument.

int controlId(const Words& w) { return number(w[1]); }

std::string checkedState(HWND dialog, const Words& w) {
  const int state = checkState(dialog, controlId(w));
  return state < 0 ? error("no such control") : ok(std::to_string(state));
}

std::string comboItemList(HWND dialog, const Words& w) {
  std::string list;
  for (const std::string& item : comboItems(dialog, controlId(w))) list += (list.empty() ? "" : "|") + oneLine(item);
  return ok(list);
}

std::string chooseItem(HWND dialog, const Words& w) {
  std::string chosen;
  return chooseComboItem(dialog, controlId(w), w[2], &chosen) ? ok(oneLine(chosen))
                                                              : error("no item containing " + w[2]);
}

std::string barText(HWND dialog, const Words& w) {
  const BarState bar = progressBarState(dialog, controlId(w));
  return bar.found ? ok(std::to_string(bar.position) + " " + std::to_string(bar.low) + " " + std::to_string(bar.high))
                   : error("no such control");
}

std::string replyTo(bool done, const char* failure) { return done ? ok() : error(failure); }

}  // namespace

// Each command with the least number of words it takes (its name included)
// and the window it works on. Too few words: an unknown command, or, once
// its window is found, a missing argument.
const std::vector<ScriptSession::Command>& ScriptSession::commands() {
  using S = ScriptSession;
  static const std::vector<Command> kTable = {
      {"start", 2, Target::None, [](S& s, const Words& w, HWND) { return s.start(w); }},
      {"attach", 1, Target::None, [](S& s, const Words& w, HWND) { return s.attach(w); }},
      {"main-window", 1, Target::None,
       [](S& s, const Words& w, HWND) {
         HWND window = s.mainWindow(timeoutArg(w, 1));
         return window ? ok(handleText(window)) : error("no main window");
       }},
      {"wait-exit", 1, Target::None,
       [](S& s, const Words& w, HWND) {
         const long code = s.program_.waitForExit(timeoutArg(w, 1));
         return code < 0 ? error("still running") : ok(std::to_string(code));
       }},
      {"terminate", 1, Target::None,
       [](S& s, const Words&, HWND) {
         s.program_.terminate();
         return ok();
       }},
      {"sleep", 2, Target::None,
       [](S&, const Words& w, HWND) {
         Sleep(static_cast<DWORD>(number(w[1])));
         return ok();
       }},
      {"quit", 1, Target::None,
       [](S& s, const Words&, HWND) {
         s.finished_ = true;
         return ok();
       }},
      {"message-box", 1, Target::None, [](S& s, const Words& w, HWND) { return s.showMessageBox(w); }},
      {"dialog", 2, Target::None, [](S& s, const Words& w, HWND) { return s.findDialog(w); }},
      {"file-dialog", 3, Target::None, [](S& s, const Words& w, HWND) { return s.fileDialog(w); }},
      {"wait-closed", 1, Target::None, [](S& s, const Words& w, HWND) { return s.waitClosed(w); }},
      {"press-box", 2, Target::None, [](S& s, const Words& w, HWND) { return s.pressBox(w); }},

      {"menu", 2, Target::MainWindow,
       [](S&, const Words& w, HWND window) { return replyTo(postCommand(window, number(w[1])), "post failed"); }},
      {"idle", 1, Target::MainWindow,
       [](S&, const Words&, HWND window) { return replyTo(waitForIdle(window), "no answer"); }},
      {"menu-state", 2, Target::MainWindow,
       [](S&, const Words& w, HWND window) { return menuStateText(menuCommandState(window, number(w[1]))); }},
      {"menubar-state", 2, Target::MainWindow,
       [](S&, const Words& w, HWND window) { return menuStateText(menuBarItemState(window, number(w[1]))); }},
      {"title", 1, Target::MainWindow, [](S&, const Words&, HWND window) { return ok(oneLine(windowText(window))); }},
      {"client-size", 1, Target::MainWindow, [](S&, const Words&, HWND window) { return clientSizeOf(window); }},
      {"window-rect", 1, Target::MainWindow, [](S&, const Words&, HWND window) { return windowRectOf(window); }},
      {"ex-style", 1, Target::MainWindow, [](S&, const Words&, HWND window) { return exStyleOf(window); }},
      {"alt-f4", 1, Target::MainWindow,
       [](S&, const Words&, HWND window) { return replyTo(pressAltF4(window), "post failed"); }},
      {"drop", 2, Target::MainWindow,
       [](S&, const Words& w, HWND window) { return replyTo(dropFile(window, w[1]), "not dropped"); }},
      {"capture", 2, Target::MainWindow,
       [](S&, const Words& w, HWND window) {
         return replyTo(writeBitmapFile(captureClient(window), w[1]), "cannot write");
       }},

      {"file-name", 1, Target::Dialog,
       [](S&, const Words&, HWND dialog) { return ok(oneLine(fileDialogName(dialog))); }},
      {"cancel", 1, Target::Dialog,
       [](S&, const Words&, HWND dialog) { return replyTo(cancelDialog(dialog), "post failed"); }},
      {"press", 2, Target::Dialog,
       [](S&, const Words& w, HWND dialog) { return replyTo(pressButton(dialog, controlId(w)), "post failed"); }},
      {"click", 2, Target::Dialog,
       [](S&, const Words& w, HWND dialog) { return replyTo(clickControl(dialog, controlId(w)), "no such control"); }},
      {"check", 3, Target::Dialog,
       [](S&, const Words& w, HWND dialog) {
         return replyTo(setChecked(dialog, controlId(w), w[2] == "on" || w[2] == "1"), "cannot check");
       }},
      {"checked", 2, Target::Dialog, [](S&, const Words& w, HWND dialog) { return checkedState(dialog, w); }},
      {"set-text", 3, Target::Dialog,
       [](S&, const Words& w, HWND dialog) {
         return replyTo(setControlText(dialog, controlId(w), w[2]), "no such control");
       }},
      {"get-text", 2, Target::Dialog,
       [](S&, const Words& w, HWND dialog) { return ok(oneLine(controlText(dialog, controlId(w)))); }},
      {"items", 2, Target::Dialog, [](S&, const Words& w, HWND dialog) { return comboItemList(dialog, w); }},
      {"choose-item", 3, Target::Dialog, [](S&, const Words& w, HWND dialog) { return chooseItem(dialog, w); }},
      {"bar", 2, Target::Dialog, [](S&, const Words& w, HWND dialog) { return barText(dialog, w); }},
      {"enabled", 2, Target::Dialog,
       [](S&, const Words& w, HWND dialog) { return ok(controlEnabled(dialog, controlId(w)) ? "1" : "0"); }},
  };
  return kTable;
}

std::string ScriptSession::dispatch(const Words& w) {
  const std::string& name = w[0];
  const auto& table = commands();
  const auto command = std::find_if(table.begin(), table.end(), [&](const Command& c) { return name == c.name; });
  if (command == table.end()) return error("unknown command " + name);
  HWND window = nullptr;
  if (command->target == Target::MainWindow) {
    window = mainWindow(kDefaultTimeoutMs);
    if (!window) return error("no main window");
  } else if (command->target == Target::Dialog) {
    if (std::string e = needDialog(&window); !e.empty()) return e;
  }
  if (w.size() < command->words)
    return command->target == Target::None ? error("unknown command " + name) : error("missing argument");
  return command->run(*this, w, window);
}

}  // namespace ui
