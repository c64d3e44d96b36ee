// flash.net.FileReference (version 8 on): one file the user picks to upload
// or a place to download to. Its listeners sit on the prototype, as the
// real player's AsBroadcaster.initialize(prototype) leaves them; the file's
// details stay undefined since no file is ever chosen.
#include "../../vm.h"
#include "../builtins.h"
#include "../geom/script_ops.h"
#include "../packages.h"
#include "file_dialogs.h"

namespace swf {
namespace avm1 {

void installFileReferenceClass(Vm& vm) {
  Object* proto = vm.newObject();
  NativeFunction* ctor = vm.newFunction([](Vm&, const Value&, const Args&) { return Value(); });
  ctor->define("prototype", Value(proto), DontEnum | DontDelete);
  proto->define("constructor", Value(ctor), DontEnum);
  packageObject(vm, "flash.net")->define("FileReference", Value(ctor), 0);
  initializeBroadcaster(vm, proto);
  for (const char* name : {"creationDate", "creator", "modificationDate", "name", "size", "type"}) {
    scriptAccessor(
        vm, proto, name, [](Vm&, const Value&, const Args&) { return Value(); }, nullptr);
  }
  vm.defineMethod(proto, "browse",
                  [](Vm& vm, const Value& self, const Args&) -> Value { return openFileDialog(vm, self); });
  // The save dialog needs a place to download from.
  vm.defineMethod(proto, "download", [](Vm& vm, const Value& self, const Args& args) -> Value {
    if (args.empty()) return Value(false);
    return openFileDialog(vm, self);
  });
  // Nothing was chosen, so there is nothing to send.
  vm.defineMethod(proto, "upload", [](Vm&, const Value&, const Args&) -> Value { return Value(false); });
  vm.defineMethod(proto, "cancel", [](Vm&, const Value&, const Args&) -> Value { return Value(); });
}

}  // namespace avm1
}  // namespace swf
