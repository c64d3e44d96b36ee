// A text field on the stage: its settings (the definition's, as scripts
// change them) and the text it shows now. The script engine reads and sets
// the text through text()/htmlText() (strings in the movie's encoding:
// UTF-8 from version 6, Latin-1 before), and binds the field's variable by
// variableName().
#pragma once

#include <memory>
#include <string>

#include "../tags/edit_text.h"
#include "font_catalog.h"
#include "text_format.h"
#include "text_layout.h"

namespace swf {

class TextField {
 public:
  TextField(std::shared_ptr<const EditText> definition, const FontCatalog& fonts, int movieVersion);
  virtual ~TextField() = default;

  const EditText& definition() const { return settings_; }
  // Settings to change: the field is laid out again on next use.
  EditText& settings() {
    changed();
    return settings_;
  }
  const std::string& variableName() const { return settings_.variableName; }
  bool html() const { return settings_.html; }
  bool utf8() const { return utf8_; }
  // The face text without a face of its own shows: the field's font's name.
  std::string fontName() const;

  std::string text() const;
  void setText(const std::string& text);
  // Fields that are not HTML fields take HTML as plain text, as the real player does.
  std::string htmlText() const;
  void setHtmlText(const std::string& html);

  // The formatted text, as runs of one format each.
  const FormattedText& content() const { return content_; }
  void setContent(FormattedText content) {
    content_ = std::move(content);
    changed();
  }
  // The format typed or replaced text takes (setNewTextFormat).
  const TextFormat& newFormat() const { return newFormat_; }
  void setNewFormat(const TextFormat& f) { newFormat_ = f; }

  // The selected characters [begin, end) and the caret (where typing goes),
  // within the text as it is now.
  struct Selection {
    size_t begin = 0;
    size_t end = 0;
    size_t caret = 0;
  };
  Selection selection() const;
  void setSelection(const Selection& s) { selection_ = s; }
  size_t length() const;

  // Laid out on first use after a change, with the device fonts in effect.
  const TextLayout& layout() const;

  // The line (from 1) shown at the top; setting it holds it within the lines
  // the text has then, and later text may lower it.
  int scroll() const { return layout().scroll; }
  void setScroll(int line);
  int maxScroll() const;
  int bottomScroll() const;

 private:
  std::string encode(const std::u32string& s) const;
  std::u32string decode(const std::string& s) const;
  void changed() { laidOut_ = false; }

  EditText settings_;
  const FontCatalog& fonts_;
  bool utf8_;
  FormattedText content_;
  TextFormat newFormat_;
  mutable TextLayout layout_;
  mutable bool laidOut_ = false;
  Selection selection_;
  int scroll_ = 1;
};

}  // namespace swf
