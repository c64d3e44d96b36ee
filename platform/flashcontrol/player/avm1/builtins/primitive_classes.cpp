// Number and Boolean: the wrappers of their primitives.
#include <cfloat>
#include <cmath>

#include "../number_text.h"
#include "../vm.h"
#include "builtins.h"

namespace swf {
namespace avm1 {
namespace {

// The primitive of a Number/Boolean `this` (the value itself for primitives).
Value primitiveOf(const Value& self) {
  if (Object* o = self.asObject()) return o->primitive;
  return self;
}

}  // namespace

void installNumberClass(Vm& vm) {
  Object* proto = vm.numberPrototype();
  NativeFunction* ctor = vm.defineClass(
      "Number", proto,
      [](Vm& vm, const Value&, const Args& args) -> Value { return Value(args.empty() ? 0.0 : vm.toNumber(args[0])); },
      [](Vm& vm, const Value& self, const Args& args) -> Value {
        if (Object* o = self.asObject()) o->primitive = Value(args.empty() ? 0.0 : vm.toNumber(args[0]));
        return Value();
      });
  uint16_t fixed = DontEnum | DontDelete | ReadOnly;
  ctor->define("MAX_VALUE", Value(DBL_MAX), fixed);
  ctor->define("MIN_VALUE", Value(4.9406564584124654e-324), fixed);
  ctor->define("NaN", Value(std::nan("")), fixed);
  ctor->define("NEGATIVE_INFINITY", Value(-HUGE_VAL), fixed);
  ctor->define("POSITIVE_INFINITY", Value(HUGE_VAL), fixed);
  vm.defineMethod(proto, "toString", [](Vm& vm, const Value& self, const Args& args) -> Value {
    Value p = primitiveOf(self);
    if (!p.isNumber()) return Value(std::string(p.isUndefined() && !self.isObject() ? "" : "NaN"));
    int radix = args.empty() || args[0].isUndefined() ? 10 : vm.toInt32(args[0]);
    return Value(formatNumberRadix(p.number, radix));
  });
  vm.defineMethod(proto, "valueOf", [](Vm&, const Value& self, const Args&) -> Value {
    Value p = primitiveOf(self);
    return p.isNumber() ? p : Value(std::nan(""));
  });
}

void installBooleanClass(Vm& vm) {
  Object* proto = vm.booleanPrototype();
  vm.defineClass(
      "Boolean", proto,
      [](Vm& vm, const Value&, const Args& args) -> Value {
        // Called with nothing to convert, it gives nothing.
        return args.empty() ? Value() : Value(vm.toBoolean(args[0]));
      },
      [](Vm& vm, const Value& self, const Args& args) -> Value {
        if (Object* o = self.asObject()) o->primitive = Value(!args.empty() && vm.toBoolean(args[0]));
        return Value();
      });
  vm.defineMethod(proto, "toString", [](Vm&, const Value& self, const Args&) -> Value {
    Value p = primitiveOf(self);
    return p.type == Value::Type::Bool ? Value(std::string(p.boolean ? "true" : "false")) : Value();
  });
  vm.defineMethod(proto, "valueOf", [](Vm&, const Value& self, const Args&) -> Value {
    Value p = primitiveOf(self);
    return p.type == Value::Type::Bool ? p : Value();
  });
}

}  // namespace avm1
}  // namespace swf
