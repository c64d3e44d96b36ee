// TextField.prototype: formats, edits and removal; and
// MovieClip.prototype.createTextField, which makes fields.
#include <cmath>

#include "../array_object.h"
#include "../builtins/builtins.h"
#include "../vm.h"
#include "text_field_format.h"
#include "text_field_object.h"
#include "text_field_text.h"

namespace swf {
namespace avm1 {
namespace {

TextFieldTarget* fieldOf(const Value& self) {
  auto* o = dynamic_cast<TextFieldObject*>(self.asObject());
  return o ? o->target() : nullptr;
}

using Method = Value (*)(Vm&, TextFieldTarget*, const Args&);

void method(Vm& vm, Object* proto, const char* name, Method m) {
  vm.defineMethod(proto, name, [m](Vm& vm, const Value& self, const Args& args) -> Value {
    TextFieldTarget* t = fieldOf(self);
    return t ? m(vm, t, args) : Value();
  });
}

// A character position from script: whole numbers, negative is none.
bool position(Vm& vm, const Value& v, size_t& out) {
  double n = vm.toNumber(v);
  if (std::isnan(n) || n < 0) return false;
  out = size_t(std::min(n, 1e9));
  return true;
}

// (), (index) or (begin, end): the characters a format call covers.
bool range(Vm& vm, const Args& args, size_t count, size_t& begin, size_t& end) {
  begin = 0;
  end = SIZE_MAX;
  if (count == 0) return true;
  if (!position(vm, arg(args, 0), begin)) return false;
  if (count == 1) {
    end = begin + 1;
    return true;
  }
  return position(vm, arg(args, 1), end);
}

Value getTextFormat(Vm& vm, TextFieldTarget* t, const Args& args) {
  size_t begin = 0, end = 0;
  if (!range(vm, args, std::min<size_t>(args.size(), 2), begin, end))
    return Value(readTextFormat(vm, t->field(), 0, 0));
  return Value(readTextFormat(vm, t->field(), begin, end));
}

// The format comes last: (format), (index, format), (begin, end, format).
Value setTextFormat(Vm& vm, TextFieldTarget* t, const Args& args) {
  if (args.empty()) return Value();
  Object* format = args.back().asObject();
  if (!format) return Value();
  size_t begin = 0, end = 0;
  if (!range(vm, args, std::min<size_t>(args.size() - 1, 2), begin, end)) return Value();
  writeTextFormat(vm, t->field(), format, begin, end);
  return Value();
}

Value replaceText(Vm& vm, TextFieldTarget* t, const Args& args) {
  size_t begin = 0, end = 0;
  if (!position(vm, arg(args, 0), begin) || !position(vm, arg(args, 1), end) || end < begin) return Value();
  replaceRange(t->field(), begin, end, vm.toString(arg(args, 2)));
  t->textChanged();
  return Value();
}

// The selection (a caret at the start when nothing chose one) gives way to
// the text; the caret goes after it.
Value replaceSelection(Vm& vm, TextFieldTarget* t, const Args& args) {
  if (args.empty()) return Value();
  TextField& f = t->field();
  TextField::Selection s = f.selection();
  size_t before = f.length();
  replaceRange(f, s.begin, s.end, vm.toString(args[0]));
  size_t at = s.begin + (f.length() + (s.end - s.begin) - before);
  f.setSelection({at, at, at});
  t->textChanged();
  return Value();
}

void installFieldMethods(Vm& vm, Object* proto) {
  method(vm, proto, "getTextFormat", getTextFormat);
  method(vm, proto, "setTextFormat", setTextFormat);
  method(vm, proto, "getNewTextFormat", [](Vm& vm, TextFieldTarget* t, const Args&) {
    return Value(formatObject(vm, t->field(), t->field().newFormat()));
  });
  method(vm, proto, "setNewTextFormat", [](Vm& vm, TextFieldTarget* t, const Args& a) {
    if (Object* format = arg(a, 0).asObject()) {
      TextFormat next = t->field().newFormat();
      applyFormatObject(vm, format, next);
      t->field().setNewFormat(next);
    }
    return Value();
  });
  method(vm, proto, "replaceText", replaceText);
  // Players see replaceText from version 7 only.
  proto->changeFlags("replaceText", Version7, 0);
  method(vm, proto, "replaceSel", replaceSelection);
  method(vm, proto, "removeTextField", [](Vm&, TextFieldTarget* t, const Args&) {
    t->removeSelf();
    return Value();
  });
  method(vm, proto, "getDepth", [](Vm&, TextFieldTarget* t, const Args&) { return Value(double(t->depth())); });
}

}  // namespace

void installTextFieldClass(Vm& vm) {
  Object* proto = vm.newObject();
  NativeFunction* ctor = vm.defineClass("TextField", proto, [](Vm&, const Value&, const Args&) { return Value(); });
  installFieldMethods(vm, proto);
  vm.global()->changeFlags("TextField", Version6, 0);
  installStyleSheetClass(vm, ctor);
  vm.defineMethod(ctor, "getFontList", [](Vm& vm, const Value&, const Args&) -> Value {
    return Value(vm.newArray({Value("_sans"), Value("_serif"), Value("_typewriter")}));
  });
  if (Object* clips = vm.classPrototype("MovieClip")) {
    vm.defineMethod(clips, "createTextField", [](Vm& vm, const Value& self, const Args& a) -> Value {
      Object* o = self.asObject();
      ActionTarget* parent = o ? o->clip() : nullptr;
      if (!parent || dynamic_cast<TextFieldObject*>(o)) return Value();
      double box[4];
      for (size_t i = 0; i < 4; ++i) box[i] = vm.toNumber(arg(a, i + 2));
      ActionTarget* made = parent->createTextField(vm.toString(arg(a, 0)), vm.toInt32(arg(a, 1)), box);
      // Players before version 8 return nothing.
      if (!made || vm.version() < 8) return Value();
      return made->scriptObject() ? Value(made->scriptObject()) : Value();
    });
  }
}

}  // namespace avm1
}  // namespace swf
