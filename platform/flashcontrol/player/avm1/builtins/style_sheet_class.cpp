// TextField.StyleSheet: named styles for HTML text. The styles live in two
// plain properties, as in the real player: `_css` holds shallow copies of
// the style objects scripts gave (setStyle, parseCSS), `_styles` the
// TextFormat `transform` made of each. Every method works through them on
// any object it is called on.
#include <cmath>
#include <cstdint>
#include <string>
#include <utility>
#include <vector>

#include "../../text/css_rules.h"
#include "../array_object.h"
#include "../number_text.h"
#include "../vm.h"
#include "builtins.h"
#include "data_load.h"

namespace swf {
namespace avm1 {
namespace {

Value copyStyle(Vm& vm, const Value& style) {
  Object* from = style.asObject();
  if (!from) return Value::null();
  Object* copy = vm.newObject();
  std::vector<std::string> names = from->enumerableNames();
  for (auto it = names.rbegin(); it != names.rend() && !vm.unwinding(); ++it) copy->set(*it, from->get(*it));
  return Value(copy);
}

// this[name], made an empty object first when it is none.
Object* table(Vm& vm, Object* self, const char* name) {
  Object* t = self->get(name).asObject();
  if (!t && !vm.unwinding()) {
    t = vm.newObject();
    self->set(name, Value(t));
  }
  return t;
}

// "#rrggbb" and nothing else.
Value parseColor(const std::string& s) {
  if (s.size() != 7 || s[0] != '#') return Value::null();
  uint32_t n = 0;
  for (size_t i = 1; i < 7; ++i) {
    char c = s[i];
    int d = c >= '0' && c <= '9'   ? c - '0'
            : c >= 'a' && c <= 'f' ? c - 'a' + 10
            : c >= 'A' && c <= 'F' ? c - 'A' + 10
                                   : -1;
    if (d < 0) return Value::null();
    n = n * 16 + uint32_t(d);
  }
  return Value(double(n));
}

// Font names apart by commas, leading blanks and empty names dropped, the
// generic families as the device fonts.
std::string parseFontFamily(const std::string& list) {
  std::string out;
  size_t start = 0;
  while (start <= list.size()) {
    size_t comma = list.find(',', start);
    if (comma == std::string::npos) comma = list.size();
    std::string name = list.substr(start, comma - start);
    name.erase(
        0, name.find_first_not_of(" \t\r\n") == std::string::npos ? name.size() : name.find_first_not_of(" \t\r\n"));
    std::string bare = name.substr(0, name.find_last_not_of(" \t\r\n") + 1);
    if (bare == "mono") name = "_typewriter";
    if (bare == "sans-serif") name = "_sans";
    if (bare == "serif") name = "_serif";
    if (!name.empty()) out += (out.empty() ? "" : ",") + name;
    start = comma + 1;
  }
  return out;
}

double leadingInt(Vm& vm, const Value& v) { return parseIntPrefix(vm.toString(v), 10, false); }

// The TextFormat a style stands for: what it does not name stays null.
Value transformStyle(Vm& vm, const Value& styleValue) {
  Object* style = vm.toObject(styleValue);
  if (!style) return Value::null();
  FunctionObject* ctor =
      vm.global()->get("TextFormat").asObject() ? vm.global()->get("TextFormat").object->asFunction() : nullptr;
  Object* tf = ctor ? ctor->construct({}).asObject() : nullptr;
  if (!tf) return Value::null();
  auto text = [&](const char* name) { return vm.toString(style->get(name)); };
  auto given = [&](const char* name, Value& out) {
    out = style->get(name);
    return vm.toBoolean(out) && !vm.unwinding();
  };
  Value v;
  Value color = parseColor(text("color"));
  if (!color.isNullish()) tf->set("color", color);
  std::string display = text("display");
  if (display == "inline" || display == "block" || display == "none") tf->set("display", Value(display));
  if (given("fontFamily", v)) tf->set("font", Value(parseFontFamily(vm.toString(v))));
  double size = leadingInt(vm, style->get("fontSize"));
  if (size > 0) tf->set("size", Value(size));
  std::string italic = text("fontStyle");
  if (italic == "italic" || italic == "normal") tf->set("italic", Value(italic == "italic"));
  std::string bold = text("fontWeight");
  if (bold == "bold" || bold == "normal") tf->set("bold", Value(bold == "bold"));
  // "true" or a whole number other than 0 (`true` itself is neither).
  Value kerning = style->get("kerning");
  double k = leadingInt(vm, kerning);
  tf->set("kerning", Value(vm.looseEquals(kerning, Value("true")) || (!std::isnan(k) && k != 0)));
  if (given("leading", v)) {
    double n = leadingInt(vm, v);
    tf->set("leading", Value(std::isnan(n) ? 0 : n));
  }
  if (given("letterSpacing", v)) tf->set("letterSpacing", Value(leadingInt(vm, v)));
  if (given("marginLeft", v)) tf->set("leftMargin", Value(leadingInt(vm, v)));
  if (given("marginRight", v)) tf->set("rightMargin", Value(leadingInt(vm, v)));
  if (given("textAlign", v)) tf->set("align", Value(vm.toString(v)));
  std::string decoration = text("textDecoration");
  if (decoration == "underline" || decoration == "none") tf->set("underline", Value(decoration == "underline"));
  if (given("textIndent", v)) {
    double n = leadingInt(vm, v);
    tf->set("indent", Value(std::isnan(n) ? 0 : n));
  }
  return Value(tf);
}

void doTransform(Vm& vm, Object* self, const std::string& name) {
  Object* styles = table(vm, self, "_styles");
  Object* css = self->get("_css").asObject();
  if (!styles || !css) return;
  Value tf = vm.callMethod(Value(self), "transform", {css->get(name)});
  if (!vm.unwinding()) styles->set(name, tf);
}

// The parsed sheet as selector -> style object; undefined when unreadable.
bool parseSheet(Vm& vm, const std::string& text, std::vector<std::pair<std::string, Object*>>& out) {
  std::vector<CssRule> rules;
  if (!parseCssRules(text, vm.version(), rules)) return false;
  for (const CssRule& rule : rules) {
    for (const std::string& selector : rule.selectors) {
      Object* style = vm.newObject();
      for (const auto& p : rule.properties) style->set(p.first, Value(p.second));
      bool replaced = false;
      for (auto& entry : out) {
        if (entry.first != selector) continue;
        entry.second = style;
        replaced = true;
      }
      if (!replaced) out.emplace_back(selector, style);
    }
  }
  return true;
}

Value parseCss(Vm& vm, const Value& self, const Args& args) {
  Object* o = self.asObject();
  if (!o) return Value();
  std::vector<std::pair<std::string, Object*>> sheet;
  if (!parseSheet(vm, vm.toString(arg(args, 0)), sheet)) return Value(false);
  Object* css = table(vm, o, "_css");
  for (const auto& entry : sheet) {
    if (!css || vm.unwinding()) break;
    css->set(entry.first, Value(entry.second));
    doTransform(vm, o, entry.first);
  }
  if (!vm.unwinding()) vm.callMethod(self, "update", {});
  return Value(true);
}

using Method = Value (*)(Vm&, Object*, const Args&);

void method(Vm& vm, Object* proto, const char* name, Method m, uint16_t flags) {
  vm.defineMethod(
      proto, name,
      [m](Vm& vm, const Value& self, const Args& args) -> Value {
        Object* o = self.asObject();
        return o ? m(vm, o, args) : Value();
      },
      flags);
}

void installMethods(Vm& vm, Object* proto, uint16_t flags) {
  method(
      vm, proto, "_copy", [](Vm& vm, Object*, const Args& a) { return copyStyle(vm, arg(a, 0)); }, flags);
  method(
      vm, proto, "clear",
      [](Vm& vm, Object* self, const Args&) {
        self->set("_css", Value(vm.newObject()));
        self->set("_styles", Value(vm.newObject()));
        vm.callMethod(Value(self), "update", {});
        return Value();
      },
      flags);
  method(
      vm, proto, "doTransform",
      [](Vm& vm, Object* self, const Args& a) {
        doTransform(vm, self, vm.toString(arg(a, 0)));
        return Value();
      },
      flags);
  method(
      vm, proto, "getStyle",
      [](Vm& vm, Object* self, const Args& a) {
        Object* css = self->get("_css").asObject();
        return copyStyle(vm, css ? css->get(vm.toString(arg(a, 0))) : Value());
      },
      flags);
  method(
      vm, proto, "getStyleNames",
      [](Vm& vm, Object* self, const Args&) {
        std::vector<Value> names;
        if (Object* css = self->get("_css").asObject()) {
          for (const std::string& n : css->enumerableNames()) names.emplace_back(n);
        }
        return Value(static_cast<Object*>(vm.newArray(names)));
      },
      flags);
  method(
      vm, proto, "load",
      [](Vm& vm, Object* self, const Args& a) {
        if (a.empty()) return Value(false);
        startDataLoad(vm, vm.toString(a[0]), self);
        return Value(true);
      },
      flags);
  method(
      vm, proto, "onData",
      [](Vm& vm, Object* self, const Args& a) {
        bool ok = !arg(a, 0).isUndefined() && vm.toBoolean(vm.callMethod(Value(self), "parseCSS", {arg(a, 0)}));
        if (!vm.unwinding()) vm.callMethod(Value(self), "onLoad", {Value(ok)});
        return Value();
      },
      flags);
  method(
      vm, proto, "onLoad", [](Vm&, Object*, const Args&) { return Value(); }, flags);
  NativeFunction* parse = vm.defineMethod(
      proto, "parse", [](Vm& vm, const Value& self, const Args& a) { return parseCss(vm, self, a); }, flags);
  proto->define("parseCSS", Value(parse), flags);
  method(
      vm, proto, "parseCSSFontFamily",
      [](Vm& vm, Object*, const Args& a) { return Value(parseFontFamily(vm.toString(arg(a, 0)))); }, flags);
  method(
      vm, proto, "parseCSSInternal",
      [](Vm& vm, Object*, const Args& a) {
        std::vector<std::pair<std::string, Object*>> sheet;
        if (!parseSheet(vm, vm.toString(arg(a, 0)), sheet)) return Value::null();
        Object* out = vm.newObject();
        for (const auto& entry : sheet) out->set(entry.first, Value(entry.second));
        return Value(out);
      },
      flags);
  method(
      vm, proto, "parseColor", [](Vm& vm, Object*, const Args& a) { return parseColor(vm.toString(arg(a, 0))); },
      flags);
  method(
      vm, proto, "setStyle",
      [](Vm& vm, Object* self, const Args& a) {
        Object* css = table(vm, self, "_css");
        if (!css) return Value();
        std::string name = vm.toString(arg(a, 0));
        css->set(name, copyStyle(vm, arg(a, 1)));
        doTransform(vm, self, name);
        if (!vm.unwinding()) vm.callMethod(Value(self), "update", {});
        return Value();
      },
      flags);
  method(
      vm, proto, "transform", [](Vm& vm, Object*, const Args& a) { return transformStyle(vm, arg(a, 0)); }, flags);
  // Fields showing the sheet take its styles when their text is set next.
  method(
      vm, proto, "update", [](Vm&, Object*, const Args&) { return Value(); }, flags);
}

}  // namespace

void installStyleSheetClass(Vm& vm, Object* textField) {
  Object* proto = vm.newObject();
  NativeFunction* ctor = vm.newFunction([](Vm&, const Value&, const Args&) { return Value(); });
  ctor->define("prototype", Value(proto), DontEnum | DontDelete);
  proto->define("constructor", Value(ctor), DontEnum);
  // Players from version 9 also make the methods read-only.
  installMethods(vm, proto, uint16_t(DontEnum | DontDelete | (vm.version() >= 9 ? ReadOnly : 0)));
  // Movies see it from version 7.
  textField->define("StyleSheet", Value(ctor), DontEnum | Version7);
}

}  // namespace avm1
}  // namespace swf
