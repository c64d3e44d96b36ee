#include "bstr_text.h"

#include <vector>

BstrText::BstrText(const wchar_t* text) : text_(SysAllocString(text)) {}

BstrText::BstrText(const char* text) {
  // Text that does not convert goes to the control as an empty string.
  const int length = MultiByteToWideChar(CP_ACP, 0, text, -1, nullptr, 0);
  std::vector<wchar_t> wide(length > 0 ? length : 1, L'\0');
  if (length > 0) MultiByteToWideChar(CP_ACP, 0, text, -1, wide.data(), length);
  text_ = SysAllocString(wide.data());
}

BstrText::~BstrText() { SysFreeString(text_); }

BstrText::BstrText(BstrText&& other) noexcept : text_(other.text_) { other.text_ = nullptr; }

BstrText& BstrText::operator=(BstrText&& other) noexcept {
  if (this != &other) {
    SysFreeString(text_);
    text_ = other.text_;
    other.text_ = nullptr;
  }
  return *this;
}
