// MovieClip.blendMode: read as the mode's name; set by name (exact case) or
// by number (its low byte), null or undefined meaning normal. Anything else
// leaves the mode as it was.
#include <cmath>
#include <cstdint>

#include "../vm.h"
#include "clip_object.h"

namespace swf {
namespace avm1 {
namespace {

constexpr const char* kModeNames[] = {"normal", "layer",    "multiply", "screen", "lighten", "darken",  "difference",
                                      "add",    "subtract", "invert",   "alpha",  "erase",   "overlay", "hardlight"};
constexpr int kModes = int(sizeof kModeNames / sizeof kModeNames[0]);

// The mode a value names, 1 to 14; 0 for none.
int modeOf(Vm& vm, const Value& v) {
  if (v.isNullish()) return 1;
  if (v.isNumber()) {
    double n = v.number;
    if (!std::isfinite(n)) return 0;
    int mode = int(uint32_t(int64_t(std::trunc(std::fmod(n, 4294967296.0)))) & 0xFF);
    return mode >= 1 && mode <= kModes ? mode : 0;
  }
  if (!v.isString()) return 0;
  std::string name = vm.toString(v);
  for (int i = 0; i < kModes; ++i) {
    if (name == kModeNames[i]) return i + 1;
  }
  return 0;
}

}  // namespace

void defineClipBlendMode(Vm& vm, Object* proto) {
  NativeFunction* getter = vm.newFunction([](Vm&, const Value& self, const Args&) {
    ActionTarget* t = self.asObject() ? self.object->clip() : nullptr;
    if (!t) return Value();
    int mode = t->blendMode();
    return Value(std::string(kModeNames[mode >= 1 && mode <= kModes ? mode - 1 : 0]));
  });
  NativeFunction* setter = vm.newFunction([](Vm& vm, const Value& self, const Args& args) {
    ActionTarget* t = self.asObject() ? self.object->clip() : nullptr;
    int mode = t ? modeOf(vm, arg(args, 0)) : 0;
    if (mode) t->setBlendMode(mode);
    return Value();
  });
  proto->addAccessor("blendMode", getter, setter, DontEnum | Version8);
}

}  // namespace avm1
}  // namespace swf
