// The HTML subset text fields read: p, br, b, i, u, font (face, size,
// color), a, li and textformat, with character entities. Other tags are
// skipped; unclosed tags end with the text.
#pragma once

#include <string>

#include "text_format.h"

namespace swf {

FormattedText parseHtml(const std::u32string& html, const TextFormat& base);

// The field's text as htmlText gives it back: one P per paragraph (in a
// TEXTFORMAT when it has margins or leading), FONT around its runs; text
// without a face of its own names defaultFace.
std::u32string formatHtml(const FormattedText& text, const std::string& defaultFace = std::string());

}  // namespace swf
