// TextFormat: a holder of text attributes. Each attribute is an accessor
// of the prototype that converts what scripts store (null or undefined
// clear it); the constructor takes the first thirteen in the documented
// order.
#include <algorithm>
#include <cmath>
#include <cstdint>
#include <map>

#include "../array_object.h"
#include "../vm.h"
#include "builtins.h"

namespace swf {
namespace avm1 {
namespace {

class TextFormatObject : public Object {
 public:
  using Object::Object;
  std::map<std::string, Value> values;
  void references(std::vector<Object*>& out) const override {
    Object::references(out);
    for (const auto& entry : values) {
      if (entry.second.isObject()) out.push_back(entry.second.object);
    }
  }
};

enum class Kind { Text, Number, Real, Margin, Color, Flag, Align, Display, Stops };

struct Attribute {
  const char* name;
  Kind kind;
};

// Constructor arguments first, in their order.
const Attribute kAttributes[] = {
    {"font", Kind::Text},      {"size", Kind::Number},        {"color", Kind::Color},        {"bold", Kind::Flag},
    {"italic", Kind::Flag},    {"underline", Kind::Flag},     {"url", Kind::Text},           {"target", Kind::Text},
    {"align", Kind::Align},    {"leftMargin", Kind::Margin},  {"rightMargin", Kind::Margin}, {"indent", Kind::Number},
    {"leading", Kind::Number}, {"blockIndent", Kind::Number}, {"bullet", Kind::Flag},        {"tabStops", Kind::Stops},
    {"kerning", Kind::Flag},   {"letterSpacing", Kind::Real}, {"display", Kind::Display},
};
constexpr size_t kConstructorArgs = 13;

// Whole numbers, halves to even; what no int holds becomes its lowest.
Value wholeNumber(double n) {
  if (!std::isfinite(n) || n >= 2147483647.5 || n < -2147483648.5) return Value(double(INT32_MIN));
  return Value(std::nearbyint(n));
}

Value colorNumber(double n) {
  if (!std::isfinite(n)) return Value(0);
  double m = std::fmod(std::trunc(n), 4294967296.0);
  return Value(m < 0 ? m + 4294967296.0 : m);
}

std::string lower(std::string s) {
  for (char& c : s) c = char(c >= 'A' && c <= 'Z' ? c - 'A' + 'a' : c);
  return s;
}

Value tabStops(Vm& vm, const Value& v) {
  Object* o = v.asObject();
  if (!o) return Value(vm.newArray({wholeNumber(vm.toNumber(v))}));
  double n = vm.toNumber(o->get("length"));
  std::vector<Value> stops;
  for (uint32_t i = 0; i < n && i < 10000 && !vm.unwinding(); ++i)
    stops.push_back(wholeNumber(vm.toNumber(o->get(std::to_string(i)))));
  return Value(vm.newArray(stops));
}

// The stored value; `old` stays where the value is not one the attribute takes.
Value convert(Vm& vm, Kind kind, const Value& v, const Value& old) {
  if (kind == Kind::Display) {
    std::string d = v.isNullish() ? std::string() : vm.toString(v);
    return d == "inline" || d == "none" ? Value(d) : Value("block");
  }
  if (v.isNullish()) return Value::null();
  switch (kind) {
    case Kind::Text: return Value(vm.toString(v));
    case Kind::Number: return wholeNumber(vm.toNumber(v));
    case Kind::Real: return Value(vm.toNumber(v));
    case Kind::Margin: {
      double n = vm.toNumber(v);
      return wholeNumber(std::isnan(n) || n < 0 ? 0 : n);
    }
    case Kind::Color: return colorNumber(vm.toNumber(v));
    case Kind::Flag: return Value(vm.toBoolean(v));
    case Kind::Align: {
      std::string a = lower(vm.toString(v));
      return a == "left" || a == "right" || a == "center" || a == "justify" ? Value(a) : old;
    }
    case Kind::Stops: return tabStops(vm, v);
    case Kind::Display: break;
  }
  return v;
}

void store(Vm& vm, TextFormatObject* o, const Attribute& a, const Value& v) {
  auto it = o->values.find(a.name);
  Value old = it != o->values.end() ? it->second : Value::null();
  Value converted = convert(vm, a.kind, v, old);
  if (!vm.unwinding()) o->values[a.name] = converted;
}

void defineAccessor(Vm& vm, Object* proto, const Attribute& a) {
  const Attribute* attr = &a;
  NativeFunction* getter = vm.newFunction([attr](Vm&, const Value& self, const Args&) -> Value {
    auto* o = dynamic_cast<TextFormatObject*>(self.asObject());
    if (!o) return Value();
    auto it = o->values.find(attr->name);
    return it != o->values.end() ? it->second : Value::null();
  });
  NativeFunction* setter = vm.newFunction([attr](Vm& vm, const Value& self, const Args& args) -> Value {
    if (auto* o = dynamic_cast<TextFormatObject*>(self.asObject())) store(vm, o, *attr, arg(args, 0));
    return Value();
  });
  proto->addAccessor(a.name, getter, setter, 0);
}

}  // namespace

void installTextFormatClass(Vm& vm) {
  Object* proto = vm.newObject();
  vm.defineClass(
      "TextFormat", proto, [](Vm&, const Value&, const Args&) -> Value { return Value(); },
      [](Vm& vm, const Value& self, const Args& args) -> Value {
        Object* made = self.asObject();
        auto* o = vm.make<TextFormatObject>(made ? made->proto() : nullptr);
        if (made) {
          for (const Property& p : made->ownProperties()) o->define(p.name, p.value, p.flags);
        }
        size_t i = 0;
        for (const Attribute& a : kAttributes) {
          store(vm, o, a, i < kConstructorArgs ? arg(args, i) : Value::null());
          ++i;
        }
        return Value(o);
      });
  for (const Attribute& a : kAttributes) defineAccessor(vm, proto, a);
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
