#include "font_parser.h"

#include <algorithm>

#include "../read/swf_reader.h"
#include "shape_parser.h"

namespace swf {
namespace {

// Glyph i runs from its offset to the next one's (the last one to end);
// offsets count from the offset table's start. Bad offsets give empty glyphs.
void readGlyphs(const uint8_t* table, size_t tableSize, const std::vector<uint32_t>& offsets, uint32_t end, Font& out) {
  out.glyphs.resize(offsets.size());
  end = std::min<uint32_t>(end, uint32_t(std::min<size_t>(tableSize, UINT32_MAX)));
  for (size_t i = 0; i < offsets.size(); ++i) {
    uint32_t from = offsets[i];
    uint32_t to = i + 1 < offsets.size() ? offsets[i + 1] : end;
    if (from < to && to <= end) parseGlyphShape(table + from, to - from, out.glyphs[i]);
    out.hasOutlines = out.hasOutlines || !out.glyphs[i].edges.empty();
  }
}

std::string readName(SwfReader& r) {
  size_t n = r.u8();
  std::string name;
  for (size_t i = 0; i < n && !r.overrun(); ++i) name.push_back(char(r.u8()));
  // Names written by some tools carry their C terminator.
  while (!name.empty() && name.back() == '\0') name.pop_back();
  return name;
}

}  // namespace

bool parseDefineFont(const uint8_t* body, size_t length, Font& out) {
  if (length < 2) return false;
  out = Font{};
  out.id = uint16_t(body[0] | body[1] << 8);
  const uint8_t* table = body + 2;
  size_t tableSize = length - 2;
  SwfReader r(table, tableSize);
  uint16_t first = r.u16();
  size_t count = std::min<size_t>(first / 2, kMaxFontGlyphs);
  std::vector<uint32_t> offsets;
  offsets.push_back(first);
  for (size_t i = 1; i < count && !r.overrun(); ++i) offsets.push_back(r.u16());
  if (r.overrun() || count == 0) return true;
  readGlyphs(table, tableSize, offsets, uint32_t(std::min<size_t>(tableSize, UINT32_MAX)), out);
  return true;
}

bool parseDefineFont2(const uint8_t* body, size_t length, int fontVersion, Font& out) {
  SwfReader r(body, length);
  out = Font{};
  out.id = r.u16();
  uint8_t flags = r.u8();
  if (r.overrun()) return false;
  const bool hasLayout = flags & 0x80, wideOffsets = flags & 0x08;
  out.wideCodes = flags & 0x04;
  out.italic = flags & 0x02;
  out.bold = flags & 0x01;
  out.emSize = fontVersion >= 3 ? 20480 : 1024;
  r.u8();  // language
  out.name = readName(r);
  size_t count = r.u16();
  const size_t tableStart = r.position();
  const uint8_t* table = r.cursor();
  const size_t tableSize = r.remaining();
  std::vector<uint32_t> offsets;
  for (size_t i = 0; i < count && !r.overrun(); ++i) offsets.push_back(wideOffsets ? r.u32() : r.u16());
  uint32_t codeOffset = count == 0 && r.remaining() == 0 ? 0 : (wideOffsets ? r.u32() : r.u16());
  if (r.overrun()) return true;
  readGlyphs(table, tableSize, offsets, codeOffset, out);
  if (codeOffset > tableSize) return true;
  r = SwfReader(body, length);
  r.skip(tableStart + codeOffset);
  for (size_t i = 0; i < count; ++i) out.codes.push_back(out.wideCodes ? r.u16() : r.u8());
  out.indexCodes();
  if (r.overrun() || !hasLayout) return true;
  out.ascent = r.u16();
  out.descent = r.u16();
  out.leading = r.s16();
  for (size_t i = 0; i < count; ++i) out.advances.push_back(r.s16());
  out.hasLayout = !r.overrun();
  if (!out.hasLayout) out.advances.clear();
  return true;  // bounds and kerning are not needed
}

int fontInfoTarget(const uint8_t* body, size_t length) { return length < 2 ? -1 : int(body[0] | body[1] << 8); }

void applyFontInfo(const uint8_t* body, size_t length, int infoVersion, Font& font) {
  SwfReader r(body, length);
  r.u16();
  std::string name = readName(r);
  uint8_t flags = r.u8();
  if (infoVersion >= 2) r.u8();  // language
  if (r.overrun()) return;
  font.name = name;
  font.italic = flags & 0x04;
  font.bold = flags & 0x02;
  font.wideCodes = flags & 0x01;
  font.codes.clear();
  for (size_t i = 0; i < font.glyphs.size(); ++i) {
    uint16_t code = font.wideCodes ? r.u16() : r.u8();
    if (r.overrun()) break;
    font.codes.push_back(code);
  }
  font.indexCodes();
}

}  // namespace swf
