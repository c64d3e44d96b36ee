// The movie's text definitions: fonts into the font catalog, static text laid
// out at once (its fonts come before it), text fields kept for each placement.
#include <memory>

#include "../tags/edit_text_parser.h"
#include "../tags/font_parser.h"
#include "../tags/text_parser.h"
#include "../text/static_text_layout.h"
#include "movie.h"

namespace swf {

bool Movie::defineTextTag(const TagRecord& tag) {
  switch (tag.code) {
    case TagCode::DefineFont:
    case TagCode::DefineFont2:
    case TagCode::DefineFont3: {
      auto font = std::make_shared<Font>();
      bool ok = tag.code == TagCode::DefineFont
                    ? parseDefineFont(tag.body, tag.length, *font)
                    : parseDefineFont2(tag.body, tag.length, tag.code == TagCode::DefineFont3 ? 3 : 2, *font);
      if (ok) fonts_.add(std::move(font));
      return true;
    }
    case TagCode::DefineFontInfo:
    case TagCode::DefineFontInfo2: {
      int id = fontInfoTarget(tag.body, tag.length);
      Font* font = id >= 0 ? fonts_.byId(uint16_t(id)) : nullptr;
      if (font) applyFontInfo(tag.body, tag.length, tag.code == TagCode::DefineFontInfo2 ? 2 : 1, *font);
      return true;
    }
    case TagCode::DefineText:
    case TagCode::DefineText2: {
      StaticText text;
      if (!parseStaticText(tag.body, tag.length, tag.code == TagCode::DefineText2 ? 2 : 1, text)) return true;
      std::shared_ptr<GlyphOutlineSource> device = deviceGlyphSource();
      auto layout = std::make_shared<TextLayout>(layoutStaticText(text, fonts_, device.get()));
      layout->deviceFonts = std::move(device);
      dictionary_[text.id] = StaticTextCharacter{std::move(layout)};
      return true;
    }
    case TagCode::DefineEditText: {
      auto field = std::make_shared<EditText>();
      if (!parseEditText(tag.body, tag.length, *field)) return true;
      uint16_t id = field->id;
      dictionary_[id] = EditTextCharacter{std::move(field)};
      return true;
    }
    default: return false;
  }
}

}  // namespace swf
