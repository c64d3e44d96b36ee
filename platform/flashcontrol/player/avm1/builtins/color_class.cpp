// Color: reads and writes the color transform of the clip it was made for
// (a clip or a target path). Without a clip the getters give undefined.
#include <cmath>

#include "../action_target.h"
#include "../vm.h"
#include "builtins.h"

namespace swf {
namespace avm1 {
namespace {

// The names of getTransform's fields, in ActionTarget::colorTransform's order.
const char* const kFields[8] = {"ra", "ga", "ba", "aa", "rb", "gb", "bb", "ab"};

ActionTarget* targetOf(Vm& vm, const Value& self) {
  Object* o = self.asObject();
  if (!o) return nullptr;
  Value target = o->get("target");
  if (Object* t = target.asObject()) return t->clip();
  if (target.isString()) return clipAtPath(vm, target.text);
  return nullptr;
}

Value getRgb(Vm& vm, const Value& self, const Args&) {
  ActionTarget* clip = targetOf(vm, self);
  if (!clip) return Value();
  double c[8];
  clip->colorTransform(c);
  return Value(int32_t(uint32_t(int32_t(c[4])) << 16 | uint32_t(int32_t(c[5])) << 8 | uint32_t(int32_t(c[6]))));
}

Value setRgb(Vm& vm, const Value& self, const Args& args) {
  ActionTarget* clip = targetOf(vm, self);
  if (!clip || args.empty()) return Value();
  uint32_t rgb = uint32_t(vm.toInt32(args[0]));
  double c[8];
  clip->colorTransform(c);
  c[0] = c[1] = c[2] = 0;
  c[4] = (rgb >> 16) & 255;
  c[5] = (rgb >> 8) & 255;
  c[6] = rgb & 255;
  clip->setColorTransform(c);
  return Value();
}

Value getTransform(Vm& vm, const Value& self, const Args&) {
  ActionTarget* clip = targetOf(vm, self);
  if (!clip) return Value();
  double c[8];
  clip->colorTransform(c);
  Object* out = vm.newObject();
  for (int i : {0, 4, 1, 5, 2, 6, 3, 7}) out->set(kFields[i], Value(c[i]));
  return Value(out);
}

// Only the fields the object has change.
Value setTransform(Vm& vm, const Value& self, const Args& args) {
  ActionTarget* clip = targetOf(vm, self);
  Object* in = arg(args, 0).asObject();
  if (!clip || !in) return Value();
  double c[8];
  clip->colorTransform(c);
  for (int i = 0; i < 8; ++i) {
    if (in->has(kFields[i])) c[i] = vm.toNumber(in->get(kFields[i]));
  }
  if (!vm.unwinding()) clip->setColorTransform(c);
  return Value();
}

}  // namespace

// A dotted or slash path from the root ("_root.a.b", "/a/b", "a.b").
ActionTarget* clipAtPath(Vm& vm, const std::string& path) {
  ActionTarget* at = vm.host() ? vm.host()->level(0) : nullptr;
  size_t start = 0;
  while (at && start < path.size()) {
    size_t end = path.find_first_of("./", start);
    if (end == std::string::npos) end = path.size();
    std::string step = path.substr(start, end - start);
    if (!step.empty() && step != "_root" && step != "_level0")
      at = step == "_parent" ? at->parentTarget() : at->childNamed(step);
    start = end + 1;
  }
  return at;
}

void installColorClass(Vm& vm) {
  Object* proto = vm.newObject();
  vm.defineClass("Color", proto, [](Vm&, const Value& self, const Args& args) -> Value {
    if (Object* o = self.asObject()) o->define("target", arg(args, 0), DontEnum | DontDelete | ReadOnly);
    return Value();
  });
  vm.defineMethod(proto, "getRGB", getRgb);
  vm.defineMethod(proto, "setRGB", setRgb);
  vm.defineMethod(proto, "getTransform", getTransform);
  vm.defineMethod(proto, "setTransform", setTransform);
  proto->changeAllFlags(DontDelete | ReadOnly, 0);
}

}  // namespace avm1
}  // namespace swf
