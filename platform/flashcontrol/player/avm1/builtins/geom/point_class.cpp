// flash.geom.Point: x and y as plain members; the real player ships it as
// compiled script, so its methods compute with the script's operators.
#include <cmath>

#include "../builtins.h"
#include "script_ops.h"

namespace swf {
namespace avm1 {
namespace {

Value newPoint(Vm& vm, const Value& x, const Value& y) { return constructByPath(vm, "flash.geom.Point", {x, y}); }

Value x(Vm& vm, const Value& p) { return member(vm, p, "x"); }
Value y(Vm& vm, const Value& p) { return member(vm, p, "y"); }

Value length(Vm& vm, const Value& self, const Args&) {
  Value sum = scriptAdd(vm, scriptMul(vm, x(vm, self), x(vm, self)), scriptMul(vm, y(vm, self), y(vm, self)));
  return Value(std::sqrt(vm.toNumber(sum)));
}

Value add(Vm& vm, const Value& self, const Args& args) {
  Value v = arg(args, 0);
  return newPoint(vm, scriptAdd(vm, x(vm, self), x(vm, v)), scriptAdd(vm, y(vm, self), y(vm, v)));
}

Value subtract(Vm& vm, const Value& self, const Args& args) {
  Value v = arg(args, 0);
  return newPoint(vm, scriptSub(vm, x(vm, self), x(vm, v)), scriptSub(vm, y(vm, self), y(vm, v)));
}

Value clone(Vm& vm, const Value& self, const Args&) { return newPoint(vm, x(vm, self), y(vm, self)); }

Value equals(Vm& vm, const Value& self, const Args& args) {
  Value v = arg(args, 0);
  if (!isInstance(vm, v, "flash.geom.Point")) return Value(false);
  return scriptAnd(vm, Value(vm.looseEquals(x(vm, v), x(vm, self))), Value(vm.looseEquals(y(vm, v), y(vm, self))));
}

// Scales to the given length.
Value normalize(Vm& vm, const Value& self, const Args& args) {
  Value scale = Value(vm.toNumber(arg(args, 0)) / vm.toNumber(length(vm, self, {})));
  setMember(vm, self, "x", scriptMul(vm, x(vm, self), scale));
  setMember(vm, self, "y", scriptMul(vm, y(vm, self), scale));
  return Value();
}

Value offset(Vm& vm, const Value& self, const Args& args) {
  setMember(vm, self, "x", scriptAdd(vm, x(vm, self), arg(args, 0)));
  setMember(vm, self, "y", scriptAdd(vm, y(vm, self), arg(args, 1)));
  return Value();
}

Value toText(Vm& vm, const Value& self, const Args&) {
  Value out = scriptAdd(vm, Value("(x="), x(vm, self));
  out = scriptAdd(vm, scriptAdd(vm, out, Value(", y=")), y(vm, self));
  return scriptAdd(vm, out, Value(")"));
}

Value distance(Vm& vm, const Value&, const Args& args) {
  Value d = vm.callMethod(arg(args, 0), "subtract", {arg(args, 1)});
  return member(vm, d, "length");
}

// The point at f of the way from the second point to the first.
Value interpolate(Vm& vm, const Value&, const Args& args) {
  const Value& a = arg(args, 0);
  const Value& b = arg(args, 1);
  const Value& f = arg(args, 2);
  return newPoint(vm, scriptAdd(vm, x(vm, b), scriptMul(vm, f, scriptSub(vm, x(vm, a), x(vm, b)))),
                  scriptAdd(vm, y(vm, b), scriptMul(vm, f, scriptSub(vm, y(vm, a), y(vm, b)))));
}

Value polar(Vm& vm, const Value&, const Args& args) {
  double len = vm.toNumber(arg(args, 0));
  double angle = vm.toNumber(arg(args, 1));
  return newPoint(vm, Value(len * std::cos(angle)), Value(len * std::sin(angle)));
}

// No arguments give the origin; otherwise the arguments as they are.
Value construct(Vm& vm, const Value& self, const Args& args) {
  setMember(vm, self, "x", args.empty() ? Value(0) : arg(args, 0));
  setMember(vm, self, "y", args.empty() ? Value(0) : arg(args, 1));
  return Value();
}

}  // namespace

void installPointClass(Vm& vm) {
  Object* proto = vm.newObject();
  NativeFunction* ctor = scriptClass(vm, "flash.geom", "Point", proto, construct);
  scriptMethod(vm, ctor, "distance", distance);
  scriptMethod(vm, ctor, "interpolate", interpolate);
  scriptMethod(vm, ctor, "polar", polar);
  scriptAccessor(vm, proto, "length", length, nullptr);
  scriptMethod(vm, proto, "add", add);
  scriptMethod(vm, proto, "subtract", subtract);
  scriptMethod(vm, proto, "equals", equals);
  scriptMethod(vm, proto, "normalize", normalize);
  scriptMethod(vm, proto, "offset", offset);
  scriptMethod(vm, proto, "clone", clone);
  scriptMethod(vm, proto, "toString", toText);
}

}  // namespace avm1
}  // namespace swf
