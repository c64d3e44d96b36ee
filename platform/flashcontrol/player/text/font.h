// A font the movie defines: glyph outlines (possibly none, for a device font
// named by the movie), the character code of each glyph and, when the movie
// gives them, the layout metrics text fields need.
#pragma once

#include <cstdint>
#include <string>
#include <unordered_map>
#include <vector>

#include "../tags/shape.h"

namespace swf {

struct Font {
  uint16_t id = 0;
  std::string name;
  bool bold = false;
  bool italic = false;
  bool wideCodes = false;
  // Glyph outlines and layout figures are in units of this square: 1024 for
  // DefineFont and DefineFont2, 20 times that for DefineFont3.
  double emSize = 1024;
  std::vector<Shape> glyphs;
  // False when no glyph has an outline: a device font the movie only names.
  bool hasOutlines = false;
  std::vector<uint16_t> codes;    // from DefineFont2/3 or DefineFontInfo
  std::vector<int16_t> advances;  // layout fonts only
  bool hasLayout = false;
  int ascent = 0;
  int descent = 0;
  int leading = 0;

  // The glyph index of a character code, or -1 (after indexCodes()).
  int glyphFor(uint32_t code) const;
  // Builds the lookup glyphFor uses; called whenever codes change.
  void indexCodes();

 private:
  std::unordered_map<uint16_t, int> byCode_;
};

}  // namespace swf
