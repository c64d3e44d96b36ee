// A text field on the stage: its definition and the text it shows now. The
// script engine reads and sets the text through text()/htmlText() (strings
// in the movie's encoding: UTF-8 from version 6, Latin-1 before), and binds
// the field's variable by variableName().
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

  const EditText& definition() const { return *definition_; }
  const std::string& variableName() const { return definition_->variableName; }
  bool html() const { return definition_->html; }

  std::string text() const;
  void setText(const std::string& text);
  // Fields that are not HTML fields take HTML as plain text, as the real player does.
  std::string htmlText() const;
  void setHtmlText(const std::string& html);

  // Laid out on first use after a change, with the device fonts in effect.
  const TextLayout& layout() const;

 private:
  std::string encode(const std::u32string& s) const;
  std::u32string decode(const std::string& s) const;
  void changed() { laidOut_ = false; }

  std::shared_ptr<const EditText> definition_;
  const FontCatalog& fonts_;
  bool utf8_;
  FormattedText content_;
  mutable TextLayout layout_;
  mutable bool laidOut_ = false;
};

}  // namespace swf
