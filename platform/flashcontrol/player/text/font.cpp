#include "font.h"

namespace swf {

int Font::glyphFor(uint32_t code) const {
  for (size_t i = 0; i < codes.size() && i < glyphs.size(); ++i) {
    if (codes[i] == code) return int(i);
  }
  return -1;
}

}  // namespace swf
