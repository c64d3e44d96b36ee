// The HTML subset text fields read: p, br, b, i, u, font (face, size,
// color), a, li and textformat, with character entities. Other tags are
// skipped; unclosed tags end with the text.
#pragma once

#include <string>

#include "text_format.h"

namespace swf {

FormattedText parseHtml(const std::u32string& html, const TextFormat& base);

// The field's text as htmlText gives it back: one P per paragraph, FONT
// around every run.
std::u32string formatHtml(const FormattedText& text);

}  // namespace swf
