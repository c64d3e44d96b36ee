#include "builtins.h"

#include "../timers.h"

namespace swf {
namespace avm1 {

void installBuiltins(Vm& vm) {
  installObjectClass(vm);
  installFunctionClass(vm);
  installGlobalFunctions(vm);
  installArrayClass(vm);
  installStringClass(vm);
  installNumberClass(vm);
  installBooleanClass(vm);
  installMathClass(vm);
  installBroadcaster(vm);
  installErrorClass(vm);
  installTimerFunctions(vm);
}

}  // namespace avm1
}  // namespace swf
