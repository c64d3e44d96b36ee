#include "text_field.h"

#include <algorithm>

#include "edit_text_layout.h"
#include "glyph_outline_source.h"
#include "html_text.h"

namespace swf {

TextField::TextField(std::shared_ptr<const EditText> definition, const FontCatalog& fonts, int movieVersion)
    : settings_(*definition), fonts_(fonts), utf8_(movieVersion >= 6), newFormat_(baseFormat(settings_)) {
  // The field's font gives its style to the text typed or set next.
  if (const Font* font = settings_.hasFont ? fonts_.byId(settings_.fontId) : nullptr) {
    newFormat_.bold = font->bold;
    newFormat_.italic = font->italic;
  }
  if (html()) {
    setHtmlText(settings_.initialText);
  } else {
    setText(settings_.initialText);
  }
}

std::string TextField::fontName() const {
  const Font* font = settings_.hasFont ? fonts_.byId(settings_.fontId) : nullptr;
  return font && !font->name.empty() ? font->name : "Times New Roman";
}

std::string TextField::encode(const std::u32string& s) const {
  if (utf8_) return encodeUtf8(s);
  std::string out;
  for (char32_t c : s) out.push_back(c < 0x100 ? char(c) : '?');
  return out;
}

std::u32string TextField::decode(const std::string& s) const { return decodeText(s, utf8_); }

std::string TextField::text() const {
  std::u32string all;
  for (const TextSpan& span : content_) all += span.text;
  return encode(all);
}

// New text takes the format of the text it replaces (the field's own when empty).
void TextField::setText(const std::string& text) {
  TextFormat format = content_.empty() ? newFormat_ : content_.front().format;
  content_.clear();
  appendText(content_, decode(text), format);
  changed();
}

size_t TextField::length() const {
  size_t n = 0;
  for (const TextSpan& span : content_) n += span.text.size();
  return n;
}

TextField::Selection TextField::selection() const {
  size_t n = length();
  Selection s = selection_;
  s.begin = std::min(s.begin, n);
  s.end = std::min(std::max(s.end, s.begin), n);
  s.caret = std::min(s.caret, n);
  return s;
}

std::string TextField::htmlText() const {
  if (!html()) return text();
  return encode(formatHtml(content_, fontName()));
}

void TextField::setHtmlText(const std::string& html) {
  if (!this->html()) {
    setText(html);
    return;
  }
  content_ = parseHtml(decode(html), baseFormat(settings_));
  changed();
}

void TextField::setScroll(int line) {
  scroll_ = std::clamp(line, 1, maxScroll());
  changed();
}

int TextField::maxScroll() const { return swf::maxScroll(layout()); }

int TextField::bottomScroll() const { return swf::bottomScroll(layout()); }

const TextLayout& TextField::layout() const {
  if (!laidOut_) {
    std::shared_ptr<GlyphOutlineSource> device = deviceGlyphSource();
    layout_ = layoutEditText(settings_, content_, fonts_, device.get(), scroll_);
    layout_.deviceFonts = std::move(device);
    laidOut_ = true;
  }
  return layout_;
}

}  // namespace swf
