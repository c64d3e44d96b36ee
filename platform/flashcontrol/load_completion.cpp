#include "load_completion.h"

#include "flash_control.h"
#include "server_module.h"

namespace {

constexpr wchar_t kWindowClass[] = L"MvqFlashLoadCompletion";
constexpr UINT kCompleteLoad = WM_APP + 1;

LRESULT CALLBACK completionProc(HWND window, UINT message, WPARAM wParam, LPARAM lParam) {
  if (message != kCompleteLoad) return DefWindowProcW(window, message, wParam, lParam);
  auto* control = reinterpret_cast<FlashControl*>(GetWindowLongPtrW(window, GWLP_USERDATA));
  if (control && control->loadPending) {
    loadNamedMovie(control);
    requestRepaint(control);
  }
  return 0;
}

bool registerClass() {
  WNDCLASSW c = {};
  if (GetClassInfoW(serverInstance(), kWindowClass, &c)) return true;
  c.lpfnWndProc = completionProc;
  c.hInstance = serverInstance();
  c.lpszClassName = kWindowClass;
  return RegisterClassW(&c) != 0;
}

// Message-only: nothing to show, and cheap to make.
HWND completionWindow(FlashControl* control) {
  if (control->loadWindow) return control->loadWindow;
  if (!registerClass()) return nullptr;
  control->loadWindow =
      CreateWindowExW(0, kWindowClass, L"", 0, 0, 0, 0, 0, HWND_MESSAGE, nullptr, serverInstance(), nullptr);
  if (control->loadWindow) SetWindowLongPtrW(control->loadWindow, GWLP_USERDATA, reinterpret_cast<LONG_PTR>(control));
  return control->loadWindow;
}

}  // namespace

bool scheduleLoadCompletion(FlashControl* control) {
  HWND window = completionWindow(control);
  return window && PostMessageW(window, kCompleteLoad, 0, 0);
}

void endLoadCompletion(FlashControl* control, bool lastControl) {
  // Messages still queued for the window go with it.
  if (control->loadWindow) DestroyWindow(control->loadWindow);
  control->loadWindow = nullptr;
  if (lastControl) UnregisterClassW(kWindowClass, serverInstance());
}
