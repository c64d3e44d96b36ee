// The one reader for SWF data: little-endian bytes and MSB-first bit fields
// over a bounded buffer. Reading past the end yields zeros and sets
// overrun(), so parsers can loop on counts from the file without trusting them.
#pragma once

#include <cstddef>
#include <cstdint>
#include <string>

#include "../format/color.h"
#include "../format/color_transform.h"
#include "../format/matrix.h"
#include "../format/rect.h"

namespace swf {

class SwfReader {
 public:
  SwfReader(const uint8_t* data, size_t size) : data_(data), size_(size) {}

  bool overrun() const { return overrun_; }
  bool atEnd() const { return pos_ >= size_; }
  size_t position() const { return pos_; }
  size_t remaining() const { return pos_ < size_ ? size_ - pos_ : 0; }
  const uint8_t* cursor() const { return data_ + (pos_ < size_ ? pos_ : size_); }

  uint8_t u8();
  uint16_t u16();
  uint32_t u32();
  int16_t s16() { return int16_t(u16()); }
  double fixed8();  // signed 8.8
  void skip(size_t n);
  // Zero-terminated string; a missing terminator ends it at the buffer's end.
  std::string string();

  // Bit fields: byte-aligned reads discard any partly read byte first.
  void align() { bitsLeft_ = 0; }
  uint32_t ubits(unsigned n);
  int32_t sbits(unsigned n);
  double fbits(unsigned n);  // signed 16.16
  bool flag() { return ubits(1) != 0; }

  Rect rect();
  Matrix matrix();
  ColorTransform colorTransform(bool withAlpha);
  Rgba rgb();
  Rgba rgba();

 private:
  uint8_t nextByte();

  const uint8_t* data_;
  size_t size_;
  size_t pos_ = 0;
  uint8_t bitBuffer_ = 0;
  unsigned bitsLeft_ = 0;
  bool overrun_ = false;
};

}  // namespace swf
