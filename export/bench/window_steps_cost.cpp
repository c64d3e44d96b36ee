#include "window_steps_cost.h"

#include <windows.h>
#include <commctrl.h>

#include <chrono>

namespace {

void dispatchWaiting() {
  MSG message;
  while (PeekMessageA(&message, nullptr, 0, 0, PM_REMOVE)) {
    TranslateMessage(&message);
    DispatchMessageA(&message);
  }
}

HBITMAP surface(int width, int height) {
  BITMAPINFO info = {};
  info.bmiHeader = {sizeof info.bmiHeader, width, height, 1, 24, BI_RGB};
  void* bits = nullptr;
  return CreateDIBSection(nullptr, &info, DIB_RGB_COLORS, &bits, nullptr, 0);
}

}  // namespace

double windowStepsSeconds(int width, int height, int frames) {
  INITCOMMONCONTROLSEX controls = {sizeof controls, ICC_PROGRESS_CLASS};
  InitCommonControlsEx(&controls);
  // Two top-level windows, as the main frame and the progress window are.
  HWND frame = CreateWindowExA(0, "STATIC", "frame", WS_POPUP | WS_CAPTION | WS_VISIBLE, 0, 0, width + 16, height + 40,
                               nullptr, nullptr, nullptr, nullptr);
  HWND preview =
      CreateWindowExA(0, "STATIC", "", WS_CHILD | WS_VISIBLE, 0, 0, width, height, frame, nullptr, nullptr, nullptr);
  HWND dialog = CreateWindowExA(0, "STATIC", "progress", WS_POPUP | WS_CAPTION | WS_VISIBLE, 100, height + 60, 400, 100,
                                frame, nullptr, nullptr, nullptr);
  HWND bar = CreateWindowExA(0, PROGRESS_CLASSA, "", WS_CHILD | WS_VISIBLE | PBS_SMOOTH | WS_BORDER, 6, 40, 378, 18,
                             dialog, nullptr, nullptr, nullptr);
  HBITMAP pixels = surface(width, height);
  HDC memory = CreateCompatibleDC(nullptr);
  HGDIOBJ previous = SelectObject(memory, pixels);
  double seconds = -1;
  if (preview && bar && pixels) {
    SendMessageA(bar, PBM_SETRANGE32, 0, frames);
    dispatchWaiting();
    const auto start = std::chrono::steady_clock::now();
    for (int k = 0; k < frames; ++k) {
      InvalidateRect(preview, nullptr, FALSE);
      PAINTSTRUCT ps;
      HDC dc = BeginPaint(preview, &ps);
      BitBlt(dc, 0, 0, width, height, memory, 0, 0, SRCCOPY);
      EndPaint(preview, &ps);
      SendMessageA(bar, PBM_SETPOS, k + 1, 0);
    }
    seconds = std::chrono::duration<double>(std::chrono::steady_clock::now() - start).count();
  }
  SelectObject(memory, previous);
  DeleteDC(memory);
  if (pixels) DeleteObject(pixels);
  if (dialog) DestroyWindow(dialog);
  if (frame) DestroyWindow(frame);
  return seconds;
}
