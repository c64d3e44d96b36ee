// A parsed DefineEditText: the text field's box, its style and initial text.
#pragma once

#include <cstdint>
#include <string>

#include "../format/color.h"
#include "../format/rect.h"

namespace swf {

enum class TextAlign : uint8_t { Left = 0, Right = 1, Center = 2, Justify = 3 };

struct EditText {
  uint16_t id = 0;
  Rect bounds;
  bool wordWrap = false;
  bool multiline = false;
  bool password = false;
  bool readOnly = false;
  bool autoSize = false;
  bool border = false;
  // The tag's border flag draws both; scripts set them apart.
  bool background = false;
  Rgba borderColor{0, 0, 0, 255};
  Rgba backgroundColor{255, 255, 255, 255};
  bool noSelect = false;
  bool html = false;
  bool useOutlines = false;  // embedded glyphs rather than a device font
  bool hasFont = false;
  uint16_t fontId = 0;
  std::string fontClass;
  uint16_t fontHeight = 240;  // twips
  Rgba color;
  uint16_t maxLength = 0;  // 0: unlimited
  TextAlign align = TextAlign::Left;
  uint16_t leftMargin = 0;  // twips
  uint16_t rightMargin = 0;
  uint16_t indent = 0;
  int16_t leading = 0;
  std::string variableName;
  std::string initialText;
  bool hasText = false;  // the tag gives a text (perhaps empty)
};

}  // namespace swf
