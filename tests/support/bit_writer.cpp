#include "bit_writer.h"

#include <cmath>

namespace mvqtest {

BitWriter& BitWriter::writeUnsigned(uint32_t value, int bits) {
  for (int i = bits - 1; i >= 0; --i) {
    if (bitsUsed_ == 0) bytes_.push_back(0);
    if ((value >> i) & 1u) bytes_.back() |= static_cast<uint8_t>(0x80u >> bitsUsed_);
    bitsUsed_ = (bitsUsed_ + 1) % 8;
  }
  return *this;
}

BitWriter& BitWriter::writeSigned(int32_t value, int bits) { return writeUnsigned(static_cast<uint32_t>(value), bits); }

BitWriter& BitWriter::writeFixed(double value, int bits) { return writeSigned(toFixed(value), bits); }

BitWriter& BitWriter::align() {
  bitsUsed_ = 0;
  return *this;
}

Bytes BitWriter::bytes() const { return bytes_; }

int BitWriter::unsignedBits(uint32_t value) {
  int bits = 0;
  while (bits < 32 && (value >> bits) != 0) ++bits;
  return bits;
}

int BitWriter::signedBits(int32_t value) {
  if (value == 0) return 0;
  const uint32_t magnitude = value < 0 ? ~static_cast<uint32_t>(value) : static_cast<uint32_t>(value);
  return unsignedBits(magnitude) + 1;
}

int32_t BitWriter::toFixed(double value) { return static_cast<int32_t>(std::lround(value * 65536.0)); }

}  // namespace mvqtest
