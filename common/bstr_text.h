// A BSTR owned for as long as a control call needs it.
#pragma once

#include <windows.h>
#include <oleauto.h>

class BstrText {
 public:
  BstrText() = default;
  explicit BstrText(const wchar_t* text);
  // From the system's ANSI code page, as the program's paths are kept.
  explicit BstrText(const char* text);
  ~BstrText();
  BstrText(BstrText&& other) noexcept;
  BstrText& operator=(BstrText&& other) noexcept;
  BstrText(const BstrText&) = delete;
  BstrText& operator=(const BstrText&) = delete;

  // Null when the text could not be made (out of memory, a bad conversion).
  BSTR get() const { return text_; }

 private:
  BSTR text_ = nullptr;
};
