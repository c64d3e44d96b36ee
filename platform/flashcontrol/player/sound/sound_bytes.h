// Bounded little-endian reads over a sound tag's body: past the end they give
// zeros and set overrun(), so counts taken from a file need no trust.
#pragma once

#include <cstddef>
#include <cstdint>

namespace swf {

class SoundBytes {
 public:
  SoundBytes(const uint8_t* data, size_t size) : data_(data), size_(data ? size : 0) {}

  uint8_t u8() { return pos_ < size_ ? data_[pos_++] : (overrun_ = true, 0); }
  uint16_t u16() {
    const uint16_t low = u8();
    return static_cast<uint16_t>(low | u8() << 8);
  }
  uint32_t u32() {
    const uint32_t low = u16();
    return low | uint32_t(u16()) << 16;
  }
  int16_t s16() { return static_cast<int16_t>(u16()); }

  bool overrun() const { return overrun_; }
  size_t remaining() const { return size_ - pos_; }
  const uint8_t* cursor() const { return data_ ? data_ + pos_ : nullptr; }

 private:
  const uint8_t* data_;
  size_t size_;
  size_t pos_ = 0;
  bool overrun_ = false;
};

}  // namespace swf
