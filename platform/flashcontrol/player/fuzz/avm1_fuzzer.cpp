// libFuzzer target: any bytes as an action block, run by the script engine
// on a plain object, in a version taken from the first byte; then the
// collector runs over what it left.
#include <cstddef>
#include <cstdint>

#include "avm1/interpreter.h"
#include "avm1/vm.h"

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
  if (size < 1) return 0;
  int version = 4 + data[0] % 6;
  swf::avm1::Vm vm(version, nullptr);
  swf::avm1::Interpreter interpreter(vm);
  swf::avm1::Object* self = vm.newObject();
  interpreter.runBlock(data + 1, size - 1, self);
  // A second run sees what the first defined (functions, prototypes).
  interpreter.runBlock(data + 1, size - 1, self);
  vm.collect({self});
  return 0;
}
