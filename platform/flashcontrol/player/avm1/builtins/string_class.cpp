// String: the methods work on UTF-16 units (bytes before version 6).
#include <cmath>

#include "../array_object.h"
#include "../text.h"
#include "../vm.h"
#include "builtins.h"

namespace swf {
namespace avm1 {
namespace {

std::u16string unitsOf(Vm& vm, const Value& self) {
  Object* o = self.asObject();
  std::string s = o && o->primitive.isString() ? o->primitive.text : vm.toString(self);
  return toUnits(s, vm.version());
}

Value textValue(Vm& vm, const std::u16string& s) { return Value(fromUnits(s, vm.version())); }

// Positions and lengths pass through a 32-bit integer, so 2^32 + 1 is 1.
double position(Vm& vm, const Value& v) { return double(vm.toInt32(v)); }

// An index argument clamped to [0, n]; negative ones count from the end
// where `fromEnd` says so.
size_t clampIndex(double v, size_t n, bool fromEnd) {
  if (std::isnan(v)) return 0;
  if (v < 0) v = fromEnd ? std::max(0.0, double(n) + std::ceil(v)) : 0.0;
  return size_t(std::min(std::floor(v), double(n)));
}

Value charAt(Vm& vm, const Value& self, const Args& args) {
  std::u16string s = unitsOf(vm, self);
  double i = position(vm, arg(args, 0));
  if (i < 0 || i >= double(s.size())) return Value(std::string());
  return textValue(vm, s.substr(size_t(i), 1));
}

Value charCodeAt(Vm& vm, const Value& self, const Args& args) {
  std::u16string s = unitsOf(vm, self);
  double i = position(vm, arg(args, 0));
  // Before version 6 a position past the end reads as unit 0.
  if (i >= double(s.size()) && vm.version() < 6) return Value(0);
  if (i < 0 || i >= double(s.size())) return Value(std::nan(""));
  return Value(double(s[size_t(i)]));
}

Value indexOf(Vm& vm, const Value& self, const Args& args) {
  if (args.empty()) return Value();
  std::u16string s = unitsOf(vm, self);
  std::u16string what = toUnits(vm.toString(arg(args, 0)), vm.version());
  double start = args.size() > 1 ? position(vm, args[1]) : 0;
  if (start < 0) start = 0;
  if (start > double(s.size())) return Value(-1);
  size_t at = s.find(what, size_t(start));
  return Value(at == std::u16string::npos ? -1.0 : double(at));
}

Value lastIndexOf(Vm& vm, const Value& self, const Args& args) {
  if (args.empty()) return Value();
  std::u16string s = unitsOf(vm, self);
  std::u16string what = toUnits(vm.toString(arg(args, 0)), vm.version());
  size_t from = std::u16string::npos;
  if (args.size() > 1 && !args[1].isUndefined()) {
    double f = position(vm, args[1]);
    if (f < 0) return Value(-1);
    from = size_t(std::min(f, double(s.size())));
  }
  size_t at = s.rfind(what, from);
  return Value(at == std::u16string::npos ? -1.0 : double(at));
}

Value slice(Vm& vm, const Value& self, const Args& args) {
  if (args.empty()) return Value();
  std::u16string s = unitsOf(vm, self);
  size_t n = s.size();
  size_t start = clampIndex(position(vm, arg(args, 0)), n, true);
  size_t end = args.size() > 1 && !args[1].isUndefined() ? clampIndex(position(vm, args[1]), n, true) : n;
  return textValue(vm, start < end ? s.substr(start, end - start) : std::u16string());
}

Value substring(Vm& vm, const Value& self, const Args& args) {
  if (args.empty()) return Value();
  std::u16string s = unitsOf(vm, self);
  size_t n = s.size();
  size_t start = clampIndex(position(vm, arg(args, 0)), n, false);
  size_t end = args.size() > 1 && !args[1].isUndefined() ? clampIndex(position(vm, args[1]), n, false) : n;
  if (start > end) std::swap(start, end);
  return textValue(vm, s.substr(start, end - start));
}

Value substr(Vm& vm, const Value& self, const Args& args) {
  if (args.empty()) return Value();
  std::u16string s = unitsOf(vm, self);
  size_t n = s.size();
  size_t start = clampIndex(position(vm, arg(args, 0)), n, true);
  double len = args.size() > 1 && !args[1].isUndefined() ? position(vm, args[1]) : double(n);
  if (len < 0) {
    // A negative length counts back from the end of the whole string, and
    // gives nothing when that reaches the last unit.
    len = std::max(0.0, double(n) + len);
    if (double(start) + len >= double(n)) len = 0;
  }
  len = std::min(len, double(n - start));
  return textValue(vm, s.substr(start, size_t(len)));
}

Value split(Vm& vm, const Value& self, const Args& args) {
  std::u16string s = unitsOf(vm, self);
  ArrayObject* out = vm.newArray();
  double limit = args.size() > 1 && !args[1].isUndefined() ? vm.toNumber(args[1]) : 4294967295.0;
  // From version 6 no separator, or an empty text cut by one, gives the
  // whole text whatever the limit.
  const bool newer = vm.version() >= 6;
  const bool noSeparator = args.empty() || args[0].isUndefined();
  if (noSeparator && newer) {
    out->push(textValue(vm, s));
    return Value(out);
  }
  // Before version 6 no separator cuts at commas.
  std::string sepText = noSeparator ? std::string(",") : vm.toString(args[0]);
  if (newer && s.empty() && !sepText.empty()) {
    out->push(textValue(vm, s));
    return Value(out);
  }
  if (!(limit >= 1)) return Value(out);
  std::u16string sep = toUnits(sepText, vm.version());
  if (sep.empty()) {
    // An empty separator splits into units (versions before 6 give the whole).
    if (vm.version() < 6) {
      out->push(textValue(vm, s));
      return Value(out);
    }
    for (size_t i = 0; i < s.size() && out->length() < limit; ++i) out->push(textValue(vm, s.substr(i, 1)));
    return Value(out);
  }
  size_t start = 0;
  while (out->length() < limit) {
    size_t at = s.find(sep, start);
    if (at == std::u16string::npos) {
      out->push(textValue(vm, s.substr(start)));
      break;
    }
    out->push(textValue(vm, s.substr(start, at - start)));
    start = at + sep.size();
  }
  return Value(out);
}

Value changeCase(Vm& vm, const Value& self, bool upper) {
  std::u16string s = unitsOf(vm, self);
  for (char16_t& c : s) {
    if (upper && ((c >= 'a' && c <= 'z') || (c >= 0xE0 && c <= 0xFE && c != 0xF7))) c = char16_t(c - 32);
    if (!upper && ((c >= 'A' && c <= 'Z') || (c >= 0xC0 && c <= 0xDE && c != 0xD7))) c = char16_t(c + 32);
  }
  return textValue(vm, s);
}

Value stringValue(Vm& vm, const Value& self) {
  Object* o = self.asObject();
  if (o && o->primitive.isString()) return o->primitive;
  return self.isString() ? self : Value(vm.toString(self));
}

}  // namespace

void installStringClass(Vm& vm) {
  Object* proto = vm.stringPrototype();
  NativeFunction* ctor = vm.defineClass(
      "String", proto,
      [](Vm& vm, const Value&, const Args& args) -> Value {
        return Value(args.empty() ? std::string() : vm.toString(args[0]));
      },
      [](Vm& vm, const Value& self, const Args& args) -> Value {
        if (Object* o = self.asObject()) {
          o->primitive = Value(args.empty() ? std::string() : vm.toString(args[0]));
          // A movie may write over it, never delete it.
          o->define("length", Value(double(toUnits(o->primitive.text, vm.version()).size())), DontEnum | DontDelete);
        }
        return Value();
      });
  vm.defineMethod(ctor, "fromCharCode", [](Vm& vm, const Value&, const Args& args) -> Value {
    std::u16string s;
    for (const Value& v : args) {
      uint32_t c = uint32_t(vm.toInt32(v)) & 0xFFFF;
      if (c == 0) break;
      s.push_back(char16_t(c));
    }
    return textValue(vm, s);
  });
  vm.defineMethod(proto, "toString", [](Vm& vm, const Value& self, const Args&) { return stringValue(vm, self); });
  vm.defineMethod(proto, "valueOf", [](Vm& vm, const Value& self, const Args&) { return stringValue(vm, self); });
  vm.defineMethod(proto, "charAt", charAt);
  vm.defineMethod(proto, "charCodeAt", charCodeAt);
  vm.defineMethod(proto, "concat", [](Vm& vm, const Value& self, const Args& args) -> Value {
    std::string s = vm.toString(stringValue(vm, self));
    for (const Value& v : args) s += vm.toString(v);
    return Value(s);
  });
  vm.defineMethod(proto, "indexOf", indexOf);
  vm.defineMethod(proto, "lastIndexOf", lastIndexOf);
  vm.defineMethod(proto, "slice", slice);
  vm.defineMethod(proto, "substring", substring);
  vm.defineMethod(proto, "substr", substr);
  vm.defineMethod(proto, "split", split);
  vm.defineMethod(proto, "toUpperCase",
                  [](Vm& vm, const Value& self, const Args&) { return changeCase(vm, self, true); });
  vm.defineMethod(proto, "toLowerCase",
                  [](Vm& vm, const Value& self, const Args&) { return changeCase(vm, self, false); });
}

}  // namespace avm1
}  // namespace swf
