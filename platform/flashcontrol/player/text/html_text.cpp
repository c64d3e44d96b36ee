#include "html_text.h"

#include <algorithm>
#include <cmath>
#include <cstdio>
#include <cstdlib>
#include <memory>
#include <vector>

namespace swf {
namespace {

std::string lower(const std::u32string& s) {
  std::string out;
  for (char32_t c : s) out.push_back(c < 0x80 ? char(c >= 'A' && c <= 'Z' ? c + 32 : c) : '?');
  return out;
}

struct Tag {
  std::string name;
  bool closing = false;
  std::vector<std::pair<std::string, std::u32string>> attributes;

  const std::u32string* attribute(const char* key) const {
    for (const auto& a : attributes) {
      if (a.first == key) return &a.second;
    }
    return nullptr;
  }
};

bool isSpace(char32_t c) { return c == ' ' || c == '\t' || c == '\n' || c == '\r'; }

// "&name;" at s[i]: the character and the length consumed, or 0.
size_t entityAt(const std::u32string& s, size_t i, char32_t& out) {
  size_t end = i + 1;
  while (end < s.size() && end - i <= 10 && s[end] != ';') ++end;
  if (end >= s.size() || s[end] != ';') return 0;
  std::string name = lower(s.substr(i + 1, end - i - 1));
  static const struct {
    const char* name;
    char32_t c;
  } kNamed[] = {{"lt", '<'}, {"gt", '>'}, {"amp", '&'}, {"quot", '"'}, {"apos", '\''}, {"nbsp", 0xA0}};
  for (const auto& e : kNamed) {
    if (name == e.name) {
      out = e.c;
      return end - i + 1;
    }
  }
  if (name.size() < 2 || name[0] != '#') return 0;
  bool hex = name[1] == 'x';
  const std::string digits = name.substr(hex ? 2 : 1);
  if (digits.empty() || digits.size() > 7) return 0;
  char* stop = nullptr;
  unsigned long v = std::strtoul(digits.c_str(), &stop, hex ? 16 : 10);
  if (*stop != '\0' || v == 0 || v > 0x10FFFF) return 0;
  out = char32_t(v);
  return end - i + 1;
}

std::u32string withEntities(const std::u32string& s) {
  std::u32string out;
  for (size_t i = 0; i < s.size(); ++i) {
    char32_t e = 0;
    size_t n = s[i] == '&' ? entityAt(s, i, e) : 0;
    out.push_back(n ? e : s[i]);
    if (n) i += n - 1;
  }
  return out;
}

// The tag between '<' and '>' (exclusive).
Tag parseTag(const std::u32string& s) {
  Tag tag;
  size_t i = 0;
  while (i < s.size() && isSpace(s[i])) ++i;
  if (i < s.size() && s[i] == '/') {
    tag.closing = true;
    ++i;
  }
  size_t start = i;
  while (i < s.size() && !isSpace(s[i]) && s[i] != '/') ++i;
  tag.name = lower(s.substr(start, i - start));
  while (i < s.size()) {
    while (i < s.size() && (isSpace(s[i]) || s[i] == '/')) ++i;
    start = i;
    while (i < s.size() && !isSpace(s[i]) && s[i] != '=') ++i;
    std::string key = lower(s.substr(start, i - start));
    while (i < s.size() && isSpace(s[i])) ++i;
    std::u32string value;
    if (i < s.size() && s[i] == '=') {
      ++i;
      while (i < s.size() && isSpace(s[i])) ++i;
      char32_t quote = i < s.size() && (s[i] == '"' || s[i] == '\'') ? s[i++] : 0;
      start = i;
      while (i < s.size() && (quote ? s[i] != quote : !isSpace(s[i]))) ++i;
      value = withEntities(s.substr(start, i - start));
      if (quote && i < s.size()) ++i;
    }
    if (!key.empty()) tag.attributes.emplace_back(key, value);
  }
  return tag;
}

int32_t pixelsToTwips(const std::u32string& v) {
  long n = std::strtol(lower(v).c_str(), nullptr, 10);
  if (n < -2000) n = -2000;
  if (n > 2000) n = 2000;
  return int32_t(n * 20);
}

// Whole and fractional pixels, within what a field draws.
double parseSpacing(const std::u32string& v) {
  double n = std::strtod(lower(v).c_str(), nullptr);
  return std::isfinite(n) ? std::max(-1000.0, std::min(1000.0, n)) : 0;
}

bool parseColor(const std::u32string& v, Rgba& out) {
  std::string s = lower(v);
  if (!s.empty() && s[0] == '#') s.erase(0, 1);
  if (s.size() != 6) return false;
  char* stop = nullptr;
  unsigned long rgb = std::strtoul(s.c_str(), &stop, 16);
  if (*stop != '\0') return false;
  out = Rgba{uint8_t(rgb >> 16), uint8_t(rgb >> 8), uint8_t(rgb), 255};
  return true;
}

TextAlign parseAlign(const std::u32string& v, TextAlign current) {
  std::string s = lower(v);
  if (s == "left") return TextAlign::Left;
  if (s == "right") return TextAlign::Right;
  if (s == "center") return TextAlign::Center;
  if (s == "justify") return TextAlign::Justify;
  return current;
}

// Sizes are pixels; "+n" and "-n" change the size in effect.
void applySize(const std::u32string& v, TextFormat& f) {
  if (v.empty()) return;
  int32_t twips = pixelsToTwips(v[0] == '+' ? v.substr(1) : v);
  int64_t size = v[0] == '+' || v[0] == '-' ? int64_t(f.size) + twips : twips;
  if (size > 0) f.size = uint32_t(size);
}

class HtmlReader {
 public:
  explicit HtmlReader(const TextFormat& base) { stack_.push_back(Open{"", base}); }

