// TextFormat: a plain holder of text attributes. The constructor takes
// them in the documented order; attributes not given are null.
#include <cmath>

#include "../vm.h"
#include "builtins.h"

namespace swf {
namespace avm1 {
namespace {

enum class Kind { Text, Number, Flag, Align, Any };

struct Attribute {
  const char* name;
  Kind kind;
};

// Constructor arguments first, in their order.
const Attribute kAttributes[] = {
    {"font", Kind::Text},        {"size", Kind::Number},       {"color", Kind::Number},
    {"bold", Kind::Flag},        {"italic", Kind::Flag},       {"underline", Kind::Flag},
    {"url", Kind::Text},         {"target", Kind::Text},       {"align", Kind::Align},
    {"leftMargin", Kind::Number}, {"rightMargin", Kind::Number}, {"indent", Kind::Number},
    {"leading", Kind::Number},   {"blockIndent", Kind::Number}, {"bullet", Kind::Flag},
    {"tabStops", Kind::Any},     {"kerning", Kind::Flag},      {"letterSpacing", Kind::Number},
    {"display", Kind::Text},
};
constexpr size_t kConstructorArgs = 13;

Value convert(Vm& vm, Kind kind, const Value& v) {
  if (v.isNullish()) return Value::null();
  switch (kind) {
    case Kind::Text: return Value(vm.toString(v));
    case Kind::Number: return Value(vm.toInt32(v));
    case Kind::Flag: return Value(vm.toBoolean(v));
    case Kind::Align: {
      std::string a = vm.toString(v);
      for (char& c : a) c = char(c >= 'A' && c <= 'Z' ? c - 'A' + 'a' : c);
      return a == "left" || a == "right" || a == "center" || a == "justify" ? Value(a) : Value::null();
    }
    case Kind::Any: return v;
  }
  return v;
}

}  // namespace

void installTextFormatClass(Vm& vm) {
  Object* proto = vm.newObject();
  vm.defineClass("TextFormat", proto, [](Vm& vm, const Value& self, const Args& args) -> Value {
    Object* o = self.asObject();
    if (!o) return Value();
    size_t i = 0;
    for (const Attribute& a : kAttributes) {
      o->set(a.name, i < kConstructorArgs ? convert(vm, a.kind, arg(args, i)) : Value::null());
      ++i;
    }
    return Value();
  });
  // A rough measure without fonts: about half an em per character.
  vm.defineMethod(proto, "getTextExtent", [](Vm& vm, const Value& self, const Args& args) -> Value {
    Object* o = self.asObject();
    double size = o ? vm.toNumber(o->get("size")) : 12;
    if (!(size > 0)) size = 12;
    double chars = double(vm.toString(arg(args, 0)).size());
    Object* out = vm.newObject();
    out->set("width", Value(std::floor(chars * size / 2)));
    out->set("height", Value(std::floor(size * 1.15)));
    out->set("ascent", Value(std::floor(size * 0.9)));
    out->set("descent", Value(std::floor(size * 0.25)));
    out->set("textFieldWidth", Value(std::floor(chars * size / 2) + 4));
    out->set("textFieldHeight", Value(std::floor(size * 1.15) + 4));
    return Value(out);
  });
}

}  // namespace avm1
}  // namespace swf
