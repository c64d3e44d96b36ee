// Looking at another program's windows from outside, as a user sees them.
// Text is read with messages (WM_GETTEXT), which work across processes.
#pragma once

#include <windows.h>

#include <functional>
#include <string>
#include <vector>

namespace ui {

constexpr DWORD kMessageTimeoutMs = 2000;

std::vector<HWND> topLevelWindows(DWORD processId);
std::vector<HWND> childWindows(HWND parent);

std::string className(HWND window);
std::string windowText(HWND window);
bool setWindowText(HWND window, const std::string& text);

RECT windowRect(HWND window);
SIZE clientSize(HWND window);
bool isVisible(HWND window);
bool isEnabled(HWND window);
DWORD processOf(HWND window);

// Polls every few milliseconds until find returns a window or the time is up.
HWND waitForWindow(const std::function<HWND()>& find, DWORD timeoutMs);
// Polls until done returns true or the time is up.
bool waitUntil(const std::function<bool()>& done, DWORD timeoutMs);

// A visible top-level window of the process with the class (and title, when given).
HWND findTopLevel(DWORD processId, const std::string& windowClass, const char* title = nullptr);

}  // namespace ui
