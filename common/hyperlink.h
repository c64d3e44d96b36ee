// A static control of a dialog turned into a web link: underlined, blue, red
// while the mouse is over it, the hand cursor, and a click opens its target.
// The parent dialog must reflect its child notifications back to the control.
#pragma once

#include <windows.h>

#include <string>

#include "notification_reflector.h"

class HyperLink {
 public:
  HyperLink();
  ~HyperLink();
  HyperLink(const HyperLink&) = delete;
  HyperLink& operator=(const HyperLink&) = delete;

  void setColors(COLORREF normal, COLORREF hover);
  void setTimerId(UINT_PTR id) { timerId_ = id; }
  // An empty target makes the control's own text the target at the first click.
  void setTarget(const wchar_t* target) { target_ = target; }
  // Subclasses the static control; false when it is already subclassed or gone.
  bool attach(HWND staticControl);

  bool hovering() const { return hovering_ != 0; }
  const std::wstring& target() const { return target_; }

 private:
  static LRESULT CALLBACK windowProc(HWND window, UINT message, WPARAM wParam, LPARAM lParam);
  LRESULT handle(UINT message, WPARAM wParam, LPARAM lParam);
  void onClick();
  LRESULT onColor(HDC dc);
  void onMouseMove();
  void onTimer();
  void detach();

  HWND control_;
  WNDPROC previous_;
  COLORREF normalColor_;
  COLORREF hoverColor_;
  int hovering_;
  HFONT underlinedFont_;
  std::wstring target_;
  UINT_PTR timerId_;
};
