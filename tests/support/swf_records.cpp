#include "swf_records.h"

#include <algorithm>
#include <initializer_list>

namespace mvqtest {

namespace {

int signedBitsOf(std::initializer_list<int32_t> values) {
  int bits = 0;
  for (int32_t v : values) bits = std::max(bits, BitWriter::signedBits(v));
  return bits;
}

}  // namespace

Rect Rect::twips(int32_t xmin, int32_t ymin, int32_t xmax, int32_t ymax, int nbits) {
  return Rect{xmin, xmax, ymin, ymax, nbits};
}

Rect Rect::pixels(int32_t width, int32_t height) { return Rect{0, width * 20, 0, height * 20, -1}; }

Matrix Matrix::translate(int32_t x, int32_t y) {
  Matrix m;
  m.translateX = x;
  m.translateY = y;
  return m;
}

Matrix Matrix::scale(double sx, double sy, int32_t x, int32_t y) {
  Matrix m = translate(x, y);
  m.scaleX = sx;
  m.scaleY = sy;
  return m;
}

int rectBits(const Rect& rect) {
  if (rect.nbits >= 0) return std::min(rect.nbits, 31);
  return std::min(signedBitsOf({rect.xmin, rect.xmax, rect.ymin, rect.ymax}), 31);
}

void writeRect(BitWriter& out, const Rect& rect) {
  const int bits = rectBits(rect);
  out.writeUnsigned(bits, 5);
  for (int32_t v : {rect.xmin, rect.xmax, rect.ymin, rect.ymax}) out.writeSigned(v, bits);
  out.align();
}

Bytes rectBytes(const Rect& rect) {
  BitWriter out;
  writeRect(out, rect);
  return out.bytes();
}

void writeMatrix(BitWriter& out, const Matrix& m) {
  const bool hasScale = m.scaleX != 1.0 || m.scaleY != 1.0;
  out.writeUnsigned(hasScale, 1);
  if (hasScale) {
    const int32_t sx = BitWriter::toFixed(m.scaleX), sy = BitWriter::toFixed(m.scaleY);
    const int bits = signedBitsOf({sx, sy});
    out.writeUnsigned(bits, 5).writeSigned(sx, bits).writeSigned(sy, bits);
  }
  const bool hasRotate = m.rotateSkew0 != 0.0 || m.rotateSkew1 != 0.0;
  out.writeUnsigned(hasRotate, 1);
  if (hasRotate) {
    const int32_t r0 = BitWriter::toFixed(m.rotateSkew0), r1 = BitWriter::toFixed(m.rotateSkew1);
    const int bits = signedBitsOf({r0, r1});
    out.writeUnsigned(bits, 5).writeSigned(r0, bits).writeSigned(r1, bits);
  }
  const int bits = signedBitsOf({m.translateX, m.translateY});
  out.writeUnsigned(bits, 5).writeSigned(m.translateX, bits).writeSigned(m.translateY, bits);
  out.align();
}

void writeColorTransform(BitWriter& out, const ColorTransform& c) {
  const bool hasAdd = c.addR || c.addG || c.addB || c.addA;
  const bool hasMult = c.multR != 256 || c.multG != 256 || c.multB != 256 || c.multA != 256;
  int bits = 0;
  if (hasMult) bits = std::max(bits, signedBitsOf({c.multR, c.multG, c.multB, c.multA}));
  if (hasAdd) bits = std::max(bits, signedBitsOf({c.addR, c.addG, c.addB, c.addA}));
  out.writeUnsigned(hasAdd, 1).writeUnsigned(hasMult, 1).writeUnsigned(bits, 4);
  if (hasMult) {
    for (int32_t v : {c.multR, c.multG, c.multB, c.multA}) out.writeSigned(v, bits);
  }
  if (hasAdd) {
    for (int32_t v : {c.addR, c.addG, c.addB, c.addA}) out.writeSigned(v, bits);
  }
  out.align();
}

void putRgb(Bytes& out, const Rgba& color) {
  putU8(out, color.r);
  putU8(out, color.g);
  putU8(out, color.b);
}

void putRgba(Bytes& out, const Rgba& color) {
  putRgb(out, color);
  putU8(out, color.a);
}

}  // namespace mvqtest
