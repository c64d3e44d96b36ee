// Error: a name and a message, both on the prototype until an instance
// writes its own; `throw` takes any value, so nothing else is needed.
#include "../vm.h"
#include "builtins.h"

namespace swf {
namespace avm1 {

void installErrorClass(Vm& vm) {
  Object* proto = vm.newObject();
  vm.defineClass("Error", proto, [](Vm& vm, const Value& self, const Args& args) -> Value {
    // Called without new, it still makes an Error.
    Object* o = self.asObject();
    if (!o) o = vm.newObject(vm.classPrototype("Error"));
    // An explicit undefined leaves the prototype's message showing.
    if (!arg(args, 0).isUndefined()) o->set("message", args[0]);
    return Value(o);
  });
  proto->define("name", Value("Error"), DontEnum);
  proto->define("message", Value("Error"), DontEnum);
  vm.defineMethod(proto, "toString", [](Vm& vm, const Value& self, const Args&) -> Value {
    Object* o = self.asObject();
    return Value(vm.toString(o ? o->get("message") : Value()));
  });
}

}  // namespace avm1
}  // namespace swf
