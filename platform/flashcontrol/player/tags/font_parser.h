// DefineFont, DefineFont2, DefineFont3 and DefineFontInfo/DefineFontInfo2.
#pragma once

#include <cstddef>
#include <cstdint>

#include "../text/font.h"

namespace swf {

// Glyphs beyond this many are dropped (a code table holds at most 65536).
constexpr size_t kMaxFontGlyphs = 65536;

// False when the tag is too short to name its font.
bool parseDefineFont(const uint8_t* body, size_t length, Font& out);
// fontVersion is 2 or 3.
bool parseDefineFont2(const uint8_t* body, size_t length, int fontVersion, Font& out);
// The font a DefineFontInfo names, or -1 when the tag is too short.
int fontInfoTarget(const uint8_t* body, size_t length);
// Name, style and code table of a DefineFontInfo (infoVersion 1 or 2) onto font.
void applyFontInfo(const uint8_t* body, size_t length, int infoVersion, Font& font);

}  // namespace swf
