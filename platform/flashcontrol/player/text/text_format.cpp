#include "text_format.h"

namespace swf {

bool TextFormat::operator==(const TextFormat& o) const {
  return face == o.face && size == o.size && color == o.color && bold == o.bold && italic == o.italic &&
         underline == o.underline && url == o.url && align == o.align && leftMargin == o.leftMargin &&
         rightMargin == o.rightMargin && indent == o.indent && blockIndent == o.blockIndent && leading == o.leading &&
         bullet == o.bullet && kerning == o.kerning && letterSpacing == o.letterSpacing;
}

void appendText(FormattedText& out, const std::u32string& text, const TextFormat& format) {
  if (text.empty()) return;
  if (!out.empty() && out.back().format == format) {
    out.back().text += text;
  } else {
    out.push_back(TextSpan{text, format});
  }
}

namespace {

// The length of a well-formed UTF-8 sequence starting at s[i], or 0.
size_t sequenceAt(const std::string& s, size_t i, char32_t& cp) {
  uint8_t lead = uint8_t(s[i]);
  size_t n = lead >= 0xF0 && lead < 0xF5 ? 4 : lead >= 0xE0 ? 3 : lead >= 0xC2 && lead < 0xE0 ? 2 : 0;
  if (n == 0 || i + n > s.size()) return 0;
  cp = lead & (0x7F >> n);
  for (size_t k = 1; k < n; ++k) {
    uint8_t c = uint8_t(s[i + k]);
    if ((c & 0xC0) != 0x80) return 0;
    cp = cp << 6 | (c & 0x3F);
  }
  bool shortest = (n == 3 && cp >= 0x800) || (n == 4 && cp >= 0x10000) || n == 2;
  return shortest && cp <= 0x10FFFF && !(cp >= 0xD800 && cp < 0xE000) ? n : 0;
}

}  // namespace

std::u32string decodeText(const std::string& bytes, bool utf8) {
  std::u32string out;
  out.reserve(bytes.size());
  for (size_t i = 0; i < bytes.size();) {
    char32_t byte = uint8_t(bytes[i]), decoded = 0;
    size_t n = utf8 && byte >= 0x80 ? sequenceAt(bytes, i, decoded) : 0;
    out.push_back(n ? decoded : byte);
    i += n ? n : 1;
  }
  return out;
}

std::string encodeUtf8(const std::u32string& text) {
  std::string out;
  for (char32_t c : text) {
    if (c < 0x80) {
      out.push_back(char(c));
    } else if (c < 0x800) {
      out.push_back(char(0xC0 | c >> 6));
      out.push_back(char(0x80 | (c & 0x3F)));
    } else if (c < 0x10000) {
      out.push_back(char(0xE0 | c >> 12));
      out.push_back(char(0x80 | (c >> 6 & 0x3F)));
      out.push_back(char(0x80 | (c & 0x3F)));
    } else {
      out.push_back(char(0xF0 | c >> 18));
      out.push_back(char(0x80 | (c >> 12 & 0x3F)));
      out.push_back(char(0x80 | (c >> 6 & 0x3F)));
      out.push_back(char(0x80 | (c & 0x3F)));
    }
  }
  return out;
}

}  // namespace swf
