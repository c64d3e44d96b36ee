// PrintJob: an export has no printer, so a job never starts (the dialog a
// player shows would be declined) and its page sizes stay 0.
#include "../vm.h"
#include "builtins.h"

namespace swf {
namespace avm1 {

void installPrintJobClass(Vm& vm) {
  Object* proto = vm.newObject();
  vm.defineClass(
      "PrintJob", proto, [](Vm&, const Value&, const Args&) -> Value { return Value(); }, nullptr, DontEnum | Version7);
  NativeFn declined = [](Vm&, const Value&, const Args&) -> Value { return Value(false); };
  vm.defineMethod(proto, "start", declined);
  vm.defineMethod(proto, "addPage", declined);
  vm.defineMethod(proto, "send", [](Vm&, const Value&, const Args&) -> Value { return Value(); });
  // Read-only sizes of the chosen paper, enumerable as the real player's.
  NativeFunction* zero = vm.newFunction([](Vm&, const Value&, const Args&) -> Value { return Value(0); });
  for (const char* name : {"paperHeight", "paperWidth", "pageHeight", "pageWidth", "orientation"}) {
    proto->addAccessor(name, zero, nullptr);
  }
}

}  // namespace avm1
}  // namespace swf