  FormattedText run(const std::u32string& html) {
    for (size_t i = 0; i < html.size(); ++i) {
      char32_t c = html[i];
      if (c == '<') {
        // Once no '>' follows, none follows any later '<' either.
        if (close_ <= i) close_ = html.find(U'>', i);
        size_t end = close_;
        if (end != std::u32string::npos) {
          handle(parseTag(html.substr(i + 1, end - i - 1)));
          i = end;
          continue;
        }
      } else if (c == '&') {
        char32_t e = 0;
        if (size_t n = entityAt(html, i, e)) {
          text(e);
          i += n - 1;
          continue;
        }
      } else if (c == '\r') {
        c = '\n';
        if (i + 1 < html.size() && html[i + 1] == '\n') ++i;
      }
      text(c);
    }
    return out_;
  }

 private:
  struct Open {
    std::string name;
    TextFormat format;
  };

  const TextFormat& format() const { return stack_.back().format; }
  void text(char32_t c) { appendText(out_, std::u32string(1, c), format()); }

  bool endsLine() const { return out_.empty() || out_.back().text.back() == '\n'; }
  void breakLine() { text('\n'); }
  // A paragraph's closing break takes the format of its last character.
  void endParagraph() {
    if (endsLine()) return breakLine();
    appendText(out_, U"\n", TextFormat(out_.back().format));
  }

  void handle(const Tag& tag) {
    if (tag.closing) {
      close(tag.name);
    } else if (tag.name == "br" || tag.name == "sbr") {
      breakLine();
    } else {
      open(tag);
    }
  }

