// Reads the entropy-coded bytes of a JPEG scan: undoes FF 00 stuffing, stops
// at the next marker and feeds zero bits past it, noting when it has done so.
#pragma once

#include <cstddef>
#include <cstdint>

namespace swf {

class JpegBitReader {
 public:
  JpegBitReader(const uint8_t* data, size_t size, size_t pos) : data_(data), size_(size), pos_(pos) {}

  // The next n (<= 16) bits, not consumed.
  uint32_t peek(int n) {
    fill();
    return uint32_t(acc_ >> (count_ - n)) & ((1u << n) - 1);
  }
  void skip(int n) { count_ -= n; }
  uint32_t bits(int n) {
    uint32_t v = peek(n);
    skip(n);
    return v;
  }
  // n bits read as a signed coefficient of magnitude category n (0..15).
  int extend(int n);

  // True once bits past the end of the scan's data have been consumed.
  bool overrun() const { return count_ < padded_ * 8; }

  // Drops the buffered bits and looks for the restart marker that should come
  // next. False when the next marker is anything else.
  bool restart();

  // Where the segment after the scan starts looking for its marker.
  size_t position() const { return pos_; }

 private:
  void fill();
  uint8_t nextByte();

  const uint8_t* data_;
  size_t size_;
  size_t pos_;
  uint64_t acc_ = 0;
  int count_ = 0;
  int padded_ = 0;
  bool atMarker_ = false;
};

}  // namespace swf
