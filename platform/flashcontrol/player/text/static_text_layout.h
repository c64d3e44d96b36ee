// A DefineText's records laid out: each glyph at its pen position on the
// record's baseline, scaled from its font's em square to the record's height.
#pragma once

#include "../tags/static_text.h"
#include "font_catalog.h"
#include "glyph_outline_source.h"
#include "text_layout.h"

namespace swf {

// Fonts without outlines (device text) are drawn from device, when given.
TextLayout layoutStaticText(const StaticText& text, const FontCatalog& fonts, GlyphOutlineSource* device);

}  // namespace swf
