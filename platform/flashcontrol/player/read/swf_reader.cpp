#include "swf_reader.h"

namespace swf {

uint8_t SwfReader::nextByte() {
  if (pos_ >= size_) {
    overrun_ = true;
    return 0;
  }
  return data_[pos_++];
}

uint8_t SwfReader::u8() {
  align();
  return nextByte();
}

uint16_t SwfReader::u16() {
  uint16_t lo = u8();
  return uint16_t(lo | (uint16_t(u8()) << 8));
}

uint32_t SwfReader::u32() {
  uint32_t lo = u16();
  return lo | (uint32_t(u16()) << 16);
}

double SwfReader::fixed8() { return s16() / 256.0; }

void SwfReader::skip(size_t n) {
  align();
  if (n > remaining()) {
    overrun_ = true;
    pos_ = size_;
    return;
  }
  pos_ += n;
}

std::string SwfReader::string() {
  align();
  std::string s;
  while (pos_ < size_) {
    char c = char(data_[pos_++]);
    if (c == 0) return s;
    s.push_back(c);
  }
  return s;
}

uint32_t SwfReader::ubits(unsigned n) {
  uint32_t v = 0;
  for (unsigned i = 0; i < n; ++i) {
    if (bitsLeft_ == 0) {
      bitBuffer_ = nextByte();
      bitsLeft_ = 8;
    }
    --bitsLeft_;
    v = (v << 1) | ((bitBuffer_ >> bitsLeft_) & 1u);
  }
  return v;
}

int32_t SwfReader::sbits(unsigned n) {
  if (n == 0) return 0;
  uint32_t v = ubits(n);
  if (n < 32 && (v & (1u << (n - 1)))) v |= ~0u << n;
  return int32_t(v);
}

double SwfReader::fbits(unsigned n) { return sbits(n) / 65536.0; }

Rect SwfReader::rect() {
  align();
  unsigned n = ubits(5);
  Rect r;
  r.xMin = sbits(n);
  r.xMax = sbits(n);
  r.yMin = sbits(n);
  r.yMax = sbits(n);
  align();
  return r;
}

Matrix SwfReader::matrix() {
  align();
  Matrix m;
  if (flag()) {
    unsigned n = ubits(5);
    m.a = fbits(n);
    m.d = fbits(n);
  }
  if (flag()) {
    unsigned n = ubits(5);
    m.b = fbits(n);
    m.c = fbits(n);
  }
  unsigned n = ubits(5);
  m.tx = sbits(n);
  m.ty = sbits(n);
  align();
  return m;
}

ColorTransform SwfReader::colorTransform(bool withAlpha) {
  align();
  ColorTransform t;
  bool hasAdd = flag();
  bool hasMult = flag();
  unsigned n = ubits(4);
  if (hasMult) {
    t.rMult = sbits(n);
    t.gMult = sbits(n);
    t.bMult = sbits(n);
    if (withAlpha) t.aMult = sbits(n);
  }
  if (hasAdd) {
    t.rAdd = sbits(n);
    t.gAdd = sbits(n);
    t.bAdd = sbits(n);
    if (withAlpha) t.aAdd = sbits(n);
  }
  align();
  return t;
}

Rgba SwfReader::rgb() {
  Rgba c;
  c.r = u8();
  c.g = u8();
  c.b = u8();
  return c;
}

Rgba SwfReader::rgba() {
  Rgba c = rgb();
  c.a = u8();
  return c;
}

}  // namespace swf
