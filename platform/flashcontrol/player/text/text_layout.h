// Text as the renderer draws it: glyph outlines, each with the transform from
// its own units to the text character's twips and its colour. Rectangles
// (backgrounds, borders, underlines) are the unit square stretched.
#pragma once

#include <memory>
#include <vector>

#include "../format/color.h"
#include "../format/matrix.h"
#include "../format/rect.h"
#include "../tags/shape.h"
#include "glyph_outline_source.h"

namespace swf {

struct PlacedGlyph {
  const Shape* shape = nullptr;
  Matrix matrix;
  Rgba color;
};

// A laid-out line of a text field: from the top of its tallest glyphs to the
// bottom of their descent (twips, before scrolling).
struct TextLine {
  double top = 0;
  double bottom = 0;
};

struct TextLayout {
  std::vector<PlacedGlyph> glyphs;
  // Glyphs are cut at this box (text fields); static text is not cut.
  bool clipped = false;
  Rect clip;
  // What the text covers, in the character's twips: the DefineText's
  // bounds, or the field's box with its border.
  Rect bounds;
  // Text fields: the extent of their text (twips), margins included.
  double textWidth = 0;
  // Text fields: their box, after sizing themselves to their text.
  Rect box;
  double textHeight = 0;
  // Text fields: their lines, and the line (from 1) shown at the top.
  std::vector<TextLine> lines;
  int scroll = 1;
  // The device fonts whose outlines some glyphs show, kept while they do.
  std::shared_ptr<GlyphOutlineSource> deviceFonts;
};

// The square (0,0)-(1,1) with one fill.
const Shape& unitSquare();

// A rectangle of twips in colour, as a placed unit square.
PlacedGlyph placedRect(double x0, double y0, double x1, double y1, const Rgba& color);

}  // namespace swf
