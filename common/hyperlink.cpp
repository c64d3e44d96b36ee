#include "hyperlink.h"

#include <vector>

#include "document_opener.h"
#include "module_instance.h"
#include "resource_ids.h"

namespace {

constexpr char kInstanceProperty[] = "MvqHyperLink";

std::string narrowText(const std::wstring& text) {
  const int size = WideCharToMultiByte(CP_ACP, 0, text.c_str(), -1, nullptr, 0, nullptr, nullptr);
  if (size <= 0) return std::string();
  std::vector<char> buffer(size);
  WideCharToMultiByte(CP_ACP, 0, text.c_str(), -1, buffer.data(), size, nullptr, nullptr);
  return std::string(buffer.data());
}

}  // namespace

HyperLink::HyperLink()
    : control_(nullptr),
      previous_(nullptr),
      normalColor_(0x00FF0000),
      hoverColor_(0x000000FF),
      hovering_(0),
      underlinedFont_(nullptr),
      timerId_(100) {}

HyperLink::~HyperLink() {
  detach();
  if (underlinedFont_) DeleteObject(underlinedFont_);
}

void HyperLink::setColors(COLORREF normal, COLORREF hover) {
  normalColor_ = normal;
  hoverColor_ = hover;
}

bool HyperLink::attach(HWND staticControl) {
  if (control_ || !IsWindow(staticControl) || GetPropA(staticControl, kInstanceProperty)) return false;
  control_ = staticControl;
  SetPropA(control_, kInstanceProperty, this);
  previous_ = reinterpret_cast<WNDPROC>(
      SetWindowLongPtrA(control_, GWLP_WNDPROC, reinterpret_cast<LONG_PTR>(&HyperLink::windowProc)));
  return true;
}

void HyperLink::detach() {
  if (!control_) return;
  if (IsWindow(control_)) {
    SetWindowLongPtrA(control_, GWLP_WNDPROC, reinterpret_cast<LONG_PTR>(previous_));
    RemovePropA(control_, kInstanceProperty);
  }
  control_ = nullptr;
}

LRESULT CALLBACK HyperLink::windowProc(HWND window, UINT message, WPARAM wParam, LPARAM lParam) {
  auto* link = static_cast<HyperLink*>(GetPropA(window, kInstanceProperty));
  if (!link) return DefWindowProcA(window, message, wParam, lParam);
  return link->handle(message, wParam, lParam);
}

LRESULT HyperLink::handle(UINT message, WPARAM wParam, LPARAM lParam) {
  switch (message) {
    case kReflectedMessageBase + WM_COMMAND:
      if (HIWORD(wParam) == STN_CLICKED || HIWORD(wParam) == STN_DBLCLK) onClick();
      return 0;
    case kReflectedMessageBase + WM_CTLCOLORSTATIC: return onColor(reinterpret_cast<HDC>(wParam));
    case WM_MOUSEMOVE: onMouseMove(); return 0;
    case WM_TIMER: onTimer(); return 0;
    case WM_SETCURSOR: SetCursor(LoadCursorA(appInstance(), MAKEINTRESOURCEA(IDC_HAND_CURSOR))); return 0;
    case WM_DESTROY:
      if (underlinedFont_) DeleteObject(underlinedFont_);
      underlinedFont_ = nullptr;
      break;
    case WM_NCDESTROY: {
      HWND window = control_;
      WNDPROC previous = previous_;
      detach();
      return CallWindowProcA(previous, window, message, wParam, lParam);
    }
    default:
      // Reflected notifications it does not answer get the default answer, as unreflected ones would.
      if (message >= kReflectedMessageBase && isChildNotification(message - kReflectedMessageBase))
        return DefWindowProcA(control_, message - kReflectedMessageBase, wParam, lParam);
      break;
  }
  return CallWindowProcA(previous_, control_, message, wParam, lParam);
}

void HyperLink::onClick() {
  if (target_.empty()) {
    const int length = GetWindowTextLengthW(control_);
    std::vector<wchar_t> text(length + 1);
    GetWindowTextW(control_, text.data(), length + 1);
    target_ = text.data();
  }
  if (openLinkTarget(narrowText(target_).c_str(), SW_SHOW) <= 32)
    MessageBeep(MB_OK);
  else
    InvalidateRect(control_, nullptr, TRUE);
}

LRESULT HyperLink::onColor(HDC dc) {
  const LONG_PTR style = GetWindowLongPtrA(control_, GWL_STYLE);
  if (!(style & SS_NOTIFY)) SetWindowLongPtrA(control_, GWL_STYLE, style | SS_NOTIFY);
  if ((style & 0xFF) > SS_RIGHT) return 0;
  if (!underlinedFont_) {
    LOGFONTA font;
    HFONT current = reinterpret_cast<HFONT>(SendMessageA(control_, WM_GETFONT, 0, 0));
    if (!current) current = static_cast<HFONT>(GetStockObject(DEFAULT_GUI_FONT));
    GetObjectA(current, sizeof font, &font);
    font.lfUnderline = TRUE;
    underlinedFont_ = CreateFontIndirectA(&font);
  }
  SelectObject(dc, underlinedFont_);
  SetTextColor(dc, hovering_ ? hoverColor_ : normalColor_);
  SetBkMode(dc, TRANSPARENT);
  return reinterpret_cast<LRESULT>(GetStockObject(NULL_BRUSH));
}

void HyperLink::onMouseMove() {
  if (hovering_) return;
  hovering_ = 1;
  InvalidateRect(control_, nullptr, TRUE);
  SetTimer(control_, timerId_, 100, nullptr);
}

void HyperLink::onTimer() {
  const DWORD position = GetMessagePos();
  POINT cursor = {static_cast<short>(LOWORD(position)), static_cast<short>(HIWORD(position))};
  ScreenToClient(control_, &cursor);
  RECT client;
  GetClientRect(control_, &client);
  if (PtInRect(&client, cursor)) return;
  hovering_ = 0;
  KillTimer(control_, timerId_);
  client.bottom += 10;
  InvalidateRect(control_, &client, TRUE);
}
