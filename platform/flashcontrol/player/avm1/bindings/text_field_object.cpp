#include "text_field_object.h"

#include <cmath>
#include <cstdint>
#include <cstring>

#include "../vm.h"
#include "text_field_text.h"

namespace swf {
namespace avm1 {
namespace {

double colorNumber(const Rgba& c) { return double((uint32_t(c.r) << 16) | (uint32_t(c.g) << 8) | c.b); }

Rgba colorOf(Vm& vm, const Value& v) {
  uint32_t n = uint32_t(vm.toInt32(v));
  return Rgba{uint8_t(n >> 16), uint8_t(n >> 8), uint8_t(n), 255};
}

const char* autoSizeName(const EditText& s) {
  if (!s.autoSize) return "none";
  return s.align == TextAlign::Right ? "right" : s.align == TextAlign::Center ? "center" : "left";
}

// Settings the player keeps for scripts without drawing them, with their
// values before a script sets them.
struct KeptDefault {
  const char* name;
  Value (*make)();
};
const KeptDefault kKept[] = {
    {"condenseWhite", [] { return Value(false); }},
    {"antiAliasType", [] { return Value("normal"); }},
    {"gridFitType", [] { return Value("pixel"); }},
    {"sharpness", [] { return Value(0); }},
    {"thickness", [] { return Value(0); }},
    {"mouseWheelEnabled", [] { return Value(true); }},
    {"restrict", [] { return Value::null(); }},
    {"styleSheet", [] { return Value(); }},
    {"filters", [] { return Value(); }},
};

}  // namespace

bool TextFieldObject::named(const std::string& key, const char* name) const {
  if (vm().caseSensitive()) return key == name;
  size_t n = std::strlen(name);
  if (key.size() != n) return false;
  for (size_t i = 0; i < n; ++i) {
    char c = name[i];
    if (c >= 'A' && c <= 'Z') c = char(c - 'A' + 'a');
    char k = key[i];
    if (k >= 'A' && k <= 'Z') k = char(k - 'A' + 'a');
    if (c != k) return false;
  }
  return true;
}

void TextFieldObject::references(std::vector<Object*>& out) const {
  Object::references(out);
  for (const auto& entry : kept_) {
    if (entry.second.isObject()) out.push_back(entry.second.object);
  }
}

bool TextFieldObject::getKept(const std::string& key, Value& out) {
  for (const KeptDefault& k : kKept) {
    if (!named(key, k.name)) continue;
    auto it = kept_.find(k.name);
    out = it != kept_.end() ? it->second : k.make();
    return true;
  }
  return false;
}

bool TextFieldObject::setKept(const std::string& key, const Value& value) {
  for (const KeptDefault& k : kKept) {
    if (!named(key, k.name)) continue;
    Value v = value;
    if (std::strcmp(k.name, "condenseWhite") == 0 || std::strcmp(k.name, "mouseWheelEnabled") == 0) {
      v = Value(vm().toBoolean(value));
    } else if (std::strcmp(k.name, "antiAliasType") == 0) {
      std::string s = vm().toString(value);
      if (s != "normal" && s != "advanced") return true;
      v = Value(s);
    } else if (std::strcmp(k.name, "gridFitType") == 0) {
      std::string s = vm().toString(value);
      if (s != "none" && s != "pixel" && s != "subpixel") return true;
      v = Value(s);
    } else if (std::strcmp(k.name, "sharpness") == 0 || std::strcmp(k.name, "thickness") == 0) {
      double n = vm().toNumber(value);
      if (std::isnan(n)) return true;
      double limit = k.name[0] == 's' ? 400 : 200;
      v = Value(std::max(-limit, std::min(limit, n)));
    }
    kept_[k.name] = v;
    return true;
  }
  return false;
}

bool TextFieldObject::getBuiltin(const std::string& key, Value& out) {
  TextFieldTarget* t = target();
  if (!t || key.empty()) return false;
  if (key[0] == '_') return ClipObject::getBuiltin(key, out);
  // Version 5 movies reach a field only as a display object.
  if (vm().version() < 6) return false;
  t->refresh();
  TextField& f = t->field();
  const EditText& s = f.definition();
  if (named(key, "text")) {
    out = Value(scriptText(f));
  } else if (named(key, "htmlText")) {
    out = Value(f.html() ? f.htmlText() : scriptText(f));
  } else if (named(key, "html")) {
    out = Value(s.html);
  } else if (named(key, "length")) {
    out = Value(double(textLength(f)));
  } else if (named(key, "textWidth")) {
    out = Value(std::round(f.layout().textWidth / 20));
  } else if (named(key, "textHeight")) {
    out = Value(std::round(f.layout().textHeight / 20));
  } else if (named(key, "autoSize")) {
    out = Value(autoSizeName(s));
  } else if (named(key, "border")) {
    out = Value(s.border);
  } else if (named(key, "borderColor")) {
    out = Value(colorNumber(s.borderColor));
  } else if (named(key, "background")) {
    out = Value(s.background);
  } else if (named(key, "backgroundColor")) {
    out = Value(colorNumber(s.backgroundColor));
  } else if (named(key, "textColor")) {
    out = Value(colorNumber(f.content().empty() ? s.color : f.content().front().format.color));
  } else if (named(key, "multiline")) {
    out = Value(s.multiline);
  } else if (named(key, "wordWrap")) {
    out = Value(s.wordWrap);
  } else if (named(key, "password")) {
    out = Value(s.password);
  } else if (named(key, "maxChars")) {
    out = s.maxLength ? Value(double(s.maxLength)) : Value::null();
  } else if (named(key, "selectable")) {
    out = Value(!s.noSelect);
  } else if (named(key, "type")) {
    out = Value(s.readOnly ? "dynamic" : "input");
  } else if (named(key, "variable")) {
    out = s.variableName.empty() ? Value::null() : Value(s.variableName);
  } else if (named(key, "embedFonts")) {
    out = Value(s.useOutlines);
  } else if (named(key, "scroll")) {
    out = Value(f.scroll());
  } else if (named(key, "maxscroll")) {
    out = Value(f.maxScroll());
  } else if (named(key, "bottomScroll")) {
    out = Value(f.bottomScroll());
  } else if (named(key, "hscroll") || named(key, "maxhscroll")) {
    out = Value(0);
  } else {
    return getKept(key, out);
  }
  return true;
}

bool TextFieldObject::setBuiltin(const std::string& key, const Value& value) {
  TextFieldTarget* t = target();
  if (!t || key.empty()) return false;
  if (key[0] == '_') return ClipObject::setBuiltin(key, value);
  if (vm().version() < 6) return false;
  TextField& f = t->field();
  if (named(key, "text")) {
    std::string text = vm().toString(value);
    if (t->writeVariable(text)) return true;
    setScriptText(f, text);
    t->textChanged();
  } else if (named(key, "htmlText")) {
    std::string html = vm().toString(value);
    if (t->writeVariable(html)) return true;
    if (f.html()) {
      f.setHtmlText(html);
    } else {
      setScriptText(f, html);
    }
    t->textChanged();
  } else if (named(key, "html")) {
    f.settings().html = vm().toBoolean(value);
  } else if (named(key, "autoSize")) {
    std::string mode = value.type == Value::Type::Bool ? (value.boolean ? "left" : "none") : vm().toString(value);
    EditText& s = f.settings();
    s.autoSize = mode == "left" || mode == "right" || mode == "center";
    if (mode == "right") s.align = TextAlign::Right;
    if (mode == "center") s.align = TextAlign::Center;
    if (mode == "left") s.align = TextAlign::Left;
  } else if (named(key, "border")) {
    f.settings().border = vm().toBoolean(value);
  } else if (named(key, "borderColor")) {
    f.settings().borderColor = colorOf(vm(), value);
  } else if (named(key, "background")) {
    f.settings().background = vm().toBoolean(value);
  } else if (named(key, "backgroundColor")) {
    f.settings().backgroundColor = colorOf(vm(), value);
  } else if (named(key, "textColor")) {
    setTextColor(f, colorOf(vm(), value));
  } else if (named(key, "multiline")) {
    f.settings().multiline = vm().toBoolean(value);
  } else if (named(key, "wordWrap")) {
    f.settings().wordWrap = vm().toBoolean(value);
  } else if (named(key, "password")) {
    f.settings().password = vm().toBoolean(value);
  } else if (named(key, "maxChars")) {
    double n = vm().toNumber(value);
    f.settings().maxLength = std::isnan(n) || n <= 0 || n > 65535 ? 0 : uint16_t(n);
  } else if (named(key, "selectable")) {
    f.settings().noSelect = !vm().toBoolean(value);
  } else if (named(key, "type")) {
    std::string type = vm().toString(value);
    if (type == "input" || type == "dynamic") f.settings().readOnly = type == "dynamic";
  } else if (named(key, "variable")) {
    f.settings().variableName = value.isNullish() ? std::string() : vm().toString(value);
    t->refresh();
  } else if (named(key, "embedFonts")) {
    f.settings().useOutlines = vm().toBoolean(value);
  } else if (named(key, "scroll")) {
    // Lines count from 0 inside, in 32 bits: -2^31 wraps round to the last line.
    const int32_t fromZero = int32_t(uint32_t(vm().toInt32(value)) - 1u);
    f.setScroll(fromZero == INT32_MAX ? INT32_MAX : fromZero + 1);
  } else if (named(key, "length") || named(key, "textWidth") || named(key, "textHeight") || named(key, "maxscroll") ||
             named(key, "maxhscroll") || named(key, "bottomScroll") || named(key, "hscroll")) {
    return true;  // read-only, or (hscroll) not followed: lines are not scrolled sideways
  } else {
    return setKept(key, value);
  }
  return true;
}

}  // namespace avm1
}  // namespace swf
