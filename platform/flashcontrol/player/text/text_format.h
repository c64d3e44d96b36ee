// Character and paragraph formats of text field text, and the text itself as
// runs that share one format. A '\n' ends a paragraph; the paragraph's
// alignment, margins, indent, leading and bullet are those of its first run.
#pragma once

#include <cstdint>
#include <string>
#include <vector>

#include "../format/color.h"
#include "../tags/edit_text.h"

namespace swf {

struct TextFormat {
  std::string face;     // empty: the field's own font
  uint32_t size = 240;  // twips
  Rgba color;
  bool bold = false;
  bool italic = false;
  bool underline = false;
  std::string url;
  TextAlign align = TextAlign::Left;
  int32_t leftMargin = 0;  // twips
  int32_t rightMargin = 0;
  int32_t indent = 0;
  int32_t blockIndent = 0;
  int32_t leading = 0;
  bool bullet = false;
  bool kerning = false;
  double letterSpacing = 0;  // pixels added after each character

  bool operator==(const TextFormat& o) const;
};

struct TextSpan {
  std::u32string text;
  TextFormat format;
};

using FormattedText = std::vector<TextSpan>;

// Appends text in format, joining the last run when the formats agree.
void appendText(FormattedText& out, const std::u32string& text, const TextFormat& format);

// Movies before version 6 store text in the system's code page (taken here
// as Latin-1); later ones in UTF-8, where a bad byte stands for itself.
std::u32string decodeText(const std::string& bytes, bool utf8);
std::string encodeUtf8(const std::u32string& text);

}  // namespace swf
