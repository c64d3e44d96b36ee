// Lays out a text field: paragraphs broken into lines (at spaces when words
// wrap), each line as high as its tallest font's ascent and descent plus the
// paragraph's leading, placed inside the field's 2-pixel gutter after the
// paragraph's margins and indent, aligned left, right or centre. Fields that
// size themselves take the height of their lines (and, without word wrap,
// the width of the longest), anchored by their alignment.
#pragma once

#include "../tags/edit_text.h"
#include "font_catalog.h"
#include "glyph_outline_source.h"
#include "text_format.h"
#include "text_layout.h"

namespace swf {

// The gutter between a field's box and its text: 2 pixels.
constexpr int32_t kTextGutter = 40;

// The format a field's text starts with: its font height, colour and layout.
TextFormat baseFormat(const EditText& field);

// device may be nullptr: text in device fonts then draws nothing. scroll is
// the line (from 1) to show at the top, held within 1 and maxScroll.
TextLayout layoutEditText(const EditText& field, const FormattedText& text, const FontCatalog& fonts,
                          GlyphOutlineSource* device, int scroll = 1);

// The last line that can be scrolled to the top: the one from which the
// remaining lines fit in the box.
int maxScroll(const TextLayout& layout);
// The last line wholly in the box with the layout's scroll.
int bottomScroll(const TextLayout& layout);

}  // namespace swf
