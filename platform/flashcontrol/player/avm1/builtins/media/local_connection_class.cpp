// LocalConnection: messages between movies playing side by side. An export
// plays one movie alone, so a connection only ever claims its name here.
#include "../../vm.h"
#include "../builtins.h"

namespace swf {
namespace avm1 {
namespace {

// Names in use, as a hidden object of the class (lower case, as the
// player compares them).
Object* namesInUse(Vm& vm, Object* ctor) {
  Object* names = ctor->get("__names").asObject();
  if (!names) {
    names = vm.newObject();
    ctor->define("__names", Value(names), DontEnum | DontDelete);
  }
  return names;
}

std::string lower(std::string s) {
  for (char& c : s) c = char(c >= 'A' && c <= 'Z' ? c + 32 : c);
  return s;
}

}  // namespace

void installLocalConnectionClass(Vm& vm) {
  Object* proto = vm.newObject();
  NativeFunction* ctor =
      vm.defineClass("LocalConnection", proto, [](Vm&, const Value&, const Args&) { return Value(); });
  vm.defineMethod(proto, "connect", [ctor](Vm& vm, const Value& self, const Args& args) -> Value {
    Object* o = self.asObject();
    if (!o || !arg(args, 0).isString() || !o->get("__name").isUndefined()) return Value(false);
    std::string name = lower(vm.toString(arg(args, 0)));
    Object* names = namesInUse(vm, ctor);
    if (name.empty() || names->hasOwn(name)) return Value(false);
    names->define(name, Value(true));
    o->define("__name", Value(name), DontEnum);
    return Value(true);
  });
  vm.defineMethod(proto, "close", [ctor](Vm& vm, const Value& self, const Args&) -> Value {
    Object* o = self.asObject();
    if (!o || o->get("__name").isUndefined()) return Value();
    namesInUse(vm, ctor)->remove(vm.toString(o->get("__name")));
    o->remove("__name");
    return Value();
  });
  vm.defineMethod(proto, "send", [](Vm&, const Value&, const Args& args) -> Value {
    return Value(args.size() >= 2 && arg(args, 0).isString() && arg(args, 1).isString());
  });
  vm.defineMethod(proto, "domain", [](Vm&, const Value&, const Args&) -> Value { return Value("localhost"); });
  proto->changeAllFlags(DontDelete, 0);
  vm.global()->changeFlags("LocalConnection", Version6, 0);
}

}  // namespace avm1
}  // namespace swf
