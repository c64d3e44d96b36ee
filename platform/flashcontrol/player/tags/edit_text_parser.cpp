#include "edit_text_parser.h"

#include "../read/swf_reader.h"

namespace swf {

bool parseEditText(const uint8_t* body, size_t length, EditText& out) {
  SwfReader r(body, length);
  out = EditText{};
  out.id = r.u16();
  if (r.overrun()) return false;
  out.bounds = r.rect();
  uint8_t f1 = r.u8(), f2 = r.u8();
  if (r.overrun()) return true;
  const bool hasText = f1 & 0x80, hasColor = f1 & 0x04, hasMaxLength = f1 & 0x02;
  out.wordWrap = f1 & 0x40;
  out.multiline = f1 & 0x20;
  out.password = f1 & 0x10;
  out.readOnly = f1 & 0x08;
  out.hasFont = f1 & 0x01;
  const bool hasFontClass = f2 & 0x80, hasLayout = f2 & 0x20;
  out.autoSize = f2 & 0x40;
  out.border = f2 & 0x08;
  out.background = out.border;
  out.noSelect = f2 & 0x10;
  out.html = f2 & 0x02;
  out.useOutlines = f2 & 0x01;
  if (out.hasFont) out.fontId = r.u16();
  if (hasFontClass) out.fontClass = r.string();
  if (out.hasFont || hasFontClass) out.fontHeight = r.u16();
  if (hasColor) out.color = r.rgba();
  if (hasMaxLength) out.maxLength = r.u16();
  if (hasLayout) {
    uint8_t align = r.u8();
    out.align = align <= 3 ? TextAlign(align) : TextAlign::Left;
    out.leftMargin = r.u16();
    out.rightMargin = r.u16();
    out.indent = r.u16();
    out.leading = r.s16();
  }
  out.variableName = r.string();
  out.hasText = hasText;
  if (hasText) out.initialText = r.string();
  return true;
}

}  // namespace swf
