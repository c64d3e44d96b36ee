// A parsed DefineText or DefineText2: the text's bounds and matrix, and its
// records with the style each one carries forward.
#pragma once

#include <cstdint>
#include <vector>

#include "../format/color.h"
#include "../format/matrix.h"
#include "../format/rect.h"

namespace swf {

struct GlyphEntry {
  uint32_t index = 0;
  int32_t advance = 0;  // twips
};

// A record with the style in effect for it: fields a record leaves out keep
// the previous record's values, and x continues where its glyphs ended.
struct TextRun {
  uint16_t fontId = 0;
  uint16_t height = 0;  // twips
  Rgba color;
  int32_t x = 0;
  int32_t y = 0;
  std::vector<GlyphEntry> glyphs;
};

struct StaticText {
  uint16_t id = 0;
  Rect bounds;
  Matrix matrix;
  std::vector<TextRun> runs;
};

}  // namespace swf
