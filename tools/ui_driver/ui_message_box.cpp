#include "ui_message_box.h"

#include <climits>
#include <cstdlib>

#include "ui_controls.h"
#include "ui_screen.h"
#include "ui_windows.h"

namespace ui {

namespace {

// The message text and icon of the system's message box template.
constexpr int kTextIds[] = {0xFFFF, 100};
constexpr int kIconId = 0x440;

struct ButtonName {
  int id;
  const char* name;
};
constexpr ButtonName kButtons[] = {{IDOK, "ok"},         {IDCANCEL, "cancel"}, {IDABORT, "abort"}, {IDRETRY, "retry"},
                                   {IDIGNORE, "ignore"}, {IDYES, "yes"},       {IDNO, "no"}};

HWND messageText(HWND box) {
  for (int id : kTextIds) {
    HWND text = GetDlgItem(box, id);
    if (text && className(text) == "Static") return text;
  }
  return nullptr;
}

// The shown icon matched against the system's own icons drawn here.
std::string drawnIconKind(HWND icon) {
  RECT area = windowRect(icon);
  area.right = area.left + GetSystemMetrics(SM_CXICON);
  area.bottom = area.top + GetSystemMetrics(SM_CYICON);
  const ScreenPicture shown = captureScreen(area);
  if (shown.width == 0) return "none";

  struct Candidate {
    LPCSTR id;
    const char* name;
  };
  // A blank area (no icon drawn) is a candidate too.
  const Candidate candidates[] = {{nullptr, "none"},
                                  {IDI_HAND, "error"},
                                  {IDI_EXCLAMATION, "warning"},
                                  {IDI_ASTERISK, "information"},
                                  {IDI_QUESTION, "question"}};
  const COLORREF background = shown.at(0, 0);
  std::string best = "none";
  long long bestDistance = LLONG_MAX;
  for (const Candidate& candidate : candidates) {
    HDC screen = GetDC(nullptr);
    HDC memory = CreateCompatibleDC(screen);
    HBITMAP bitmap = CreateCompatibleBitmap(screen, shown.width, shown.height);
    HGDIOBJ previous = SelectObject(memory, bitmap);
    RECT all = {0, 0, shown.width, shown.height};
    HBRUSH brush = CreateSolidBrush(background);
    FillRect(memory, &all, brush);
    DeleteObject(brush);
    if (candidate.id)
      DrawIconEx(memory, 0, 0, LoadIconA(nullptr, candidate.id), shown.width, shown.height, 0, nullptr, DI_NORMAL);
    long long distance = 0;
    for (int y = 0; y < shown.height; ++y)
      for (int x = 0; x < shown.width; ++x) {
        const COLORREF a = GetPixel(memory, x, y), b = shown.at(x, y);
        distance += std::abs(GetRValue(a) - GetRValue(b)) + std::abs(GetGValue(a) - GetGValue(b)) +
                    std::abs(GetBValue(a) - GetBValue(b));
      }
    SelectObject(memory, previous);
    DeleteObject(bitmap);
    DeleteDC(memory);
    ReleaseDC(nullptr, screen);
    if (distance < bestDistance) {
      bestDistance = distance;
      best = candidate.name;
    }
  }
  return best;
}

// A box found as soon as it shows may not have painted its icon yet: a visible
// icon control is looked at again until an icon is seen, for up to a second.
std::string iconKind(HWND box) {
  HWND icon = GetDlgItem(box, kIconId);
  if (!icon || !isVisible(icon)) return "none";
  std::string kind = drawnIconKind(icon);
  for (int waited = 0; kind == "none" && waited < 1000 && IsWindow(box); waited += 50) {
    Sleep(50);
    kind = drawnIconKind(icon);
  }
  return kind;
}

}  // namespace

bool isMessageBox(HWND window) {
  return className(window) == "#32770" && messageText(window) != nullptr && GetDlgItem(window, kIconId) != nullptr;
}

HWND waitForMessageBox(DWORD processId, DWORD timeoutMs) {
  return waitForWindow(
      [&]() -> HWND {
        for (HWND window : topLevelWindows(processId))
          if (isVisible(window) && isMessageBox(window)) return window;
        return nullptr;
      },
      timeoutMs);
}

MessageBoxView readMessageBox(HWND box) {
  MessageBoxView view;
  view.window = box;
  view.caption = windowText(box);
  if (HWND text = messageText(box)) view.text = windowText(text);
  view.icon = iconKind(box);
  for (const ButtonName& button : kButtons) {
    HWND control = GetDlgItem(box, button.id);
    if (control && isVisible(control)) view.buttons.push_back(button.name);
  }
  return view;
}

bool pressMessageBoxButton(HWND box, const std::string& button) {
  for (const ButtonName& candidate : kButtons) {
    if (button != candidate.name) continue;
    HWND control = GetDlgItem(box, candidate.id);
    return control && isVisible(control) && pressButton(box, candidate.id);
  }
  return false;
}

}  // namespace ui
