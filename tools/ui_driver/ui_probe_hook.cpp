// mvq-ui-probe.dll: loaded by the system into the program the driver looks at.
#include <windows.h>
#include <shlobj.h>

#include <cstring>

#include "ui_probe_protocol.h"

namespace {

UINT queryMessage() {
  static const UINT kMessage = RegisterWindowMessageA(ui::kProbeQueryMessage);
  return kMessage;
}

UINT_PTR menuState(HWND window, UINT item, UINT flags) {
  HMENU menu = GetMenu(window);
  return menu ? GetMenuState(menu, item, flags) : static_cast<UINT>(-1);
}

// What the shell does on a drop: a DROPFILES block in this process, posted.
UINT_PTR dropFile(HWND window, ATOM atom) {
  char path[MAX_PATH];
  const UINT length = GlobalGetAtomNameA(atom, path, sizeof path);
  if (length == 0) return 0;
  HGLOBAL block = GlobalAlloc(GMEM_MOVEABLE | GMEM_ZEROINIT, sizeof(DROPFILES) + length + 2);
  if (!block) return 0;
  auto* drop = static_cast<DROPFILES*>(GlobalLock(block));
  drop->pFiles = sizeof(DROPFILES);
  drop->fWide = FALSE;
  std::memcpy(reinterpret_cast<char*>(drop) + sizeof(DROPFILES), path, length);
  GlobalUnlock(block);
  if (!PostMessageA(window, WM_DROPFILES, reinterpret_cast<WPARAM>(block), 0)) {
    GlobalFree(block);
    return 0;
  }
  return 1;
}

UINT_PTR answer(const MSG& query) {
  const UINT item = LOWORD(query.wParam);
  switch (HIWORD(query.wParam)) {
    case ui::ProbeMenuCommand: return menuState(query.hwnd, item, MF_BYCOMMAND);
    case ui::ProbeMenuPosition: return menuState(query.hwnd, item, MF_BYPOSITION);
    case ui::ProbeDropFile: return dropFile(query.hwnd, static_cast<ATOM>(item));
    case ui::ProbePing: return 1;
    default: return static_cast<UINT>(-1);
  }
}

}  // namespace

extern "C" __declspec(dllexport) LRESULT CALLBACK probeMessageHook(int code, WPARAM removal, LPARAM data) {
  const MSG* message = reinterpret_cast<const MSG*>(data);
  if (code == HC_ACTION && removal == PM_REMOVE && message->message == queryMessage())
    PostThreadMessageA(static_cast<DWORD>(message->lParam), ui::kProbeReply, answer(*message), 0);
  return CallNextHookEx(nullptr, code, removal, data);
}
