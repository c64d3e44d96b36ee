// Bit-packed SWF fields (RECT, MATRIX, shape records): most significant bit first,
// padded with zero bits to a byte boundary.
#pragma once

#include "byte_writer.h"

namespace mvqtest {

class BitWriter {
 public:
  // The low `bits` bits of value (0 to 32 bits).
  BitWriter& writeUnsigned(uint32_t value, int bits);
  // Two's complement in `bits` bits; the caller chooses bits large enough.
  BitWriter& writeSigned(int32_t value, int bits);
  // 16.16 fixed point, as signed bits.
  BitWriter& writeFixed(double value, int bits);
  BitWriter& align();
  // The bytes so far, with the last partial byte padded.
  Bytes bytes() const;

  // Smallest widths that hold a value.
  static int unsignedBits(uint32_t value);
  static int signedBits(int32_t value);
  static int32_t toFixed(double value);

 private:
  Bytes bytes_;
  int bitsUsed_ = 0;  // in the last byte, 0 = no partial byte
};

}  // namespace mvqtest
