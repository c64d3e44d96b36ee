#include "font.h"

namespace swf {

int Font::glyphFor(uint32_t code) const {
  auto it = code <= 0xFFFF ? byCode_.find(uint16_t(code)) : byCode_.end();
  return it == byCode_.end() ? -1 : it->second;
}

// The first glyph of a code wins, as a scan from the start would find it.
void Font::indexCodes() {
  byCode_.clear();
  for (size_t i = 0; i < codes.size() && i < glyphs.size(); ++i) byCode_.emplace(codes[i], int(i));
}

}  // namespace swf
