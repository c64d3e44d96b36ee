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

// device may be nullptr: text in device fonts then draws nothing.
TextLayout layoutEditText(const EditText& field, const FormattedText& text, const FontCatalog& fonts,
                          GlyphOutlineSource* device);

}  // namespace swf
