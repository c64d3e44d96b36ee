#include "shape_writer.h"

#include <algorithm>
#include <cstdlib>

#include "tags/tag_codes.h"

namespace playertest {
namespace {

using mvqtest::BitWriter;

void putColor(Bytes& out, const Rgba& c, bool alpha) { alpha ? mvqtest::putRgba(out, c) : mvqtest::putRgb(out, c); }

void putCount(Bytes& out, size_t n) {
  if (n < 0xFF) {
    mvqtest::putU8(out, uint32_t(n));
  } else {
    mvqtest::putU8(out, 0xFF);
    mvqtest::putU16(out, uint32_t(n));
  }
}

int bitsFor(int32_t a, int32_t b) { return std::max(BitWriter::signedBits(a), BitWriter::signedBits(b)); }

}  // namespace

FillDraft FillDraft::solid(Rgba c) {
  FillDraft f;
  f.color = c;
  return f;
}

FillDraft FillDraft::bitmapFill(uint8_t type, uint16_t bitmap, const Matrix& m) {
  FillDraft f;
  f.type = type;
  f.bitmap = bitmap;
  f.matrix = m;
  return f;
}

FillDraft FillDraft::gradient(uint8_t type, const Matrix& m, std::vector<Stop> stops, uint8_t spread) {
  FillDraft f;
  f.type = type;
  f.matrix = m;
  f.stops = std::move(stops);
  f.spread = spread;
  return f;
}

LineDraft LineDraft::solid(uint16_t width, Rgba color) {
  LineDraft l;
  l.width = width;
  l.color = color;
  return l;
}

ShapeWriter& ShapeWriter::fill(const FillDraft& f) {
  fills_.push_back(f);
  return *this;
}

ShapeWriter& ShapeWriter::line(const LineDraft& l) {
  lines_.push_back(l);
  return *this;
}

ShapeWriter& ShapeWriter::nonZero() {
  nonZero_ = true;
  return *this;
}

ShapeWriter& ShapeWriter::select(uint32_t fill0, uint32_t fill1, uint32_t line) {
  ops_.push_back(Op(Op::Select, int32_t(fill0), int32_t(fill1), int32_t(line)));
  return *this;
}

ShapeWriter& ShapeWriter::moveTo(int32_t x, int32_t y) {
  ops_.push_back(Op(Op::Move, x, y));
  penX_ = x, penY_ = y;
  return *this;
}

ShapeWriter& ShapeWriter::lineTo(int32_t x, int32_t y) {
  ops_.push_back(Op(Op::Line, x - penX_, y - penY_));
  penX_ = x, penY_ = y;
  return *this;
}

ShapeWriter& ShapeWriter::curveTo(int32_t cx, int32_t cy, int32_t x, int32_t y) {
  ops_.push_back(Op(Op::Curve, cx - penX_, cy - penY_, x - cx, y - cy));
  penX_ = x, penY_ = y;
  return *this;
}

ShapeWriter& ShapeWriter::rect(int32_t x0, int32_t y0, int32_t x1, int32_t y1) {
  return moveTo(x0, y0).lineTo(x1, y0).lineTo(x1, y1).lineTo(x0, y1).lineTo(x0, y0);
}

ShapeWriter& ShapeWriter::newStyles(const std::vector<FillDraft>& fills, const std::vector<LineDraft>& lines) {
  Op op(Op::NewStyles);
  op.fills = fills;
  op.lines = lines;
  ops_.push_back(op);
  return *this;
}

uint16_t ShapeWriter::tagCode() const {
  using swf::TagCode;
  static const TagCode kCodes[] = {TagCode::DefineShape, TagCode::DefineShape2, TagCode::DefineShape3,
                                   TagCode::DefineShape4};
  return uint16_t(kCodes[std::min(std::max(version_, 1), 4) - 1]);
}

void ShapeWriter::writeFill(Bytes& out, const FillDraft& f) const {
  mvqtest::putU8(out, f.type);
  if (f.type == 0x00) {
    putColor(out, f.color, version_ >= 3);
    return;
  }
  if (f.type >= 0x40) mvqtest::putU16(out, f.bitmap);
  BitWriter m;
  mvqtest::writeMatrix(m, f.matrix);
  mvqtest::append(out, m.bytes());
  if (f.type >= 0x40) return;
  mvqtest::putU8(out, uint32_t(f.spread << 6 | f.interpolation << 4 | (f.stops.size() & 15)));
  for (const Stop& s : f.stops) {
    mvqtest::putU8(out, s.ratio);
    putColor(out, s.color, version_ >= 3);
  }
  if (f.type == 0x13) mvqtest::putU16(out, uint32_t(int16_t(f.focal * 256)));
}

void ShapeWriter::writeLine(Bytes& out, const LineDraft& l) const {
  mvqtest::putU16(out, l.width);
  if (version_ < 4) {
    putColor(out, l.color, version_ >= 3);
    return;
  }
  BitWriter flags;
  flags.writeUnsigned(l.startCap, 2).writeUnsigned(l.join, 2).writeUnsigned(l.fill.has_value(), 1);
  flags.writeUnsigned(l.noHScale, 1).writeUnsigned(l.noVScale, 1).writeUnsigned(0, 1).writeUnsigned(0, 5);
  flags.writeUnsigned(l.noClose, 1).writeUnsigned(l.endCap, 2);
  mvqtest::append(out, flags.bytes());
  if (l.join == 2) mvqtest::putU16(out, uint32_t(int16_t(l.miterLimit * 256)));
  if (l.fill) {
    writeFill(out, *l.fill);
  } else {
    mvqtest::putRgba(out, l.color);
  }
}

void ShapeWriter::writeStyles(Bytes& out, const std::vector<FillDraft>& fills,
                              const std::vector<LineDraft>& lines) const {
  putCount(out, fills.size());
  for (const FillDraft& f : fills) writeFill(out, f);
  putCount(out, lines.size());
  for (const LineDraft& l : lines) writeLine(out, l);
}

Bytes ShapeWriter::body(uint16_t id, const mvqtest::Rect& bounds) const {
  Bytes out;
  mvqtest::putU16(out, id);
  mvqtest::append(out, mvqtest::rectBytes(bounds));
  if (version_ >= 4) {
    mvqtest::append(out, mvqtest::rectBytes(bounds));
    mvqtest::putU8(out, nonZero_ ? 0x04 : 0);
  }
  writeStyles(out, fills_, lines_);
  mvqtest::append(out, records());
  return out;
}

Bytes ShapeWriter::records() const {
  int fillBits = BitWriter::unsignedBits(uint32_t(fills_.size()));
  int lineBits = BitWriter::unsignedBits(uint32_t(lines_.size()));
  BitWriter rec;
  rec.writeUnsigned(uint32_t(fillBits), 4).writeUnsigned(uint32_t(lineBits), 4);
  for (const Op& op : ops_) {
    switch (op.kind) {
      case Op::Select:
        rec.writeUnsigned(0, 1).writeUnsigned(0x0E, 5);
        rec.writeUnsigned(uint32_t(op.a), fillBits).writeUnsigned(uint32_t(op.b), fillBits);
        rec.writeUnsigned(uint32_t(op.c), lineBits);
        break;
      case Op::Move: {
        int n = bitsFor(op.a, op.b);
        rec.writeUnsigned(0, 1).writeUnsigned(0x01, 5).writeUnsigned(uint32_t(n), 5);
        rec.writeSigned(op.a, n).writeSigned(op.b, n);
        break;
      }
      case Op::Line: {
        int n = std::max(2, bitsFor(op.a, op.b));
        rec.writeUnsigned(1, 1).writeUnsigned(1, 1).writeUnsigned(uint32_t(n - 2), 4).writeUnsigned(1, 1);
        rec.writeSigned(op.a, n).writeSigned(op.b, n);
        break;
      }
      case Op::Curve: {
        int n = std::max({2, bitsFor(op.a, op.b), bitsFor(op.c, op.d)});
        rec.writeUnsigned(1, 1).writeUnsigned(0, 1).writeUnsigned(uint32_t(n - 2), 4);
        rec.writeSigned(op.a, n).writeSigned(op.b, n).writeSigned(op.c, n).writeSigned(op.d, n);
        break;
      }
      case Op::NewStyles: {
        rec.writeUnsigned(0, 1).writeUnsigned(0x10, 5).align();
        Bytes styles;
        writeStyles(styles, op.fills, op.lines);
        for (uint8_t b : styles) rec.writeUnsigned(b, 8);
        fillBits = BitWriter::unsignedBits(uint32_t(op.fills.size()));
        lineBits = BitWriter::unsignedBits(uint32_t(op.lines.size()));
        rec.writeUnsigned(uint32_t(fillBits), 4).writeUnsigned(uint32_t(lineBits), 4);
        break;
      }
    }
  }
  rec.writeUnsigned(0, 6);
  return rec.bytes();
}

}  // namespace playertest
