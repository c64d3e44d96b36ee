// ASnative(category, index): the player's built-in functions by number, as
// movies and their class libraries reach the ones they hide (a version 5
// movie's Object.prototype.hasOwnProperty, for one).
#include <cstddef>

#include "../vm.h"
#include "builtins.h"

namespace swf {
namespace avm1 {
namespace {

struct NativeSlot {
  int category;
  int first;          // the index of names[0]
  const char* owner;  // a _global name, or "" for Object.prototype
  const char* names[20];
};

const NativeSlot kSlots[] = {
    {101,
     0,
     "",
     {"watch", "unwatch", "addProperty", "valueOf", "toString", "hasOwnProperty", "isPrototypeOf",
      "isPropertyEnumerable"}},
    {200,
     0,
     "Math",
     {"abs", "min", "max", "sin", "cos", "atan2", "tan", "exp", "log", "sqrt", "round", "random", "floor", "ceil",
      "atan", "asin", "acos", "pow"}},
    {301, 0, "LoadVars", {"load", "send", "sendAndLoad", "decode"}},
    {104, 200, "MovieClip", {"createTextField"}},
};

// A _global member whatever its flags (LoadVars is hidden before version 6).
Object* hiddenGlobal(Vm& vm, const char* name) {
  for (const Property& p : vm.global()->ownProperties()) {
    if (p.name == name) return p.value.asObject();
  }
  return nullptr;
}

// The function in a slot, read from the table whatever its flags (so a
// member hidden from the movie's version is found too).
Value nativeAt(Vm& vm, int category, int index) {
  for (const NativeSlot& slot : kSlots) {
    int at = index - slot.first;
    if (slot.category != category || at < 0 || at >= 20 || !slot.names[at]) continue;
    Object* owner = vm.objectPrototype();
    if (*slot.owner) {
      Object* ctor = hiddenGlobal(vm, slot.owner);
      // Classes keep their methods on the prototype, Math on itself.
      Value proto = ctor && ctor->asFunction() ? ctor->get("prototype") : Value();
      owner = proto.isObject() ? proto.object : ctor;
    }
    if (!owner) return Value();
    for (const Property& p : owner->ownProperties()) {
      if (p.name == slot.names[at]) return p.value;
    }
    return Value();
  }
  return Value();
}

}  // namespace

void installAsNative(Vm& vm) {
  vm.defineMethod(vm.global(), "ASnative", [](Vm& vm, const Value&, const Args& args) -> Value {
    if (args.size() < 2) return Value();
    int category = vm.toInt32(args[0]);
    if (vm.unwinding()) return Value();
    return nativeAt(vm, category, vm.toInt32(args[1]));
  });
}

}  // namespace avm1
}  // namespace swf