  void open(const Tag& tag) {
    TextFormat f = format();
    const std::string& n = tag.name;
    if (n == "p" || n == "li") {
      if (!endsLine()) breakLine();
      if (const auto* a = tag.attribute("align")) f.align = parseAlign(*a, f.align);
      if (n == "li") f.bullet = true;
    } else if (n == "b") {
      f.bold = true;
    } else if (n == "i") {
      f.italic = true;
    } else if (n == "u") {
      f.underline = true;
    } else if (n == "a") {
      if (const auto* a = tag.attribute("href")) f.url = encodeUtf8(*a);
    } else if (n == "font") {
      if (const auto* a = tag.attribute("face")) f.face = encodeUtf8(*a);
      if (const auto* a = tag.attribute("size")) applySize(*a, f);
      if (const auto* a = tag.attribute("color")) parseColor(*a, f.color);
      if (const auto* a = tag.attribute("kerning")) f.kerning = std::strtol(lower(*a).c_str(), nullptr, 10) != 0;
      if (const auto* a = tag.attribute("letterspacing")) f.letterSpacing = parseSpacing(*a);
    } else if (n == "textformat") {
      if (const auto* a = tag.attribute("leftmargin")) f.leftMargin = pixelsToTwips(*a);
      if (const auto* a = tag.attribute("rightmargin")) f.rightMargin = pixelsToTwips(*a);
      if (const auto* a = tag.attribute("indent")) f.indent = pixelsToTwips(*a);
      if (const auto* a = tag.attribute("blockindent")) f.blockIndent = pixelsToTwips(*a);
      if (const auto* a = tag.attribute("leading")) f.leading = pixelsToTwips(*a);
    } else {
      return;  // unknown tags change nothing and are not closed
    }
    if (stack_.size() < kMaxNesting) stack_.push_back(Open{n, f});
  }

  void close(const std::string& name) {
    for (size_t k = stack_.size(); k-- > 1;) {
      if (stack_[k].name != name) continue;
      if (name == "p" || name == "li") endParagraph();
      stack_.resize(k);
      return;
    }
  }

  static constexpr size_t kMaxNesting = 256;
  size_t close_ = 0;
  std::vector<Open> stack_;
  FormattedText out_;
};

std::u32string ascii(const std::string& s) { return std::u32string(s.begin(), s.end()); }

std::u32string escaped(const std::u32string& s) {
  std::u32string out;
  for (char32_t c : s) {
    if (c == '<')
      out += U"&lt;";
    else if (c == '>')
      out += U"&gt;";
    else if (c == '&')
      out += U"&amp;";
    else if (c == '"')
      out += U"&quot;";
    else
      out.push_back(c);
  }
  return out;
}

const char* alignName(TextAlign a) {
  switch (a) {
    case TextAlign::Right: return "RIGHT";
    case TextAlign::Center: return "CENTER";
    case TextAlign::Justify: return "JUSTIFY";
    default: return "LEFT";
  }
}

// The FONT attributes of f, all of them or those that differ from outer.
std::u32string fontTag(const TextFormat& f, const TextFormat* outer, const std::string& defaultFace) {
  std::string face = f.face.empty() ? defaultFace : f.face;
  std::u32string s = U"<FONT";
  if (!outer || outer->face != f.face) s += U" FACE=\"" + escaped(decodeText(face, true)) + U"\"";
  char buf[64];
  if (!outer || outer->size != f.size) {
    std::snprintf(buf, sizeof buf, " SIZE=\"%u\"", unsigned(f.size / 20));
    s += ascii(buf);
  }
  if (!outer || !(outer->color == f.color)) {
    std::snprintf(buf, sizeof buf, " COLOR=\"#%02X%02X%02X\"", f.color.r, f.color.g, f.color.b);
    s += ascii(buf);
  }
  if (!outer || outer->letterSpacing != f.letterSpacing) {
    std::snprintf(buf, sizeof buf, " LETTERSPACING=\"%.15g\"", f.letterSpacing);
    s += ascii(buf);
  }
  if (!outer || outer->kerning != f.kerning) s += f.kerning ? U" KERNING=\"1\"" : U" KERNING=\"0\"";
  return s + U">";
}

bool sameFont(const TextFormat& a, const TextFormat& b) {
  return a.face == b.face && a.size == b.size && a.color == b.color && a.letterSpacing == b.letterSpacing &&
         a.kerning == b.kerning;
}

// A paragraph's margins and leading, when any is set.
std::u32string textFormatTag(const TextFormat& p) {
  std::string s;
  char buf[48];
  auto add = [&](const char* name, int32_t twips) {
    if (twips == 0) return;
    std::snprintf(buf, sizeof buf, " %s=\"%d\"", name, int(twips / 20));
    s += buf;
  };
  add("LEFTMARGIN", p.leftMargin);
  add("RIGHTMARGIN", p.rightMargin);
  add("INDENT", p.indent);
  add("BLOCKINDENT", p.blockIndent);
  add("LEADING", p.leading);
  return s.empty() ? std::u32string() : ascii("<TEXTFORMAT" + s + ">");
}

// One paragraph: its first run's FONT holds the others, each nested in a
// FONT naming what it changes; a run whose font an enclosing level has
// closes the levels inside that one.
class ParagraphWriter {
 public:
  ParagraphWriter(std::u32string& out, const std::string& defaultFace) : out_(out), face_(defaultFace) {}

