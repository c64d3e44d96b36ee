#include "ui_probe.h"

#include <string>

#include "ui_probe_protocol.h"
#include "ui_windows.h"

namespace ui {

namespace {

std::string probeDllPath() {
  char path[MAX_PATH];
  const DWORD length = GetModuleFileNameA(nullptr, path, sizeof path);
  std::string folder(path, length);
  const size_t slash = folder.find_last_of("\\/");
  folder.resize(slash == std::string::npos ? 0 : slash + 1);
  return folder + kProbeDllName;
}

// Posts the query with the hook installed on the window's thread; -1 without an answer.
UINT_PTR ask(HWND window, WORD kind, WORD item) {
  static HMODULE dll = LoadLibraryA(probeDllPath().c_str());
  if (!dll) return static_cast<UINT_PTR>(-1);
  auto hook = reinterpret_cast<HOOKPROC>(GetProcAddress(dll, kProbeHookExport));
  const DWORD thread = GetWindowThreadProcessId(window, nullptr);
  HHOOK installed = hook && thread ? SetWindowsHookExA(WH_GETMESSAGE, hook, dll, thread) : nullptr;
  if (!installed) return static_cast<UINT_PTR>(-1);

  MSG reply;
  PeekMessageA(&reply, nullptr, 0, 0, PM_NOREMOVE);  // this thread needs a queue
  while (PeekMessageA(&reply, reinterpret_cast<HWND>(-1), kProbeReply, kProbeReply, PM_REMOVE)) {
  }
  UINT_PTR result = static_cast<UINT_PTR>(-1);
  if (PostMessageA(window, RegisterWindowMessageA(kProbeQueryMessage), MAKEWPARAM(item, kind),
                   static_cast<LPARAM>(GetCurrentThreadId()))) {
    waitUntil(
        [&] {
          if (!PeekMessageA(&reply, reinterpret_cast<HWND>(-1), kProbeReply, kProbeReply, PM_REMOVE)) return false;
          result = reply.wParam;
          return true;
        },
        kMessageTimeoutMs);
  }
  UnhookWindowsHookEx(installed);
  return result;
}

MenuItemState stateFrom(UINT_PTR answer) {
  MenuItemState state;
  if (answer == static_cast<UINT_PTR>(-1) || answer == 0xFFFFFFFF) return state;
  state.found = true;
  state.grayed = (answer & (MF_GRAYED | MF_DISABLED)) != 0;
  state.checked = (answer & MF_CHECKED) != 0;
  return state;
}

}  // namespace

MenuItemState menuCommandState(HWND window, int commandId) {
  return stateFrom(ask(window, ProbeMenuCommand, static_cast<WORD>(commandId)));
}

MenuItemState menuBarItemState(HWND window, int position) {
  return stateFrom(ask(window, ProbeMenuPosition, static_cast<WORD>(position)));
}

bool waitForIdle(HWND window) { return ask(window, ProbePing, 0) == 1; }

bool dropFile(HWND window, const std::string& path) {
  const ATOM atom = GlobalAddAtomA(path.c_str());
  if (!atom) return false;
  const bool dropped = ask(window, ProbeDropFile, atom) == 1;
  GlobalDeleteAtom(atom);
  return dropped;
}

}  // namespace ui
