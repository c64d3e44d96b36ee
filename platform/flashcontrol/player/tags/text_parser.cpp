#include "text_parser.h"

#include "../read/swf_reader.h"

namespace swf {
namespace {

// Keeps pen positions summed over a million glyphs within 32 bits.
int32_t clampAdvance(int32_t a) {
  constexpr int32_t kLimit = 1 << 11 << 10;
  return a < -kLimit ? -kLimit : (a > kLimit ? kLimit : a);
}

// Reads one TEXTRECORD onto style; false at the end marker or a damaged record.
bool readRecord(SwfReader& r, int textVersion, unsigned glyphBits, unsigned advanceBits, TextRun& style,
                size_t& glyphTotal) {
  uint8_t flags = r.u8();
  if (r.overrun() || flags == 0) return false;
  if (flags & 0x08) style.fontId = r.u16();
  if (flags & 0x04) style.color = textVersion >= 2 ? r.rgba() : r.rgb();
  if (flags & 0x01) style.x = r.s16();
  if (flags & 0x02) style.y = r.s16();
  if (flags & 0x08) style.height = r.u16();
  size_t count = r.u8();
  style.glyphs.clear();
  for (size_t i = 0; i < count && !r.overrun(); ++i) {
    GlyphEntry g;
    g.index = r.ubits(glyphBits);
    g.advance = clampAdvance(r.sbits(advanceBits));
    if (glyphTotal < kMaxTextGlyphs) {
      style.glyphs.push_back(g);
      ++glyphTotal;
    }
  }
  r.align();
  return !r.overrun();
}

}  // namespace

bool parseStaticText(const uint8_t* body, size_t length, int textVersion, StaticText& out) {
  SwfReader r(body, length);
  out = StaticText{};
  out.id = r.u16();
  if (r.overrun()) return false;
  out.bounds = r.rect();
  out.matrix = r.matrix();
  unsigned glyphBits = r.u8(), advanceBits = r.u8();
  if (r.overrun() || glyphBits > 32 || advanceBits > 32) return true;
  TextRun style;
  size_t glyphTotal = 0;
  while (readRecord(r, textVersion, glyphBits, advanceBits, style, glyphTotal)) {
    out.runs.push_back(style);
    for (const GlyphEntry& g : style.glyphs) style.x += g.advance;
  }
  return true;
}

}  // namespace swf
