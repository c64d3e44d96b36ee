#include "object.h"

#include "function.h"
#include "vm.h"
#include "../text/case_fold.h"

namespace swf {
namespace avm1 {
namespace {

// Prototype chains are walked at most this far (a script can make cycles).
constexpr int kMaxProtoChain = 256;
constexpr size_t kIndexFrom = 12;

}  // namespace

Object::Object(Vm& vm, Object* proto) : vm_(vm), proto_(proto) {}

Object::~Object() = default;

std::string Object::keyOf(const std::string& name) const {
  if (vm_.caseSensitive()) return name;
  std::string k = name;
  bool ascii = true;
  for (char& c : k) {
    if (c >= 'A' && c <= 'Z') c = char(c - 'A' + 'a');
    ascii = ascii && (unsigned char)c < 0x80;
  }
  // Version 6 text is UTF-8 and its letters beyond ASCII fold too.
  return ascii || vm_.version() < 6 ? k : foldCase(k);
}

bool Object::visible(const Property& p) const {
  int v = vm_.version();
  if ((p.flags & Version6) && v < 6) return false;
  if ((p.flags & Version7) && v < 7) return false;
  if ((p.flags & Version8) && v < 8) return false;
  if ((p.flags & Version9) && v < 9) return false;
  if ((p.flags & Version10) && v < 10) return false;
  return true;
}

Property* Object::findKey(const std::string& key) {
  if (!index_.empty()) {
    auto it = index_.find(key);
    return it == index_.end() ? nullptr : &props_[it->second];
  }
  for (Property& p : props_) {
    if (p.key == key) return &p;
  }
  return nullptr;
}

void Object::reindex() {
  index_.clear();
  if (props_.size() < kIndexFrom) return;
  for (uint32_t i = 0; i < props_.size(); ++i) index_[props_[i].key] = i;
}

Property* Object::findOwn(const std::string& name) {
  Property* p = findKey(keyOf(name));
  return p && visible(*p) ? p : nullptr;
}

bool Object::getBuiltin(const std::string&, Value&) { return false; }
bool Object::setBuiltin(const std::string&, const Value&) { return false; }
bool Object::getVirtual(const std::string&, Value&) { return false; }

Value Object::runGetter(Property& p) {
  if (!p.getter) return p.value;
  return vm_.call(p.getter, Value(this), {});
}

Value Object::get(const std::string& name) {
  std::string key = keyOf(name);
  // A function's __proto__ is hidden from movies before version 6.
  if (key == "__proto__") {
    Object* shown = protoAsRead();
    return shown && !(asFunction() && vm_.version() < 6) ? Value(shown) : Value();
  }
  Object* o = this;
  for (int depth = 0; o && depth < kMaxProtoChain; ++depth, o = o->proto_) {
    Value out;
    if (o->getBuiltin(key, out)) return out;
    Property* p = o->findKey(key);
    if (p && o->visible(*p)) {
      if (!p->getter) return p->value;
      if (vm_.gettersRunning >= kMaxGetterNesting) return Value();
      ++vm_.gettersRunning;
      Value v = vm_.call(p->getter, Value(this), {});
      --vm_.gettersRunning;
      return v;
    }
    if (o->getVirtual(key, out)) return out;
  }
  // A chain longer than the limit (a cycle) stops the script.
  if (o) vm_.abort();
  return Value();
}

bool Object::has(const std::string& name) {
  std::string key = keyOf(name);
  if (key == "__proto__") return proto_ != nullptr;
  Object* o = this;
  for (int depth = 0; o && depth < kMaxProtoChain; ++depth, o = o->proto_) {
    Value out;
    if (o->getBuiltin(key, out)) return true;
    Property* p = o->findKey(key);
    if (p && o->visible(*p)) return true;
    if (o->getVirtual(key, out)) return true;
  }
  return false;
}

bool Object::hasOwn(const std::string& name) {
  std::string key = keyOf(name);
  if (key == "__proto__") return proto_ != nullptr;
  Value out;
  if (getBuiltin(key, out)) return true;
  Property* p = findKey(key);
  return p || getVirtual(key, out);
}

void Object::set(const std::string& name, const Value& value) {
  std::string key = keyOf(name);
  if (key == "__proto__") {
    proto_ = value.asObject();
    return;
  }
  Property* own = findKey(key);
  if (own && !visible(*own)) own = nullptr;
  if (!own) {
    // A setter on a prototype takes the assignment.
    Object* o = proto_;
    for (int depth = 0; o && depth < kMaxProtoChain; ++depth, o = o->proto_) {
      Property* p = o->findKey(key);
      if (p && o->visible(*p)) {
        if (p->getter) {
          if (p->setter) vm_.call(p->setter, Value(this), {value});
          return;
        }
        break;
      }
    }
  }
  Value stored = value;
  // Without an own property a watcher's old value is a prototype's (a
  // native property such as a field's text gives none).
  if (watchers_) stored = applyWatchers(key, name, own ? runGetter(*own) : proto_ ? proto_->get(name) : Value(), value);
  own = findKey(key);  // a watcher may have changed the table
  if (own && !visible(*own)) own = nullptr;
  if (own) {
    if (own->getter) {
      if (own->setter) vm_.call(own->setter, Value(this), {stored});
      return;
    }
    if (own->flags & ReadOnly) return;
    if (setBuiltin(key, stored)) return;
    own->value = stored;
    return;
  }
  if (setBuiltin(key, stored)) return;
  define(name, stored, 0);
}

bool Object::remove(const std::string& name) {
  std::string key = keyOf(name);
  Property* p = findKey(key);
  if (!p || (p->flags & DontDelete)) return false;
  props_.erase(props_.begin() + (p - props_.data()));
  reindex();
  return true;
}

void Object::define(const std::string& name, const Value& value, uint16_t flags) {
  std::string key = keyOf(name);
  if (key == "__proto__") {
    proto_ = value.asObject();
    return;
  }
  if (Property* p = findKey(key)) {
    p->value = value;
    p->getter = p->setter = nullptr;
    p->flags = flags;
    return;
  }
  if (setBuiltin(key, value)) return;
  Property p;
  p.name = name;
  p.key = std::move(key);
  p.value = value;
  p.flags = flags;
  props_.push_back(std::move(p));
  if (!index_.empty()) {
    index_[props_.back().key] = uint32_t(props_.size() - 1);
  } else if (props_.size() >= kIndexFrom) {
    reindex();
  }
}

bool Object::addAccessor(const std::string& name, FunctionObject* getter, FunctionObject* setter, uint16_t flags) {
  if (!getter) return false;
  std::string key = keyOf(name);
  Property* p = findKey(key);
  if (!p) {
    define(name, Value(), flags);
    p = findKey(key);
    if (!p) return false;
  }
  p->getter = getter;
  p->setter = setter;
  p->value = Value();
  return true;
}

void Object::changeFlags(const std::string& name, uint16_t set, uint16_t clear) {
  if (Property* p = findKey(keyOf(name))) p->flags = uint16_t((p->flags & ~clear) | set);
}

void Object::changeAllFlags(uint16_t set, uint16_t clear) {
  for (Property& p : props_) p.flags = uint16_t((p.flags & ~clear) | set);
}

std::vector<std::string> Object::enumerableNames() {
  std::vector<std::string> names;
  std::vector<std::string> seen;
  auto isSeen = [&](const std::string& key) {
    for (const std::string& s : seen) {
      if (s == key) return true;
    }
    return false;
  };
  // A prototype's names come before the object's own: the real player lists
  // the chain from the object outwards and a for..in loop takes the last first.
  std::vector<std::vector<std::string>> levels;
  Object* o = this;
  for (int depth = 0; o && depth < kMaxProtoChain; ++depth, o = o->proto_) {
    levels.emplace_back();
    for (size_t i = o->props_.size(); i-- > 0;) {
      const Property& p = o->props_[i];
      if (isSeen(p.key)) continue;
      seen.push_back(p.key);
      if (!(p.flags & DontEnum)) levels.back().push_back(p.name);
    }
  }
  for (auto level = levels.rbegin(); level != levels.rend(); ++level)
    names.insert(names.end(), level->begin(), level->end());
  return names;
}

bool Object::watch(const std::string& name, FunctionObject* callback, const Value& userData) {
  if (!callback) return false;
  if (!watchers_) watchers_ = std::make_unique<std::vector<Watcher>>();
  std::string key = keyOf(name);
  for (Watcher& w : *watchers_) {
    if (w.key == key) {
      w.callback = callback;
      w.userData = userData;
      return true;
    }
  }
  watchers_->push_back(Watcher{key, callback, userData});
  return true;
}

bool Object::unwatch(const std::string& name) {
  if (!watchers_) return false;
  std::string key = keyOf(name);
  for (auto it = watchers_->begin(); it != watchers_->end(); ++it) {
    if (it->key == key) {
      watchers_->erase(it);
      return true;
    }
  }
  return false;
}

Value Object::applyWatchers(const std::string& key, const std::string& name, const Value& oldValue,
                            const Value& value) {
  for (const Watcher& w : *watchers_) {
    if (w.key != key) continue;
    Watcher copy = w;
    // A watcher does not see its own assignments again.
    return vm_.callWatcher(this, copy.callback, name, oldValue, value, copy.userData);
  }
  return value;
}

void Object::references(std::vector<Object*>& out) const {
  if (proto_) out.push_back(proto_);
  if (primitive.object) out.push_back(primitive.object);
  for (Object* i : interfaces) out.push_back(i);
  for (const Property& p : props_) {
    if (p.value.object) out.push_back(p.value.object);
    if (p.getter) out.push_back(static_cast<Object*>(p.getter));
    if (p.setter) out.push_back(static_cast<Object*>(p.setter));
  }
  if (watchers_) {
    for (const Watcher& w : *watchers_) {
      out.push_back(static_cast<Object*>(w.callback));
      if (w.userData.object) out.push_back(w.userData.object);
    }
  }
}

}  // namespace avm1
}  // namespace swf
