#include "text_writer.h"

#include <algorithm>

#include "bit_writer.h"

namespace playertest {
namespace {

using mvqtest::BitWriter;

// One style change to the box's corner naming fill 1, four straight edges, end.
Bytes glyphShape(const GlyphBox& g) {
  BitWriter w;
  w.writeUnsigned(1, 4).writeUnsigned(0, 4);
  if (g.x1 > g.x0 && g.y1 > g.y0) {
    int n =
        std::max({BitWriter::signedBits(g.x0), BitWriter::signedBits(g.y0), BitWriter::signedBits(g.x1),
                  BitWriter::signedBits(g.y1), BitWriter::signedBits(g.x1 - g.x0), BitWriter::signedBits(g.y1 - g.y0),
                  BitWriter::signedBits(g.x0 - g.x1), BitWriter::signedBits(g.y0 - g.y1), 2});
    w.writeUnsigned(0, 1).writeUnsigned(0x03, 5);  // move and fill0
    w.writeUnsigned(uint32_t(n), 5).writeSigned(g.x0, n).writeSigned(g.y0, n);
    w.writeUnsigned(1, 1);
    const int32_t steps[4][2] = {{g.x1 - g.x0, 0}, {0, g.y1 - g.y0}, {g.x0 - g.x1, 0}, {0, g.y0 - g.y1}};
    for (const auto& s : steps) {
      w.writeUnsigned(1, 1).writeUnsigned(1, 1).writeUnsigned(uint32_t(n - 2), 4).writeUnsigned(0, 1);
      bool vertical = s[0] == 0;
      w.writeUnsigned(vertical ? 1 : 0, 1).writeSigned(vertical ? s[1] : s[0], n);
    }
  }
  w.writeUnsigned(0, 6);
  return w.bytes();
}

}  // namespace

uint16_t FontDraft::tagCode() const { return version == 1 ? 10 : version == 2 ? 48 : 75; }

Bytes FontDraft::body() const {
  std::vector<Bytes> shapes;
  for (const GlyphBox& g : glyphs) shapes.push_back(glyphShape(g));
  Bytes out;
  mvqtest::putU16(out, id);
  if (version == 1) {
    uint32_t offset = uint32_t(2 * shapes.size());
    for (const Bytes& s : shapes) {
      mvqtest::putU16(out, offset);
      offset += uint32_t(s.size());
    }
    for (const Bytes& s : shapes) mvqtest::append(out, s);
    return out;
  }
  mvqtest::putU8(out, (layout ? 0x80 : 0) | 0x08 | 0x04 | (italic ? 0x02 : 0) | (bold ? 0x01 : 0));
  mvqtest::putU8(out, 0);
  mvqtest::putU8(out, uint32_t(name.size()));
  out.insert(out.end(), name.begin(), name.end());
  mvqtest::putU16(out, uint32_t(shapes.size()));
  uint32_t offset = uint32_t(4 * shapes.size() + 4);
  for (const Bytes& s : shapes) {
    mvqtest::putU32(out, offset);
    offset += uint32_t(s.size());
  }
  mvqtest::putU32(out, offset);
  for (const Bytes& s : shapes) mvqtest::append(out, s);
  for (size_t i = 0; i < shapes.size(); ++i) mvqtest::putU16(out, i < codes.size() ? codes[i] : 0);
  if (!layout) return out;
  mvqtest::putU16(out, uint16_t(ascent));
  mvqtest::putU16(out, uint16_t(descent));
  mvqtest::putU16(out, uint16_t(leading));
  for (size_t i = 0; i < shapes.size(); ++i) mvqtest::putU16(out, uint16_t(i < advances.size() ? advances[i] : 0));
  for (size_t i = 0; i < shapes.size(); ++i) mvqtest::append(out, mvqtest::rectBytes(mvqtest::Rect::twips(0, 0, 0, 0)));
  mvqtest::putU16(out, 0);  // kerning
  return out;
}

Bytes FontDraft::infoBody(int infoVersion) const {
  Bytes out;
  mvqtest::putU16(out, id);
  mvqtest::putU8(out, uint32_t(name.size()));
  out.insert(out.end(), name.begin(), name.end());
  mvqtest::putU8(out, (italic ? 0x04 : 0) | (bold ? 0x02 : 0) | 0x01);
  if (infoVersion == 2) mvqtest::putU8(out, 1);
  for (size_t i = 0; i < glyphs.size(); ++i) mvqtest::putU16(out, i < codes.size() ? codes[i] : 0);
  return out;
}

Bytes staticTextBody(uint16_t id, const mvqtest::Rect& bounds, const mvqtest::Matrix& matrix,
                     const std::vector<TextRecordDraft>& records, int version) {
  int glyphBits = 1, advanceBits = 1;
  for (const auto& r : records) {
    for (const auto& g : r.glyphs) {
      glyphBits = std::max(glyphBits, BitWriter::unsignedBits(g.first));
      advanceBits = std::max(advanceBits, BitWriter::signedBits(g.second));
    }
  }
  Bytes out;
  mvqtest::putU16(out, id);
  mvqtest::append(out, mvqtest::rectBytes(bounds));
  BitWriter m;
  mvqtest::writeMatrix(m, matrix);
  mvqtest::append(out, m.bytes());
  mvqtest::putU8(out, uint32_t(glyphBits));
  mvqtest::putU8(out, uint32_t(advanceBits));
  for (const auto& r : records) {
    mvqtest::putU8(out, 0x80 | (r.font ? 0x08 : 0) | (r.color ? 0x04 : 0) | (r.y ? 0x02 : 0) | (r.x ? 0x01 : 0));
    if (r.font) mvqtest::putU16(out, *r.font);
    if (r.color) version == 2 ? mvqtest::putRgba(out, *r.color) : mvqtest::putRgb(out, *r.color);
    if (r.x) mvqtest::putU16(out, uint16_t(*r.x));
    if (r.y) mvqtest::putU16(out, uint16_t(*r.y));
    if (r.font) mvqtest::putU16(out, r.height);
    mvqtest::putU8(out, uint32_t(r.glyphs.size()));
    BitWriter g;
    for (const auto& e : r.glyphs) g.writeUnsigned(e.first, glyphBits).writeSigned(e.second, advanceBits);
    mvqtest::append(out, g.bytes());
  }
  mvqtest::putU8(out, 0);
  return out;
}

Bytes EditTextDraft::body() const {
  Bytes out;
  mvqtest::putU16(out, id);
  mvqtest::append(out, mvqtest::rectBytes(bounds));
  mvqtest::putU8(out, (text ? 0x80 : 0) | (wordWrap ? 0x40 : 0) | (multiline ? 0x20 : 0) | (password ? 0x10 : 0) |
                          (readOnly ? 0x08 : 0) | (color ? 0x04 : 0) | (font ? 0x01 : 0));
  mvqtest::putU8(out, (autoSize ? 0x40 : 0) | (align ? 0x20 : 0) | (border ? 0x08 : 0) | (html ? 0x02 : 0) |
                          (useOutlines ? 0x01 : 0));
  if (font) {
    mvqtest::putU16(out, *font);
    mvqtest::putU16(out, height);
  }
  if (color) mvqtest::putRgba(out, *color);
  if (align) {
    mvqtest::putU8(out, *align);
    mvqtest::putU16(out, leftMargin);
    mvqtest::putU16(out, rightMargin);
    mvqtest::putU16(out, indent);
    mvqtest::putU16(out, uint16_t(leading));
  }
  mvqtest::putString(out, variable);
  if (text) mvqtest::putString(out, *text);
  return out;
}

}  // namespace playertest
