#include "text_field_format.h"

#include <algorithm>
#include <cmath>

#include "../array_object.h"
#include "../vm.h"
#include "text_field_text.h"

namespace swf {
namespace avm1 {
namespace {

const char* alignName(TextAlign a) {
  switch (a) {
    case TextAlign::Right: return "right";
    case TextAlign::Center: return "center";
    case TextAlign::Justify: return "justify";
    case TextAlign::Left: break;
  }
  return "left";
}

double colorNumber(const Rgba& c) { return double((uint32_t(c.r) << 16) | (uint32_t(c.g) << 8) | c.b); }

// One attribute: read from a format as a script value, written from one.
struct Attribute {
  const char* name;
  bool paragraph;
  Value (*read)(const TextField&, const TextFormat&);
  void (*write)(Vm&, const Value&, TextFormat&);
};

double pixels(int64_t twips) { return double(twips) / 20; }
int32_t twipsOf(Vm& vm, const Value& v) {
  double n = vm.toNumber(v);
  return std::isfinite(n) ? int32_t(std::max(-1e6, std::min(1e6, n)) * 20) : 0;
}

const Attribute kAttributes[] = {
    {"font", false,
     [](const TextField& f, const TextFormat& t) { return Value(t.face.empty() ? f.fontName() : t.face); },
     [](Vm& vm, const Value& v, TextFormat& t) { t.face = vm.toString(v); }},
    {"size", false, [](const TextField&, const TextFormat& t) { return Value(pixels(t.size)); },
     [](Vm& vm, const Value& v, TextFormat& t) { t.size = uint32_t(std::max(0, twipsOf(vm, v))); }},
    {"color", false, [](const TextField&, const TextFormat& t) { return Value(colorNumber(t.color)); },
     [](Vm& vm, const Value& v, TextFormat& t) {
       uint32_t n = uint32_t(vm.toInt32(v));
       t.color = Rgba{uint8_t(n >> 16), uint8_t(n >> 8), uint8_t(n), 255};
     }},
    {"bold", false, [](const TextField&, const TextFormat& t) { return Value(t.bold); },
     [](Vm& vm, const Value& v, TextFormat& t) { t.bold = vm.toBoolean(v); }},
    {"italic", false, [](const TextField&, const TextFormat& t) { return Value(t.italic); },
     [](Vm& vm, const Value& v, TextFormat& t) { t.italic = vm.toBoolean(v); }},
    {"underline", false, [](const TextField&, const TextFormat& t) { return Value(t.underline); },
     [](Vm& vm, const Value& v, TextFormat& t) { t.underline = vm.toBoolean(v); }},
    {"url", false, [](const TextField&, const TextFormat& t) { return Value(t.url); },
     [](Vm& vm, const Value& v, TextFormat& t) { t.url = vm.toString(v); }},
    {"align", true, [](const TextField&, const TextFormat& t) { return Value(alignName(t.align)); },
     [](Vm& vm, const Value& v, TextFormat& t) {
       std::string a = vm.toString(v);
       std::transform(a.begin(), a.end(), a.begin(), [](char c) { return char(c >= 'A' && c <= 'Z' ? c + 32 : c); });
       if (a == "left") t.align = TextAlign::Left;
       if (a == "right") t.align = TextAlign::Right;
       if (a == "center") t.align = TextAlign::Center;
       if (a == "justify") t.align = TextAlign::Justify;
     }},
    {"leftMargin", true, [](const TextField&, const TextFormat& t) { return Value(pixels(t.leftMargin)); },
     [](Vm& vm, const Value& v, TextFormat& t) { t.leftMargin = std::max(0, twipsOf(vm, v)); }},
    {"rightMargin", true, [](const TextField&, const TextFormat& t) { return Value(pixels(t.rightMargin)); },
     [](Vm& vm, const Value& v, TextFormat& t) { t.rightMargin = std::max(0, twipsOf(vm, v)); }},
    {"indent", true, [](const TextField&, const TextFormat& t) { return Value(pixels(t.indent)); },
     [](Vm& vm, const Value& v, TextFormat& t) { t.indent = twipsOf(vm, v); }},
    {"blockIndent", true, [](const TextField&, const TextFormat& t) { return Value(pixels(t.blockIndent)); },
     [](Vm& vm, const Value& v, TextFormat& t) { t.blockIndent = twipsOf(vm, v); }},
    {"leading", true, [](const TextField&, const TextFormat& t) { return Value(pixels(t.leading)); },
     [](Vm& vm, const Value& v, TextFormat& t) { t.leading = twipsOf(vm, v); }},
    {"bullet", true, [](const TextField&, const TextFormat& t) { return Value(t.bullet); },
     [](Vm& vm, const Value& v, TextFormat& t) { t.bullet = vm.toBoolean(v); }},
    {"kerning", false, [](const TextField&, const TextFormat& t) { return Value(t.kerning); },
     [](Vm& vm, const Value& v, TextFormat& t) { t.kerning = vm.toBoolean(v); }},
    {"letterSpacing", false, [](const TextField&, const TextFormat& t) { return Value(t.letterSpacing); },
     [](Vm& vm, const Value& v, TextFormat& t) {
       double n = vm.toNumber(v);
       t.letterSpacing = std::isfinite(n) ? std::max(-1000.0, std::min(1000.0, n)) : 0;
     }},
};

Object* newTextFormat(Vm& vm) {
  Value ctor = vm.global()->get("TextFormat");
  FunctionObject* fn = ctor.isObject() ? ctor.object->asFunction() : nullptr;
  Value made = fn ? fn->construct({}) : Value();
  return made.isObject() ? made.object : vm.newObject();
}

// Attributes the field does not keep, as the real player reports them.
void setUnkept(Vm& vm, Object* o) {
  o->set("target", Value(""));
  o->set("tabStops", Value(vm.newArray()));
}

}  // namespace

Object* formatObject(Vm& vm, const TextField& f, const TextFormat& format) {
  Object* o = newTextFormat(vm);
  for (const Attribute& a : kAttributes) o->set(a.name, a.read(f, format));
  setUnkept(vm, o);
  return o;
}

Object* readTextFormat(Vm& vm, const TextField& f, size_t begin, size_t end) {
  FormattedChars chars = splitChars(f.content());
  end = std::min(end, chars.formats.size());
  if (begin >= end) return formatObject(vm, f, chars.formats.empty() ? f.newFormat() : chars.formats.back());
  Object* o = newTextFormat(vm);
  for (const Attribute& a : kAttributes) {
    Value first = a.read(f, chars.formats[begin]);
    bool same = true;
    for (size_t i = begin + 1; i < end && same; ++i) same = vm.strictEquals(first, a.read(f, chars.formats[i]));
    o->set(a.name, same ? first : Value::null());
  }
  setUnkept(vm, o);
  return o;
}

void applyFormatObject(Vm& vm, Object* format, TextFormat& to) {
  for (const Attribute& a : kAttributes) {
    Value v = format->get(a.name);
    if (!v.isNullish()) a.write(vm, v, to);
  }
}

void writeTextFormat(Vm& vm, TextField& f, Object* format, size_t begin, size_t end) {
  FormattedChars chars = splitChars(f.content());
  end = std::min(end, chars.formats.size());
  if (begin >= end) return;
  // The object's values are read once (a getter may run script).
  std::vector<std::pair<const Attribute*, Value>> set;
  for (const Attribute& a : kAttributes) {
    Value v = format->get(a.name);
    if (!v.isNullish()) set.emplace_back(&a, v);
  }
  // Paragraph attributes reach from the paragraph's start to its end.
  size_t pBegin = begin, pEnd = end;
  while (pBegin > 0 && chars.text[pBegin - 1] != '\n') --pBegin;
  while (pEnd < chars.text.size() && chars.text[pEnd - 1] != '\n') ++pEnd;
  for (size_t i = pBegin; i < pEnd; ++i) {
    TextFormat& t = chars.formats[i];
    for (const auto& entry : set) {
      if (!entry.first->paragraph && (i < begin || i >= end)) continue;
      entry.first->write(vm, entry.second, t);
    }
  }
  f.setContent(joinChars(chars));
}

}  // namespace avm1
}  // namespace swf
