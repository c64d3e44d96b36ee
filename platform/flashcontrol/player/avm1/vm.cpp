#include "vm.h"

#include <algorithm>
#include <cmath>
#include <unordered_set>

#include "array_object.h"
#include "builtins/builtins.h"
#include "text.h"
#include "timers.h"

namespace swf {
namespace avm1 {

Vm::Vm(int version, VmHost* host, uint32_t randomSeed)
    : version_(version), host_(host), random_(randomSeed), timers_(std::make_unique<TimerQueue>()) {
  installCore();
  installBuiltins(*this);
}

Vm::~Vm() = default;

void Vm::installCore() {
  objectPrototype_ = make<Object>(nullptr);
  functionPrototype_ = make<Object>(objectPrototype_);
  // _global inherits nothing: it has no valueOf or toString of its own.
  global_ = make<Object>(nullptr);
  arrayPrototype_ = make<Object>(objectPrototype_);
  stringPrototype_ = make<Object>(objectPrototype_);
  numberPrototype_ = make<Object>(objectPrototype_);
  booleanPrototype_ = make<Object>(objectPrototype_);
  classRegistry_ = make<Object>(nullptr);
}

Object* Vm::newObject(Object* proto) { return make<Object>(proto); }

ArrayObject* Vm::newArray(const std::vector<Value>& items) {
  ArrayObject* a = make<ArrayObject>(arrayPrototype_);
  a->assign(items);
  return a;
}

NativeFunction* Vm::newFunction(NativeFn fn, NativeFn constructFn) {
  return make<NativeFunction>(functionPrototype_, std::move(fn), std::move(constructFn));
}

NativeFunction* Vm::defineMethod(Object* target, const std::string& name, NativeFn fn, uint16_t flags) {
  NativeFunction* f = newFunction(std::move(fn));
  target->define(name, Value(f), flags);
  return f;
}

NativeFunction* Vm::defineClass(const std::string& name, Object* prototype, NativeFn callFn, NativeFn constructFn,
                                uint16_t flags) {
  NativeFunction* ctor = newFunction(std::move(callFn), std::move(constructFn));
  ctor->define("prototype", Value(prototype), DontEnum | DontDelete);
  prototype->define("constructor", Value(ctor), DontEnum);
  global_->define(name, Value(ctor), flags);
  return ctor;
}

Object* Vm::classPrototype(const std::string& className) {
  Object* ctor = global_->get(className).asObject();
  return ctor ? ctor->get("prototype").asObject() : nullptr;
}

namespace {

Value typeText(Object* o) { return Value(std::string(o->asFunction() ? "[type Function]" : "[type Object]")); }

// o.name() when it is a function; undefined when it is none.
Value callConversion(Vm& vm, Object* o, const Value& v, const char* name) {
  Value fn = o->get(name);
  FunctionObject* f = fn.asObject() ? fn.object->asFunction() : nullptr;
  return f ? vm.call(f, v, {}) : Value();
}

// An object as text: its toString when that gives a string (or a clip),
// "[type Object]" otherwise.
Value textOf(Vm& vm, Object* o, const Value& v) {
  std::string text;
  if (o->fixedText(text)) return Value(text);
  // A String object is its text, whatever its toString says.
  if (o->primitive.isString()) return o->primitive;
  Value r = callConversion(vm, o, v, "toString");
  if (r.isString()) return r;
  if (r.isObject() && !vm.unwinding() && r.object->fixedText(text)) return Value(text);
  return typeText(o);
}

// An operand of < : valueOf's result (an object when it gives one); a
// clip is no number at all.
Value comparable(Vm& vm, const Value& v) {
  Object* o = v.asObject();
  if (!o) return v;
  std::string text;
  if (o->fixedText(text)) return Value(NAN);
  return callConversion(vm, o, v, "valueOf");
}

// An operand of == : a clip's path, or what valueOf returns.
Value equalityPrimitive(Vm& vm, const Value& v) {
  Object* o = v.asObject();
  if (!o) return v;
  std::string text;
  if (o->fixedText(text)) return Value(text);
  return callConversion(vm, o, v, "valueOf");
}

}  // namespace

Value Vm::toPrimitive(const Value& v, bool preferString) {
  Object* o = v.asObject();
  if (!o) return v;
  if (preferString) return textOf(*this, o, v);
  // A clip stays itself (its path as text, no number). Others ask valueOf
  // (toString for dates from version 6) alone; an object it returns is left
  // for the caller's own conversion.
  std::string text;
  if (o->fixedText(text)) return v;
  return callConversion(*this, o, v, o->isDate() && version_ >= 6 ? "toString" : "valueOf");
}

double Vm::toNumber(const Value& v) {
  if (!v.isObject()) return primitiveToNumber(v, version_);
  std::string text;
  if (v.object->fixedText(text)) return NAN;
  Value p = callConversion(*this, v.object, v, "valueOf");
  return unwinding() || p.isObject() ? NAN : primitiveToNumber(p, version_);
}

std::string Vm::toString(const Value& v) {
  if (!v.isObject()) return primitiveToString(v, version_);
  return primitiveToString(textOf(*this, v.object, v), version_);
}

Object* Vm::toObject(const Value& v) {
  switch (v.type) {
    case Value::Type::Object: return v.object;
    case Value::Type::String: {
      Object* o = newObject(stringPrototype_);
      o->primitive = v;
      o->define("length", Value(double(toUnits(v.text, version_).size())), DontEnum | DontDelete | ReadOnly);
      return o;
    }
    case Value::Type::Number: {
      Object* o = newObject(numberPrototype_);
      o->primitive = v;
      return o;
    }
    case Value::Type::Bool: {
      Object* o = newObject(booleanPrototype_);
      o->primitive = v;
      return o;
    }
    default: return nullptr;
  }
}

std::string Vm::typeOf(const Value& v) const {
  if (Object* o = v.asObject()) return o->typeName();
  return primitiveTypeName(v);
}

// Two references to clips on the stage are equal when they name the same
// path: a clip the timeline made again stands where the old one stood.
static bool sameObject(Object* a, Object* b) {
  if (a == b) return true;
  if (!a || !b || !a->clip() || !b->clip()) return false;
  std::string pa, pb;
  return a->fixedText(pa) && b->fixedText(pb) && pa == pb;
}

bool Vm::strictEquals(const Value& a, const Value& b) const {
  if (a.type != b.type) return false;
  switch (a.type) {
    case Value::Type::Undefined:
    case Value::Type::Null: return true;
    case Value::Type::Bool: return a.boolean == b.boolean;
    case Value::Type::Number: return a.number == b.number || (a.nanId != 0 && a.nanId == b.nanId);
    case Value::Type::String: return a.text == b.text;
    default: return sameObject(a.object, b.object);
  }
}

bool Vm::looseEquals(const Value& a, const Value& b) {
  if (version_ < 6 && (a.isObject() || b.isObject())) return looseEqualsOld(a, b);
  if (a.type == b.type) return strictEquals(a, b);
  if (a.isNullish() && b.isNullish()) return true;
  if (a.isObject() && b.isObject()) return a.object == b.object;
  // An object meets a primitive through its valueOf (dates too); one that
  // has none is undefined, and so equals undefined and null.
  if (a.isObject() || b.isObject()) {
    const Value& o = a.isObject() ? a : b;
    Value p = equalityPrimitive(*this, o);
    return !unwinding() && !p.isObject() && looseEquals(p, a.isObject() ? b : a);
  }
  if (a.isNullish() || b.isNullish()) return false;
  if (a.isString() && b.isString()) return a.text == b.text;
  return primitiveToNumber(a, version_) == primitiveToNumber(b, version_);
}

// Version 5 converts both sides first, objects included; an object that
// stays one is compared by identity with another, or converted once more
// to a number.
bool Vm::looseEqualsOld(const Value& a, const Value& b) {
  Value pa = equalityPrimitive(*this, a);
  if (unwinding()) return false;
  Value pb = equalityPrimitive(*this, b);
  if (unwinding()) return false;
  if (pa.isObject() && pb.isObject()) return pa.object == pb.object;
  if (pa.isObject()) pa = Value(toNumber(pa));
  if (pb.isObject()) pb = Value(toNumber(pb));
  return !unwinding() && looseEquals(pa, pb);
}

Value Vm::lessThan(const Value& a, const Value& b) {
  // An operand whose valueOf gives an object makes the answer false at once.
  Value pa = comparable(*this, a);
  if (unwinding()) return Value();
  if (pa.isObject()) return Value(false);
  Value pb = comparable(*this, b);
  if (pb.isObject()) return Value(false);
  if (pa.isString() && pb.isString()) return Value(pa.text < pb.text);
  double x = primitiveToNumber(pa, version_);
  double y = primitiveToNumber(pb, version_);
  if (std::isnan(x) || std::isnan(y)) return Value();
  return Value(x < y);
}

bool Vm::instanceOf(const Value& v, Object* constructor) {
  Object* o = v.asObject();
  if (!o || !constructor) return false;
  Object* proto = constructor->get("prototype").asObject();
  if (!proto) return false;
  int guard = 0;
  for (Object* p = o->proto(); p && guard < 256; p = p->proto(), ++guard) {
    if (p == proto) return true;
    for (Object* iface : p->interfaces) {
      if (iface == constructor || iface->get("prototype").asObject() == proto) return true;
    }
  }
  return false;
}

bool Vm::enterCall() {
  if (aborted_) return false;
  if (depth_ >= kMaxCallDepth) {
    aborted_ = true;
    return false;
  }
  ++depth_;
  return true;
}

void Vm::endRun() {
  aborted_ = false;
  throwing_ = false;
  exception_ = Value();
  depth_ = 0;
  tickActionsLeft_ -= runBudget_ - std::max<int64_t>(actionsLeft_, 0);
  runBudget_ = actionsLeft_ = std::min(kMaxActionsPerRun, std::max<int64_t>(tickActionsLeft_, 0));
}

void Vm::newTick() {
  tickActionsLeft_ = kMaxActionsPerTick;
  runBudget_ = actionsLeft_ = kMaxActionsPerRun;
}

Value Vm::call(FunctionObject* fn, const Value& thisValue, const Args& args, Object* superProto) {
  if (!fn || unwinding()) return Value();
  if (!enterCall()) return Value();
  Value r = fn->call(thisValue, args, superProto);
  leaveCall();
  return r;
}

Value Vm::call(const Value& fn, const Value& thisValue, const Args& args) {
  Object* o = fn.asObject();
  return call(o ? o->asFunction() : nullptr, thisValue, args);
}

Value Vm::callMethod(const Value& obj, const std::string& name, const Args& args) {
  Object* o = obj.isObject() ? obj.object : toObject(obj);
  if (!o) return Value();
  return call(o->get(name), obj, args);
}

Value Vm::callWatcher(Object* self, FunctionObject* fn, const std::string& name, const Value& oldValue,
                      const Value& newValue, const Value& userData) {
  // The watcher is lifted while it runs so its own assignment stores.
  if (!self->unwatch(name)) return newValue;
  Value r = call(fn, Value(self), {Value(name), oldValue, newValue, userData});
  self->watch(name, fn, userData);
  return r;
}

void Vm::throwValue(const Value& v) {
  throwing_ = true;
  exception_ = v;
}

Value Vm::takeException() {
  throwing_ = false;
  Value v = exception_;
  exception_ = Value();
  return v;
}

double Vm::random() { return std::uniform_real_distribution<double>(0.0, 1.0)(random_); }

void Vm::trace(const std::string& line) {
  if (!host_) return;
  // Before version 6 a string is bytes of the system code page (Latin-1);
  // the log is UTF-8.
  host_->trace(version_ < 6 ? fromUnits(toUnits(line, 5), 6) : withoutLoneSurrogates(line));
}

void Vm::collect(const std::vector<Object*>& extraRoots) {
  for (auto& o : heap_) o->marked = false;
  std::vector<Object*> work = extraRoots;
  for (Object* o : {global_, objectPrototype_, functionPrototype_, arrayPrototype_, stringPrototype_, numberPrototype_,
                    booleanPrototype_, classRegistry_}) {
    work.push_back(o);
  }
  if (exception_.object) work.push_back(exception_.object);
  timers_->references(work);
  while (!work.empty()) {
    Object* o = work.back();
    work.pop_back();
    if (!o || o->marked) continue;
    o->marked = true;
    o->references(work);
  }
  heap_.erase(std::remove_if(heap_.begin(), heap_.end(), [](const std::unique_ptr<Object>& o) { return !o->marked; }),
              heap_.end());
}

}  // namespace avm1
}  // namespace swf
