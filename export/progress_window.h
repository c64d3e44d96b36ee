// The modeless window both export passes show while they run: a bar, the
// frames done, the total, and Finish and Cancel. The owner polls the flags.
#pragma once

#include <windows.h>

class ProgressWindow {
 public:
  ProgressWindow() = default;
  ~ProgressWindow() { destroy(); }
  ProgressWindow(const ProgressWindow&) = delete;
  ProgressWindow& operator=(const ProgressWindow&) = delete;

  bool create(HWND owner);
  void destroy();
  HWND window() const { return window_; }

  void setCaption(UINT stringId);
  void setRange(int low, int high);
  // Moves the bar, then dispatches every waiting message so the buttons work.
  void setPosition(int value);
  // which: 1 = Finish, 2 = Cancel; other values do nothing.
  void enableButton(int which, bool on);
  void setCountText(UINT stringId, int count);
  void setTotalText(int total, int first, int last);

  bool cancelRequested() const { return cancelRequested_; }
  bool finishRequested() const { return finishRequested_; }
  bool asking() const { return asking_; }

 private:
  static INT_PTR CALLBACK dialogProc(HWND dialog, UINT message, WPARAM wParam, LPARAM lParam);
  void onInit(HWND dialog);
  void onFinish();
  void onCancel();

  HWND window_ = nullptr;
  bool cancelRequested_ = false;
  bool finishRequested_ = false;
  bool asking_ = false;
};
