#include "swf_layout.h"

namespace swf {

namespace {

// Most significant bit first; reads past the end give zero bits.
class BitReader {
 public:
  BitReader(const uint8_t* bytes, size_t size) : bytes_(bytes), size_(size) {}

  uint32_t read(unsigned bits) {
    uint32_t value = 0;
    for (unsigned i = 0; i < bits; ++i, ++bit_) {
      const size_t byte = bit_ / 8;
      const uint32_t b = byte < size_ ? (bytes_[byte] >> (7 - bit_ % 8)) & 1u : 0u;
      value = value << 1 | b;
    }
    return value;
  }

 private:
  const uint8_t* bytes_;
  size_t size_;
  size_t bit_ = 0;
};

}  // namespace

StageRect decodeStageRect(const uint8_t* bytes, size_t size) {
  BitReader in(bytes, size);
  const unsigned nbits = in.read(5);
  StageRect r;
  r.xmin = in.read(nbits);
  r.xmax = in.read(nbits);
  r.ymin = in.read(nbits);
  r.ymax = in.read(nbits);
  r.size = (4 * nbits + 12) / 8;
  return r;
}

}  // namespace swf
