#include "jpeg_bit_reader.h"

namespace swf {

int JpegBitReader::extend(int n) {
  if (n == 0) return 0;
  int v = int(bits(n));
  return v < (1 << (n - 1)) ? v - (1 << n) + 1 : v;
}

void JpegBitReader::fill() {
  while (count_ <= 56) {
    acc_ = (acc_ << 8) | nextByte();
    count_ += 8;
  }
}

uint8_t JpegBitReader::nextByte() {
  if (atMarker_ || pos_ >= size_) {
    ++padded_;
    return 0;
  }
  uint8_t byte = data_[pos_];
  if (byte != 0xFF) {
    ++pos_;
    return byte;
  }
  if (pos_ + 1 < size_ && data_[pos_ + 1] == 0x00) {
    pos_ += 2;
    return 0xFF;
  }
  // A marker, or a lone FF that ends the data: the scan's bits stop here.
  atMarker_ = true;
  ++padded_;
  return 0;
}

bool JpegBitReader::restart() {
  acc_ = 0;
  count_ = 0;
  padded_ = 0;
  atMarker_ = false;
  // Damaged data may leave bytes before the marker; FF FF is fill before one.
  while (pos_ + 1 < size_ && !(data_[pos_] == 0xFF && data_[pos_ + 1] != 0x00 && data_[pos_ + 1] != 0xFF)) ++pos_;
  if (pos_ + 1 >= size_ || data_[pos_ + 1] < 0xD0 || data_[pos_ + 1] > 0xD7) {
    atMarker_ = true;
    return false;
  }
  pos_ += 2;
  return true;
}

}  // namespace swf
