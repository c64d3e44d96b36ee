// Writes font, static text and text field tags for the player's tests.
// Glyphs are filled rectangles in em units (y down, baseline at 0), so the
// tests know exactly where each one must ink.
#pragma once

#include <cstdint>
#include <optional>
#include <string>
#include <vector>

#include "swf_builder.h"

namespace playertest {

using mvqtest::Bytes;

struct GlyphBox {
  int32_t x0, y0, x1, y1;  // em units; an empty box writes a glyph without edges
};

struct FontDraft {
  uint16_t id = 1;
  int version = 2;  // 1: DefineFont (codes from a DefineFontInfo), 2 or 3: DefineFont2/3
  std::string name = "Test";
  bool bold = false, italic = false;
  std::vector<GlyphBox> glyphs;
  std::vector<uint16_t> codes;
  bool layout = true;
  std::vector<int16_t> advances;
  int16_t ascent = 0, descent = 0, leading = 0;

  uint16_t tagCode() const;
  Bytes body() const;
  // DefineFontInfo (1) or DefineFontInfo2 (2) giving this font's name and codes.
  Bytes infoBody(int infoVersion) const;
};

struct TextRecordDraft {
  std::optional<uint16_t> font;
  uint16_t height = 0;  // written with the font
  std::optional<mvqtest::Rgba> color;
  std::optional<int16_t> x, y;
  std::vector<std::pair<uint32_t, int32_t>> glyphs;  // index, advance
};

// DefineText (version 1, RGB) or DefineText2 (RGBA).
Bytes staticTextBody(uint16_t id, const mvqtest::Rect& bounds, const mvqtest::Matrix& matrix,
                     const std::vector<TextRecordDraft>& records, int version = 2);

struct EditTextDraft {
  uint16_t id = 2;
  mvqtest::Rect bounds = mvqtest::Rect::twips(0, 0, 2000, 400);
  bool wordWrap = false, multiline = false, password = false, readOnly = true;
  bool autoSize = false, border = false, html = false, useOutlines = true;
  std::optional<uint16_t> font;
  uint16_t height = 240;
  std::optional<mvqtest::Rgba> color;
  std::optional<uint8_t> align;  // with the margins, indent and leading
  uint16_t leftMargin = 0, rightMargin = 0, indent = 0;
  int16_t leading = 0;
  std::string variable;
  std::optional<std::string> text;

  Bytes body() const;
};

}  // namespace playertest
