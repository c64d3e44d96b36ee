// Key: the key codes and a broadcaster for key listeners. Nothing is ever
// pressed: the player has no keyboard while it exports.
#include "../vm.h"
#include "builtins.h"

namespace swf {
namespace avm1 {

void installKeyClass(Vm& vm) {
  Object* key = vm.newObject();
  vm.global()->define("Key", Value(key), DontEnum);
  static const struct {
    const char* name;
    int code;
  } kCodes[] = {{"ALT", 18},    {"BACKSPACE", 8}, {"CAPSLOCK", 20}, {"CONTROL", 17}, {"DELETEKEY", 46},
                {"DOWN", 40},   {"END", 35},      {"ENTER", 13},    {"ESCAPE", 27},  {"HOME", 36},
                {"INSERT", 45}, {"LEFT", 37},     {"PGDN", 34},     {"PGUP", 33},    {"RIGHT", 39},
                {"SHIFT", 16},  {"SPACE", 32},    {"TAB", 9},       {"UP", 38}};
  for (const auto& c : kCodes) key->define(c.name, Value(c.code), 0);
  NativeFn none = [](Vm&, const Value&, const Args&) -> Value { return Value(false); };
  NativeFn zero = [](Vm&, const Value&, const Args&) -> Value { return Value(0); };
  vm.defineMethod(key, "isDown", none);
  vm.defineMethod(key, "isToggled", none);
  vm.defineMethod(key, "isAccessible", none);
  vm.defineMethod(key, "getAscii", zero);
  vm.defineMethod(key, "getCode", zero);
  initializeBroadcaster(vm, key);
  key->changeAllFlags(DontEnum | DontDelete | ReadOnly, 0);
}

}  // namespace avm1
}  // namespace swf
