// One JPEG Huffman table (DHT): canonical codes up to 16 bits, read through a
// 9-bit lookup for the short codes that make up most of any scan.
#pragma once

#include <cstddef>
#include <cstdint>

#include "jpeg_bit_reader.h"

namespace swf {

class JpegHuffmanTable {
 public:
  // counts[i]: how many codes have length i + 1; values: the symbols in code
  // order. False when the counts overflow the code space or exceed 256 symbols.
  bool build(const uint8_t counts[16], const uint8_t* values, size_t valueCount);
  bool defined() const { return defined_; }

  // The next symbol, or -1 for a code the table does not hold.
  int decode(JpegBitReader& reader) const;

 private:
  static constexpr int kLookupBits = 9;

  bool defined_ = false;
  uint8_t lookupLength_[1 << kLookupBits] = {};  // 0: longer than kLookupBits
  uint8_t lookupSymbol_[1 << kLookupBits] = {};
  int32_t maxCode_[17] = {};    // largest code of each length, -1 if none
  int32_t valueBase_[17] = {};  // index into values_ minus the first code of each length
  uint8_t values_[256] = {};
};

}  // namespace swf
