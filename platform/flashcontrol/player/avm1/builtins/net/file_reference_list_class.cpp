// flash.net.FileReferenceList (version 8 on): several files the user picks.
// A broadcaster like FileReference; fileList stays undefined as no dialog
// is ever answered.
#include "../../vm.h"
#include "../builtins.h"
#include "../packages.h"
#include "file_dialogs.h"

namespace swf {
namespace avm1 {

void installFileReferenceListClass(Vm& vm) {
  Object* proto = vm.newObject();
  NativeFunction* ctor = vm.newFunction([](Vm&, const Value&, const Args&) { return Value(); });
  ctor->define("prototype", Value(proto), DontEnum | DontDelete);
  proto->define("constructor", Value(ctor), DontEnum);
  packageObject(vm, "flash.net")->define("FileReferenceList", Value(ctor), 0);
  initializeBroadcaster(vm, proto);
  vm.defineMethod(proto, "browse",
                  [](Vm& vm, const Value& self, const Args&) -> Value { return openFileDialog(vm, self); });
}

}  // namespace avm1
}  // namespace swf
