// AsBroadcaster (listener lists) and Error.
#include "../array_object.h"
#include "../vm.h"
#include "builtins.h"

namespace swf {
namespace avm1 {
namespace {

Value addListener(Vm& vm, const Value& self, const Args& args) {
  Object* o = self.asObject();
  Object* list = o ? o->get("_listeners").asObject() : nullptr;
  if (!list) return Value(false);
  // A listener is listed once.
  Value removeFn = o->get("removeListener");
  vm.call(removeFn, self, {arg(args, 0)});
  vm.callMethod(Value(list), "push", {arg(args, 0)});
  return Value(true);
}

Value removeListener(Vm& vm, const Value& self, const Args& args) {
  Object* o = self.asObject();
  Object* list = o ? o->get("_listeners").asObject() : nullptr;
  if (!list) return Value(false);
  uint32_t n = toUint32(vm.toNumber(list->get("length")));
  for (uint32_t i = 0; i < n && i < 65536; ++i) {
    if (vm.strictEquals(list->get(std::to_string(i)), arg(args, 0))) {
      vm.callMethod(Value(list), "splice", {Value(double(i)), Value(1)});
      return Value(true);
    }
  }
  return Value(false);
}

Value broadcastMessage(Vm& vm, const Value& self, const Args& args) {
  Object* o = self.asObject();
  Object* list = o ? o->get("_listeners").asObject() : nullptr;
  if (!list || args.empty()) return Value();
  std::string name = vm.toString(args[0]);
  Args rest(args.begin() + 1, args.end());
  // Listeners added or removed by a handler take effect next time.
  std::vector<Value> listeners;
  uint32_t n = toUint32(vm.toNumber(list->get("length")));
  for (uint32_t i = 0; i < n && i < 65536; ++i) listeners.push_back(list->get(std::to_string(i)));
  for (const Value& l : listeners) {
    vm.callMethod(l, name, rest);
    if (vm.unwinding()) break;
  }
  return Value(!listeners.empty());
}

}  // namespace

void installBroadcaster(Vm& vm) {
  Object* proto = vm.newObject();
  // Version 6 brought it.
  NativeFunction* ctor = vm.defineClass("AsBroadcaster", proto, [](Vm&, const Value&, const Args&) { return Value(); },
                                        nullptr, kDontEnum | kVersion6);
  NativeFunction* add = vm.defineMethod(ctor, "addListener", addListener);
  NativeFunction* remove = vm.defineMethod(ctor, "removeListener", removeListener);
  NativeFunction* broadcast = vm.defineMethod(ctor, "broadcastMessage", broadcastMessage);
  vm.defineMethod(ctor, "initialize", [add, remove, broadcast](Vm& vm, const Value&, const Args& args) -> Value {
    Object* o = arg(args, 0).asObject();
    if (!o) return Value();
    o->define("_listeners", Value(vm.newArray()), kDontEnum);
    o->define("addListener", Value(add), kDontEnum);
    o->define("removeListener", Value(remove), kDontEnum);
    o->define("broadcastMessage", Value(broadcast), kDontEnum);
    return Value();
  });
}

void installErrorClass(Vm& vm) {
  Object* proto = vm.newObject();
  vm.defineClass("Error", proto, [](Vm& vm, const Value& self, const Args& args) -> Value {
    Object* o = self.asObject();
    if (!o) {
      o = vm.newObject(vm.classPrototype("Error"));
    }
    if (!args.empty() && !args[0].isUndefined()) o->set("message", args[0]);
    return Value(o);
  });
  proto->define("name", Value("Error"), kDontEnum);
  proto->define("message", Value("Error"), kDontEnum);
  vm.defineMethod(proto, "toString", [](Vm& vm, const Value& self, const Args&) -> Value {
    Object* o = self.asObject();
    return o ? Value(vm.toString(o->get("message"))) : Value();
  });
}

}  // namespace avm1
}  // namespace swf
