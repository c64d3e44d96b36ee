// TextFormat objects read from and written to a field's text: a read gives
// the attributes all characters of the range share (null where they
// differ); a write changes the attributes the object sets (not null), the
// paragraph ones over whole paragraphs.
#pragma once

#include "../../text/text_field.h"
#include "../object.h"

namespace swf {
namespace avm1 {

class Vm;

// A new TextFormat object for characters [begin, end).
Object* readTextFormat(Vm& vm, const TextField& f, size_t begin, size_t end);
// A TextFormat object for one format (getNewTextFormat).
Object* formatObject(Vm& vm, const TextField& f, const TextFormat& format);
void writeTextFormat(Vm& vm, TextField& f, Object* format, size_t begin, size_t end);
// The attributes format sets, onto one format (setNewTextFormat).
void applyFormatObject(Vm& vm, Object* format, TextFormat& to);

}  // namespace avm1
}  // namespace swf
