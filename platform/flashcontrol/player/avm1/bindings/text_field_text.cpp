#include "text_field_text.h"

#include <algorithm>

namespace swf {
namespace avm1 {
namespace {

std::u32string withFieldBreaks(const std::u32string& s) {
  std::u32string out;
  for (size_t i = 0; i < s.size(); ++i) {
    if (s[i] == '\r' && i + 1 < s.size() && s[i + 1] == '\n') continue;
    out.push_back(s[i] == '\r' ? U'\n' : s[i]);
  }
  return out;
}

std::string encode(const TextField& f, const std::u32string& s) {
  if (f.utf8()) return encodeUtf8(s);
  std::string out;
  for (char32_t c : s) out.push_back(c < 0x100 ? char(c) : '?');
  return out;
}

}  // namespace

FormattedChars splitChars(const FormattedText& text) {
  FormattedChars out;
  for (const TextSpan& span : text) {
    out.text += span.text;
    out.formats.insert(out.formats.end(), span.text.size(), span.format);
  }
  return out;
}

FormattedText joinChars(const FormattedChars& chars) {
  FormattedText out;
  for (size_t i = 0; i < chars.text.size(); ++i) appendText(out, chars.text.substr(i, 1), chars.formats[i]);
  return out;
}

std::string scriptText(const TextField& f) {
  std::u32string all;
  for (const TextSpan& span : f.content()) all += span.text;
  std::replace(all.begin(), all.end(), U'\n', U'\r');
  return encode(f, all);
}

size_t textLength(const TextField& f) {
  size_t n = 0;
  for (const TextSpan& span : f.content()) {
    for (char32_t c : span.text) n += c > 0xFFFF && f.utf8() ? 2 : 1;
  }
  return n;
}

void setScriptText(TextField& f, const std::string& text) {
  std::u32string s = withFieldBreaks(decodeText(text, f.utf8()));
  FormattedText content;
  appendText(content, s, f.content().empty() ? f.newFormat() : f.content().front().format);
  f.setContent(std::move(content));
}

void replaceRange(TextField& f, size_t begin, size_t end, const std::string& text) {
  FormattedChars chars = splitChars(f.content());
  end = std::min(end, chars.text.size());
  begin = std::min(begin, end);
  std::u32string s = withFieldBreaks(decodeText(text, f.utf8()));
  if (!f.definition().multiline) s.erase(std::remove(s.begin(), s.end(), U'\n'), s.end());
  // Inserted text takes the format of the first character it replaces, or of the one before.
  TextFormat format = begin < chars.text.size() ? chars.formats[begin]
                      : begin > 0               ? chars.formats[begin - 1]
                                                : f.newFormat();
  chars.text.replace(begin, end - begin, s);
  chars.formats.erase(chars.formats.begin() + long(begin), chars.formats.begin() + long(end));
  chars.formats.insert(chars.formats.begin() + long(begin), s.size(), format);
  f.setContent(joinChars(chars));
}

void setTextColor(TextField& f, const Rgba& color) {
  FormattedText content = f.content();
  for (TextSpan& span : content) span.format.color = color;
  f.settings().color = color;
  TextFormat next = f.newFormat();
  next.color = color;
  f.setNewFormat(next);
  f.setContent(std::move(content));
}

}  // namespace avm1
}  // namespace swf
