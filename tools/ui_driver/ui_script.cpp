#include "ui_script.h"

#include <cstdio>
#include <cstdlib>
#include <functional>
#include <map>

#include "ui_choices.h"
#include "ui_controls.h"
#include "ui_file_dialog.h"
#include "ui_message_box.h"
#include "ui_probe.h"
#include "ui_screen.h"
#include "ui_windows.h"

namespace ui {

namespace {

constexpr char kMainWindowClass[] = "TessalineMoviquill";
constexpr DWORD kDefaultTimeoutMs = 5000;

std::string ok(const std::string& text = std::string()) {
  return text.empty() ? "ok" : "ok " + text;
}
std::string error(const std::string& text) { return "error " + text; }

int number(const std::string& text) { return static_cast<int>(std::strtol(text.c_str(), nullptr, 0)); }

DWORD timeoutArg(const std::vector<std::string>& words, size_t index) {
  return words.size() > index ? static_cast<DWORD>(number(words[index])) : kDefaultTimeoutMs;
}

// Line breaks and backslashes escaped, so that a reply stays on one line.
std::string oneLine(const std::string& text) {
  std::string out;
  for (char c : text) {
    if (c == '\n') out += "\\n";
    else if (c == '\r') out += "\\r";
    else if (c == '\\') out += "\\\\";
    else out.push_back(c);
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
  return ok(std::string(state.grayed ? "grayed" : "enabled") + " " +
            (state.checked ? "checked" : "unchecked"));
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

std::string ScriptSession::dispatch(const std::vector<std::string>& w) {
  const std::string& command = w[0];
  const size_t n = w.size();
  HWND dialog = nullptr;

  if (command == "start" && n >= 2) {
    // start PROGRAM [ARG...] [cwd=FOLDER] [env=NAME=VALUE...]
    std::string commandLine, folder;
    std::vector<std::pair<std::string, std::string>> environment;
    for (size_t i = 1; i < n; ++i) {
      if (w[i].compare(0, 4, "cwd=") == 0) {
        folder = w[i].substr(4);
      } else if (w[i].compare(0, 4, "env=") == 0) {
        const size_t equals = w[i].find('=', 4);
        if (equals != std::string::npos)
          environment.emplace_back(w[i].substr(4, equals - 4), w[i].substr(equals + 1));
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
  if (command == "attach") {
    if (n >= 2) return program_.attach(static_cast<DWORD>(number(w[1]))) ? ok() : error("no process");
    HWND window = waitForWindow([] { return FindWindowA(kMainWindowClass, nullptr); }, timeoutArg(w, 2));
    if (!window || !program_.attach(processOf(window))) return error("no main window");
    main_ = window;
    return ok("pid " + std::to_string(program_.id()));
  }
  if (command == "main-window") {
    HWND window = mainWindow(timeoutArg(w, 1));
    return window ? ok(handleText(window)) : error("no main window");
  }
  if (command == "wait-exit") {
    const long code = program_.waitForExit(timeoutArg(w, 1));
    return code < 0 ? error("still running") : ok(std::to_string(code));
  }
  if (command == "terminate") {
    program_.terminate();
    return ok();
  }
  if (command == "sleep" && n >= 2) {
    Sleep(static_cast<DWORD>(number(w[1])));
    return ok();
  }
  if (command == "quit") {
    finished_ = true;
    return ok();
  }
  if (command == "message-box") {
    HWND box = waitForMessageBox(program_.id(), timeoutArg(w, 1));
    if (!box) return error("no message box");
    dialog_ = box;
    const MessageBoxView view = readMessageBox(box);
    std::string buttons;
    for (const std::string& button : view.buttons) buttons += (buttons.empty() ? "" : ",") + button;
    return ok(oneLine(view.caption) + "|" + oneLine(view.text) + "|" + view.icon + "|" + buttons);
  }
  if (command == "dialog" && n >= 2) {
    HWND found = waitForDialog(program_.id(), w[1] == "*" ? nullptr : w[1].c_str(), timeoutArg(w, 2));
    if (!found) return error("no dialog");
    dialog_ = found;
    return ok(oneLine(windowText(found)));
  }
  if (command == "file-dialog" && n >= 3) {
    HWND found = waitForDialog(program_.id(), w[1].c_str(), timeoutArg(w, 3));
    if (!found) return error("no dialog");
    dialog_ = found;
    return chooseFile(found, w[2]) ? ok() : error("no file name box");
  }
  if (command == "wait-closed") {
    HWND watched = dialog_;
    if (!watched) return error("no dialog");
    return waitUntil([&] { return !IsWindow(watched) || !isVisible(watched); }, timeoutArg(w, 1))
               ? ok()
               : error("still open");
  }

  // Commands on the main window.
  if (command == "menu" || command == "menu-state" || command == "menubar-state" ||
      command == "title" || command == "client-size" || command == "window-rect" ||
      command == "alt-f4" || command == "idle" || command == "drop" || command == "capture" || command == "ex-style") {
    HWND window = mainWindow(kDefaultTimeoutMs);
    if (!window) return error("no main window");
    if (command == "menu" && n >= 2) return postCommand(window, number(w[1])) ? ok() : error("post failed");
    if (command == "idle") return waitForIdle(window) ? ok() : error("no answer");
    if (command == "menu-state" && n >= 2) return menuStateText(menuCommandState(window, number(w[1])));
    if (command == "menubar-state" && n >= 2) return menuStateText(menuBarItemState(window, number(w[1])));
    if (command == "title") return ok(oneLine(windowText(window)));
    if (command == "client-size") {
      const SIZE size = clientSize(window);
      return ok(std::to_string(size.cx) + " " + std::to_string(size.cy));
    }
    if (command == "window-rect") {
      const RECT r = windowRect(window);
      return ok(std::to_string(r.left) + " " + std::to_string(r.top) + " " + std::to_string(r.right) +
                " " + std::to_string(r.bottom));
    }
    if (command == "ex-style") {
      char text[16];
      std::snprintf(text, sizeof text, "0x%08lX", static_cast<unsigned long>(GetWindowLongA(window, GWL_EXSTYLE)));
      return ok(text);
    }
    if (command == "alt-f4") return pressAltF4(window) ? ok() : error("post failed");
    if (command == "drop" && n >= 2) return dropFile(window, w[1]) ? ok() : error("not dropped");
    if (command == "capture" && n >= 2)
      return writeBitmapFile(captureClient(window), w[1]) ? ok() : error("cannot write");
    return error("missing argument");
  }

  // Commands on the current dialog or message box.
  if (command == "press-box" && n >= 2) {
    if (std::string e = needDialog(&dialog); !e.empty()) return e;
    return pressMessageBoxButton(dialog, w[1]) ? ok() : error("no such button");
  }
  if (command == "press" || command == "click" || command == "check" || command == "checked" ||
      command == "set-text" || command == "get-text" || command == "enabled" ||
      command == "file-name" || command == "cancel" || command == "items" || command == "choose-item" ||
      command == "bar") {
    if (std::string e = needDialog(&dialog); !e.empty()) return e;
    if (command == "file-name") return ok(oneLine(fileDialogName(dialog)));
    if (command == "cancel") return cancelDialog(dialog) ? ok() : error("post failed");
    if (n < 2) return error("missing argument");
    const int id = number(w[1]);
    if (command == "press") return pressButton(dialog, id) ? ok() : error("post failed");
    if (command == "click") return clickControl(dialog, id) ? ok() : error("no such control");
    if (command == "check" && n >= 3)
      return setChecked(dialog, id, w[2] == "on" || w[2] == "1") ? ok() : error("cannot check");
    if (command == "checked") {
      const int state = checkState(dialog, id);
      return state < 0 ? error("no such control") : ok(std::to_string(state));
    }
    if (command == "set-text" && n >= 3)
      return setControlText(dialog, id, w[2]) ? ok() : error("no such control");
    if (command == "get-text") return ok(oneLine(controlText(dialog, id)));
    if (command == "items") {
      std::string list;
      for (const std::string& item : comboItems(dialog, id)) list += (list.empty() ? "" : "|") + oneLine(item);
      return ok(list);
    }
    if (command == "choose-item" && n >= 3) {
      std::string chosen;
      return chooseComboItem(dialog, id, w[2], &chosen) ? ok(oneLine(chosen)) : error("no item containing " + w[2]);
    }
    if (command == "bar") {
      const BarState bar = progressBarState(dialog, id);
      return bar.found ? ok(std::to_string(bar.position) + " " + std::to_string(bar.low) + " " +
                            std::to_string(bar.high))
                       : error("no such control");
    }
    if (command == "enabled") return ok(controlEnabled(dialog, id) ? "1" : "0");
    return error("missing argument");
  }
  return error("unknown command " + command);
}

}  // namespace ui
