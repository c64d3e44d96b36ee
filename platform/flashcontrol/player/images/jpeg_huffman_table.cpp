#include "jpeg_huffman_table.h"

#include <cstring>

namespace swf {

bool JpegHuffmanTable::build(const uint8_t counts[16], const uint8_t* values, size_t valueCount) {
  defined_ = false;
  size_t total = 0;
  for (int i = 0; i < 16; ++i) total += counts[i];
  if (total > 256 || total > valueCount) return false;
  std::memcpy(values_, values, total);
  std::memset(lookupLength_, 0, sizeof lookupLength_);
  int32_t code = 0;
  int32_t index = 0;
  for (int length = 1; length <= 16; ++length) {
    int n = counts[length - 1];
    if (code + n > (1 << length)) return false;
    valueBase_[length] = index - code;
    maxCode_[length] = n ? code + n - 1 : -1;
    for (int i = 0; i < n; ++i, ++code, ++index) {
      if (length > kLookupBits) continue;
      int shift = kLookupBits - length;
      for (int fill = 0; fill < (1 << shift); ++fill) {
        lookupLength_[(code << shift) | fill] = uint8_t(length);
        lookupSymbol_[(code << shift) | fill] = values_[index];
      }
    }
    code <<= 1;
  }
  defined_ = true;
  return true;
}

int JpegHuffmanTable::decode(JpegBitReader& reader) const {
  uint32_t bits = reader.peek(16);
  uint32_t top = bits >> (16 - kLookupBits);
  if (lookupLength_[top]) {
    reader.skip(lookupLength_[top]);
    return lookupSymbol_[top];
  }
  for (int length = kLookupBits + 1; length <= 16; ++length) {
    int32_t code = int32_t(bits >> (16 - length));
    if (code <= maxCode_[length]) {
      reader.skip(length);
      return values_[valueBase_[length] + code];
    }
  }
  return -1;
}

}  // namespace swf
