// AsBroadcaster: makes any object a source of events with a `_listeners`
// array; Key, Mouse and Stage are made broadcasters with it.
#include "../array_object.h"
#include "../vm.h"
#include "builtins.h"

namespace swf {
namespace avm1 {
namespace {

// The listeners as they are now, so that listeners added or removed while
// a message goes out wait for the next one.
std::vector<Value> listenersOf(Vm& vm, Object* list) {
  std::vector<Value> out;
  double n = vm.toNumber(list->get("length"));
  for (uint32_t i = 0; i < n && i < 65536; ++i) out.push_back(list->get(std::to_string(i)));
  return out;
}

Object* listenerArray(const Value& self) {
  Object* o = self.asObject();
  return o ? o->get("_listeners").asObject() : nullptr;
}

bool removeListener(Vm& vm, Object* list, const Value& listener) {
  std::vector<Value> items = listenersOf(vm, list);
  for (size_t i = 0; i < items.size(); ++i) {
    if (!vm.looseEquals(items[i], listener)) continue;
    vm.callMethod(Value(list), "splice", {Value(double(i)), Value(1)});
    return true;
  }
  return false;
}

Value addListenerFn(Vm& vm, const Value& self, const Args& args) {
  Object* list = listenerArray(self);
  if (!list) return Value(true);
  // Through the object's own removeListener, overrides included.
  vm.callMethod(self, "removeListener", {arg(args, 0)});
  if (vm.unwinding()) return Value();
  vm.callMethod(Value(list), "push", {arg(args, 0)});
  return Value(true);
}

Value removeListenerFn(Vm& vm, const Value& self, const Args& args) {
  Object* list = listenerArray(self);
  return Value(list != nullptr && removeListener(vm, list, arg(args, 0)));
}

// broadcastMessage(name, args...): true when there was someone to tell.
Value broadcastFn(Vm& vm, const Value& self, const Args& args) {
  Object* list = listenerArray(self);
  if (!list || args.empty()) return Value();
  std::string name = vm.toString(args[0]);
  Args rest(args.begin() + 1, args.end());
  // Only a listener that is something (not undefined or null) counts.
  bool told = false;
  for (const Value& l : listenersOf(vm, list)) {
    if (l.isNullish()) continue;
    told = true;
    // An empty name calls the listener itself, as CallMethod does.
    if (name.empty()) {
      vm.call(l, Value(), rest);
    } else {
      vm.callMethod(l, name, rest);
    }
    if (vm.unwinding()) return Value();
  }
  return told ? Value(true) : Value();
}

}  // namespace

void initializeBroadcaster(Vm& vm, Object* target) {
  Object* broadcaster = vm.global()->get("AsBroadcaster").asObject();
  if (!broadcaster) return;
  // The members as AsBroadcaster holds them now, overrides included.
  for (const char* name : {"broadcastMessage", "addListener", "removeListener"}) {
    target->define(name, broadcaster->get(name), DontEnum);
  }
  target->define("_listeners", Value(vm.newArray()), DontEnum);
}

void installAsBroadcaster(Vm& vm) {
  Object* proto = vm.newObject();
  NativeFunction* ctor =
      vm.defineClass("AsBroadcaster", proto, [](Vm&, const Value&, const Args&) -> Value { return Value(); });
  NativeFunction* broadcast = vm.defineMethod(ctor, "broadcastMessage", broadcastFn);
  // The listener methods are copied as AsBroadcaster holds them now;
  // broadcastMessage is always the built-in one.
  vm.defineMethod(ctor, "initialize", [broadcast](Vm& vm, const Value&, const Args& args) -> Value {
    if (Object* o = arg(args, 0).asObject()) {
      initializeBroadcaster(vm, o);
      o->define("broadcastMessage", Value(broadcast), DontEnum);
    }
    return Value();
  });
  vm.defineMethod(ctor, "addListener", addListenerFn);
  vm.defineMethod(ctor, "removeListener", removeListenerFn);
}

}  // namespace avm1
}  // namespace swf
