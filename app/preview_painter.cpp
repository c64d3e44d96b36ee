#include "preview_painter.h"

#include <ole2.h>
#include <ocidl.h>

#include "tick_state.h"

namespace {

constexpr char kPainterProperty[] = "MvqPreviewPainter";
constexpr int kRecordingPaintInterval = 10;

LRESULT CALLBACK painterProc(HWND window, UINT message, WPARAM wParam, LPARAM lParam) {
  auto* painter = static_cast<PreviewPainter*>(GetPropA(window, kPainterProperty));
  if (!painter) return DefWindowProcA(window, message, wParam, lParam);
  if (message == WM_PAINT) {
    painter->paint();
    return 0;
  }
  return CallWindowProcA(painter->previous, window, message, wParam, lParam);
}

void validateOnly(HWND window) {
  PAINTSTRUCT ps;
  BeginPaint(window, &ps);
  EndPaint(window, &ps);
}

IViewObjectEx* controlViewObject(HWND host) {
  static const UINT kGetControl = RegisterWindowMessageA("WM_ATLGETCONTROL");
  auto* control = reinterpret_cast<IUnknown*>(SendMessageA(host, kGetControl, 0, 0));
  if (!control) return nullptr;
  IViewObjectEx* view = nullptr;
  if (FAILED(IUnknown_QueryInterface(control, IID_IViewObjectEx, reinterpret_cast<void**>(&view)))) view = nullptr;
  IUnknown_Release(control);
  return view;
}

// During the video pass a preview partly off the screen must still be drawn whole.
bool partlyOffScreen(HWND host, const RECT& client) {
  RECT screen = client;
  MapWindowPoints(host, nullptr, reinterpret_cast<POINT*>(&screen), 2);
  return screen.left < 0 || screen.top < 0 || screen.right > GetSystemMetrics(SM_CXSCREEN) ||
         screen.bottom > GetSystemMetrics(SM_CYSCREEN);
}

}  // namespace

PreviewPainter::PreviewPainter() : host(nullptr), previous(nullptr), memoryDc(nullptr), painting(0), skipCounter(0) {}

PreviewPainter::~PreviewPainter() {
  if (memoryDc) DeleteDC(memoryDc);
}

void PreviewPainter::subclass(HWND previewHost) {
  host = previewHost;
  SetPropA(host, kPainterProperty, this);
  previous = reinterpret_cast<WNDPROC>(SetWindowLongPtrA(host, GWLP_WNDPROC, reinterpret_cast<LONG_PTR>(&painterProc)));
}

void PreviewPainter::restore() {
  if (!host || !IsWindow(host)) return;
  if (GetWindowLongPtrA(host, GWLP_WNDPROC) == reinterpret_cast<LONG_PTR>(&painterProc)) {
    SetWindowLongPtrA(host, GWLP_WNDPROC, reinterpret_cast<LONG_PTR>(previous));
    RemovePropA(host, kPainterProperty);
  }
}

void PreviewPainter::paint() {
  if (tickState.recordingActive) {
    if (tickState.pendingTicks > 0 || ++skipCounter < kRecordingPaintInterval) {
      validateOnly(host);
      return;
    }
    skipCounter = 0;
  }
  if (painting) return;
  painting = 1;

  IViewObjectEx* view = controlViewObject(host);
  RECT client;
  GetClientRect(host, &client);
  if (!memoryDc) memoryDc = CreateCompatibleDC(nullptr);
  if (!surface.create(client.right, client.bottom, 24, memoryDc)) {
    if (view) IViewObjectEx_Release(view);
    painting = 0;
    return;
  }
  HGDIOBJ previousBitmap = SelectObject(memoryDc, surface.bitmap());
  RECT update;
  GetUpdateRect(host, &update, FALSE);

  // The surface has a spare row above the picture. Drawing one row down puts the
  // picture's bottom row first in memory, where the video pass reads the frame from.
  SetViewportOrgEx(memoryDc, 0, 1, nullptr);
  // A whole-client update needs no screen check, which costs more than the rest of the set-up.
  const bool wholeClient = EqualRect(&update, &client) != FALSE;
  const RECT& clip = tickState.videoPassActive && !wholeClient && partlyOffScreen(host, client) ? client : update;
  HRGN region = CreateRectRgnIndirect(&clip);
  OffsetRgn(region, 0, 1);  // clip regions are in device units
  SelectClipRgn(memoryDc, region);
  DeleteObject(region);
  if (view)
    IViewObjectEx_Draw(view, DVASPECT_CONTENT, -1, nullptr, nullptr, nullptr, memoryDc, nullptr, nullptr, nullptr, 0);

  PAINTSTRUCT ps;
  HDC windowDc = BeginPaint(host, &ps);
  BitBlt(windowDc, update.left, update.top, update.right - update.left, update.bottom - update.top, memoryDc,
         update.left, update.top, SRCCOPY);
  SelectClipRgn(memoryDc, nullptr);
  SetViewportOrgEx(memoryDc, 0, 0, nullptr);
  EndPaint(host, &ps);
  SelectObject(memoryDc, previousBitmap);

  if (view) IViewObjectEx_Release(view);
  painting = 0;
}
