// Mouse: show, hide and a broadcaster for mouse listeners, which hear
// nothing while a movie exports.
#include "../vm.h"
#include "builtins.h"

namespace swf {
namespace avm1 {

void installMouseClass(Vm& vm) {
  Object* mouse = vm.newObject();
  vm.global()->define("Mouse", Value(mouse), DontEnum);
  // show and hide answer whether the pointer was visible before; it always is.
  NativeFn visible = [](Vm&, const Value&, const Args&) -> Value { return Value(1); };
  vm.defineMethod(mouse, "show", visible);
  vm.defineMethod(mouse, "hide", visible);
  initializeBroadcaster(vm, mouse);
  mouse->changeAllFlags(DontEnum | DontDelete | ReadOnly, 0);
}

}  // namespace avm1
}  // namespace swf
