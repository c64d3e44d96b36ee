// Function: call and apply.
#include "../array_object.h"
#include "../vm.h"
#include "builtins.h"

namespace swf {
namespace avm1 {
namespace {

// `this` of call/apply: undefined and null give _global.
Value thisArgument(Vm& vm, const Args& args) {
  return args.empty() || args[0].isNullish() ? Value(vm.global()) : args[0];
}

Value functionCall(Vm& vm, const Value& self, const Args& args) {
  Object* f = self.asObject();
  if (!f || !f->asFunction()) return Value();
  Args rest(args.size() > 1 ? args.begin() + 1 : args.end(), args.end());
  return vm.call(f->asFunction(), thisArgument(vm, args), rest);
}

Value functionApply(Vm& vm, const Value& self, const Args& args) {
  Object* f = self.asObject();
  if (!f || !f->asFunction()) return Value();
  Args list;
  if (Object* a = arg(args, 1).asObject()) {
    uint32_t n = toUint32(vm.toNumber(a->get("length")));
    if (n > 65535) n = 65535;
    for (uint32_t i = 0; i < n; ++i) list.push_back(a->get(std::to_string(i)));
  }
  return vm.call(f->asFunction(), thisArgument(vm, args), list);
}

}  // namespace

void installFunctionClass(Vm& vm) {
  Object* proto = vm.functionPrototype();
  vm.defineClass(
      "Function", proto,
      [](Vm& vm, const Value&, const Args& args) -> Value {
        // With nothing to give back, an object that inherits nothing.
        return args.empty() ? Value(vm.newObject(nullptr)) : args[0];
      },
      nullptr, DontEnum | Version6);
  vm.defineMethod(proto, "call", functionCall);
  vm.defineMethod(proto, "apply", functionApply);
  proto->changeFlags("call", Version6, 0);
  proto->changeFlags("apply", Version6, 0);
}

}  // namespace avm1
}  // namespace swf
