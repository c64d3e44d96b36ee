#include "ui_windows.h"

#include <vector>

namespace ui {

namespace {

struct Collected {
  DWORD processId;
  std::vector<HWND> windows;
};

BOOL CALLBACK collectTopLevel(HWND window, LPARAM data) {
  auto* collected = reinterpret_cast<Collected*>(data);
  if (processOf(window) == collected->processId) collected->windows.push_back(window);
  return TRUE;
}

BOOL CALLBACK collectChild(HWND window, LPARAM data) {
  reinterpret_cast<std::vector<HWND>*>(data)->push_back(window);
  return TRUE;
}

}  // namespace

std::vector<HWND> topLevelWindows(DWORD processId) {
  Collected collected{processId, {}};
  EnumWindows(collectTopLevel, reinterpret_cast<LPARAM>(&collected));
  return collected.windows;
}

std::vector<HWND> childWindows(HWND parent) {
  std::vector<HWND> windows;
  EnumChildWindows(parent, collectChild, reinterpret_cast<LPARAM>(&windows));
  return windows;
}

std::string className(HWND window) {
  char name[256];
  const int length = GetClassNameA(window, name, sizeof name);
  return std::string(name, length > 0 ? length : 0);
}

std::string windowText(HWND window) {
  DWORD_PTR length = 0;
  if (!SendMessageTimeoutA(window, WM_GETTEXTLENGTH, 0, 0, SMTO_ABORTIFHUNG, kMessageTimeoutMs, &length))
    return std::string();
  std::vector<char> text(length + 1, '\0');
  DWORD_PTR copied = 0;
  if (!SendMessageTimeoutA(window, WM_GETTEXT, text.size(), reinterpret_cast<LPARAM>(text.data()), SMTO_ABORTIFHUNG,
                           kMessageTimeoutMs, &copied))
    return std::string();
  return std::string(text.data(), copied <= length ? copied : length);
}

bool setWindowText(HWND window, const std::string& text) {
  DWORD_PTR result = 0;
  return SendMessageTimeoutA(window, WM_SETTEXT, 0, reinterpret_cast<LPARAM>(text.c_str()), SMTO_ABORTIFHUNG,
                             kMessageTimeoutMs, &result) &&
         result;
}

RECT windowRect(HWND window) {
  RECT rect = {0, 0, 0, 0};
  GetWindowRect(window, &rect);
  return rect;
}

SIZE clientSize(HWND window) {
  RECT rect = {0, 0, 0, 0};
  GetClientRect(window, &rect);
  return SIZE{rect.right - rect.left, rect.bottom - rect.top};
}

bool isVisible(HWND window) { return IsWindowVisible(window) != FALSE; }
bool isEnabled(HWND window) { return IsWindowEnabled(window) != FALSE; }

DWORD processOf(HWND window) {
  DWORD processId = 0;
  GetWindowThreadProcessId(window, &processId);
  return processId;
}

HWND waitForWindow(const std::function<HWND()>& find, DWORD timeoutMs) {
  HWND found = nullptr;
  waitUntil([&] { return (found = find()) != nullptr; }, timeoutMs);
  return found;
}

bool waitUntil(const std::function<bool()>& done, DWORD timeoutMs) {
  const DWORD start = GetTickCount();
  for (;;) {
    if (done()) return true;
    if (GetTickCount() - start >= timeoutMs) return false;
    Sleep(15);
  }
}

HWND findTopLevel(DWORD processId, const std::string& windowClass, const char* title) {
  for (HWND window : topLevelWindows(processId)) {
    if (!isVisible(window) || className(window) != windowClass) continue;
    if (title && windowText(window) != title) continue;
    return window;
  }
  return nullptr;
}

}  // namespace ui
