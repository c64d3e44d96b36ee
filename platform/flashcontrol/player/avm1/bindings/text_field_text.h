// A field's text as scripts read and write it: paragraphs end in '\r'
// (the field keeps '\n'), positions count characters, and edits keep the
// formats of the text around them.
#pragma once

#include <string>

#include "../../text/text_field.h"

namespace swf {
namespace avm1 {

std::string scriptText(const TextField& f);
size_t textLength(const TextField& f);
void setScriptText(TextField& f, const std::string& text);
// Characters [begin, end) become text in the new-text format (replaceText).
void replaceRange(TextField& f, size_t begin, size_t end, const std::string& text);
void setTextColor(TextField& f, const Rgba& color);

// The text one character per entry, each with its format.
struct FormattedChars {
  std::u32string text;
  std::vector<TextFormat> formats;
};
FormattedChars splitChars(const FormattedText& text);
FormattedText joinChars(const FormattedChars& chars);

}  // namespace avm1
}  // namespace swf
