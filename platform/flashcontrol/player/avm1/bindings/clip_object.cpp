#include "clip_object.h"

#include <algorithm>
#include <cmath>
#include <cstring>

#include "../vm.h"

namespace swf {
namespace avm1 {
namespace {

struct NumericProperty {
  const char* name;
  ClipProperty property;
};

const NumericProperty kNumeric[] = {
    {"_x", ClipProperty::X},
    {"_y", ClipProperty::Y},
    {"_xscale", ClipProperty::XScale},
    {"_yscale", ClipProperty::YScale},
    {"_rotation", ClipProperty::Rotation},
    {"_alpha", ClipProperty::Alpha},
    {"_width", ClipProperty::Width},
    {"_height", ClipProperty::Height},
    {"_currentframe", ClipProperty::CurrentFrame},
    {"_totalframes", ClipProperty::TotalFrames},
    {"_framesloaded", ClipProperty::FramesLoaded},
};

// Display properties ignore case in every version.
bool equalsLower(const std::string& key, const char* name) {
  size_t n = std::strlen(name);
  if (key.size() != n) return false;
  for (size_t i = 0; i < n; ++i) {
    char c = key[i];
    if (c >= 'A' && c <= 'Z') c = char(c - 'A' + 'a');
    if (c != name[i]) return false;
  }
  return true;
}

const NumericProperty* numericProperty(const std::string& key) {
  if (key.empty() || key[0] != '_') return nullptr;
  for (const NumericProperty& p : kNumeric) {
    if (equalsLower(key, p.name)) return &p;
  }
  return nullptr;
}

}  // namespace

std::string ClipObject::dotPath(ActionTarget* clip) {
  std::vector<std::string> names;
  ActionTarget* at = clip;
  for (int guard = 0; at->parentTarget() && guard < 1000; ++guard) {
    names.push_back(at->instanceName());
    at = at->parentTarget();
  }
  std::string path = "_level" + std::to_string(at->levelNumber());
  for (size_t i = names.size(); i-- > 0;) path += "." + names[i];
  return path;
}

std::vector<std::string> ClipObject::enumerableNames() {
  std::vector<std::string> names = Object::enumerableNames();
  if (!clip_) return names;
  std::vector<std::string> children;
  clip_->childNames(children);
  for (const std::string& c : children) {
    if (std::find(names.begin(), names.end(), c) == names.end()) names.push_back(c);
  }
  return names;
}

bool ClipObject::fixedText(std::string& out) {
  out = clip_ ? dotPath(clip_) : std::string();
  return true;
}

std::string ClipObject::slashPath(ActionTarget* clip) {
  std::vector<std::string> names;
  ActionTarget* at = clip;
  for (int guard = 0; at->parentTarget() && guard < 1000; ++guard) {
    names.push_back(at->instanceName());
    at = at->parentTarget();
  }
  if (names.empty()) return "/";
  std::string path;
  for (size_t i = names.size(); i-- > 0;) path += "/" + names[i];
  return path;
}

bool ClipObject::getBuiltin(const std::string& key, Value& out) {
  if (!clip_ || key.empty() || key[0] != '_') return false;
  if (const NumericProperty* p = numericProperty(key)) {
    out = Value(clip_->getProperty(p->property));
    return true;
  }
  if (equalsLower(key, "_visible")) {
    out = Value(clip_->getProperty(ClipProperty::Visible) != 0);
    return true;
  }
  if (equalsLower(key, "_name")) {
    out = Value(clip_->instanceName());
    return true;
  }
  if (equalsLower(key, "_target")) {
    out = Value(slashPath(clip_));
    return true;
  }
  if (equalsLower(key, "_parent")) {
    ActionTarget* parent = clip_->parentTarget();
    out = parent && parent->scriptObject() ? Value(parent->scriptObject()) : Value();
    return true;
  }
  if (equalsLower(key, "_root")) {
    ActionTarget* root = clip_->rootTarget();
    out = root ? Value(root->scriptObject()) : Value();
    return true;
  }
  if (equalsLower(key, "_global") && vm().version() >= 6) {
    out = Value(vm().global());
    return true;
  }
  if (equalsLower(key, "_url")) {
    out = Value(clip_->url());
    return true;
  }
  if (equalsLower(key, "_droptarget")) {
    out = Value(std::string());
    return true;
  }
  if (equalsLower(key, "_quality")) {
    out = Value("HIGH");
    return true;
  }
  if (equalsLower(key, "_highquality")) {
    out = Value(1);
    return true;
  }
  if (equalsLower(key, "_focusrect")) {
    out = focusRect();
    return true;
  }
  if (equalsLower(key, "_soundbuftime")) {
    out = Value(5);
    return true;
  }
  if (equalsLower(key, "_xmouse") || equalsLower(key, "_ymouse")) {
    out = Value(0);
    return true;
  }
  return false;
}

bool ClipObject::setBuiltin(const std::string& key, const Value& value) {
  if (!clip_ || key.empty() || key[0] != '_') return false;
  if (const NumericProperty* p = numericProperty(key)) {
    double n = vm().toNumber(value);
    // Frame counts are read-only; NaN leaves a property as it was.
    if (p->property == ClipProperty::CurrentFrame || p->property == ClipProperty::TotalFrames ||
        p->property == ClipProperty::FramesLoaded) {
      return true;
    }
    // undefined and null leave it too, whatever number the version makes of them.
    if (!std::isnan(n) && !value.isNullish()) clip_->setProperty(p->property, n);
    return true;
  }
  if (equalsLower(key, "_visible")) {
    double n = vm().toNumber(value);
    if (!std::isnan(n)) clip_->setProperty(ClipProperty::Visible, vm().toBoolean(value) ? 1 : 0);
    return true;
  }
  if (equalsLower(key, "_name")) {
    clip_->setInstanceName(vm().toString(value));
    return true;
  }
  if (equalsLower(key, "_focusrect")) {
    setFocusRect(value);
    return true;
  }
  static const char* const kReadOnly[] = {"_target", "_parent", "_root", "_url", "_droptarget", "_xmouse", "_ymouse"};
  for (const char* name : kReadOnly) {
    if (equalsLower(key, name)) return true;
  }
  return false;
}

Value ClipObject::focusRect() {
  if (levelRoot()) {
    bool on = !focusRectSet_ || focusRect_.boolean;
    return vm().version() < 6 ? Value(on ? 1 : 0) : Value(on);
  }
  if (vm().version() < 6) return Value();
  return focusRectSet_ ? focusRect_ : Value::null();
}

// The movie's setting takes numbers (what is none stays as it was); a
// clip's takes any value as a flag, null and undefined clearing it.
void ClipObject::setFocusRect(const Value& value) {
  if (levelRoot()) {
    double n = vm().toNumber(value);
    if (value.isNullish() || std::isnan(n)) return;
    focusRect_ = Value(n != 0);
    focusRectSet_ = true;
    return;
  }
  if (vm().version() < 6) return;
  focusRect_ = value.isNullish() ? Value::null() : Value(vm().toBoolean(value));
  focusRectSet_ = true;
}

bool ClipObject::getVirtual(const std::string& key, Value& out) {
  if (!clip_) return false;
  ActionTarget* child = clip_->childNamed(key);
  if (!child || !child->scriptObject()) return false;
  out = Value(child->scriptObject());
  return true;
}

}  // namespace avm1
}  // namespace swf
