#include "tag_reader.h"

namespace swf {

bool TagReader::next(TagRecord& out) {
  if (size_ - pos_ < 2) return false;
  uint16_t header = uint16_t(data_[pos_] | data_[pos_ + 1] << 8);
  pos_ += 2;
  size_t length = header & 0x3F;
  if (length == 0x3F) {
    if (size_ - pos_ < 4) return false;
    length = size_t(data_[pos_]) | size_t(data_[pos_ + 1]) << 8 | size_t(data_[pos_ + 2]) << 16 |
             size_t(data_[pos_ + 3]) << 24;
    pos_ += 4;
  }
  size_t available = size_ - pos_;
  if (length > available) length = available;
  out.code = TagCode(header >> 6);
  out.body = data_ + pos_;
  out.length = length;
  pos_ += length;
  return true;
}

}  // namespace swf