  void run(const TextFormat& f, const std::u32string& text) {
    if (open_.empty()) {
      out_ += fontTag(f, nullptr, face_);
      open_.push_back(f);
    } else if (!sameFont(open_.back(), f)) {
      size_t match = open_.size();
      for (size_t i = 0; i < open_.size(); ++i) {
        if (sameFont(open_[i], f)) match = i;
      }
      size_t keep = match < open_.size() ? match + 1 : open_.size();
      while (open_.size() > keep) close();
      if (!sameFont(open_.back(), f)) {
        out_ += fontTag(f, &open_.back(), face_);
        open_.push_back(f);
      }
    }
    std::u32string s;
    if (!f.url.empty()) s += U"<A HREF=\"" + escaped(decodeText(f.url, true)) + U"\">";
    if (f.bold) s += U"<B>";
    if (f.italic) s += U"<I>";
    if (f.underline) s += U"<U>";
    s += escaped(text);
    if (f.underline) s += U"</U>";
    if (f.italic) s += U"</I>";
    if (f.bold) s += U"</B>";
    if (!f.url.empty()) s += U"</A>";
    out_ += s;
  }

  void finish() {
    while (!open_.empty()) close();
  }

 private:
  void close() {
    out_ += U"</FONT>";
    open_.pop_back();
  }

  std::u32string& out_;
  const std::string& face_;
  std::vector<TextFormat> open_;
};

}  // namespace

FormattedText parseHtml(const std::u32string& html, const TextFormat& base) { return HtmlReader(base).run(html); }

std::u32string formatHtml(const FormattedText& text, const std::string& defaultFace) {
  std::u32string out;
  const TextFormat* paragraph = nullptr;  // the open paragraph's format
  std::u32string wrapper;
  std::unique_ptr<ParagraphWriter> writer;
  auto closeParagraph = [&] {
    writer->finish();
    out += paragraph->bullet ? U"</LI>" : U"</P>";
    if (!wrapper.empty()) out += U"</TEXTFORMAT>";
    paragraph = nullptr;
  };
  for (const TextSpan& span : text) {
    for (size_t i = 0; i < span.text.size();) {
      if (!paragraph) {
        paragraph = &span.format;
        wrapper = textFormatTag(*paragraph);
        out += wrapper;
        out += paragraph->bullet ? U"<LI>" : ascii(std::string("<P ALIGN=\"") + alignName(paragraph->align) + "\">");
        writer = std::make_unique<ParagraphWriter>(out, defaultFace);
      }
      size_t end = std::min(span.text.find(U'\n', i), span.text.size());
      if (end > i) writer->run(span.format, span.text.substr(i, end - i));
      i = end;
      if (i < span.text.size()) {
        closeParagraph();
        ++i;
      }
    }
  }
  if (paragraph) closeParagraph();
  return out;
}

}  // namespace swf
