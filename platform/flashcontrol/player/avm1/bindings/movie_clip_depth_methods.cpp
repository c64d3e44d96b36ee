// MovieClip.prototype's methods about depths and where a clip comes from:
// swapDepths, getInstanceAtDepth, getSWFVersion.
#include "../vm.h"
#include "clip_object.h"

namespace swf {
namespace avm1 {
namespace {

ActionTarget* clipOf(const Value& v) {
  Object* o = v.asObject();
  return o ? o->clip() : nullptr;
}

// A target path in text, from the clip that names it: "../a", "a/b", "a.b".
ActionTarget* clipAtPath(ActionTarget* from, const std::string& path) {
  ActionTarget* at = from;
  size_t i = 0;
  if (!path.empty() && path[0] == '/') {
    at = from->rootTarget();
    i = 1;
  }
  while (at && i <= path.size()) {
    size_t end = path.find_first_of("/.", i);
    if (end == std::string::npos) end = path.size();
    if (path.compare(i, 2, "..") == 0 && (i + 2 == path.size() || path[i + 2] == '/')) end = i + 2;
    std::string step = path.substr(i, end - i);
    if (step == "..") {
      at = at->parentTarget();
    } else if (!step.empty()) {
      at = at->childNamed(step);
    }
    i = end + 1;
  }
  return at == from ? nullptr : at;
}

// Clips swap only with their siblings; a number (or what converts to one)
// names a depth, wrapped to 32 bits.
Value swapDepths(Vm& vm, const Value& self, const Args& args) {
  ActionTarget* t = clipOf(self);
  if (!t || args.empty() || args[0].isUndefined()) return Value();
  ActionTarget* other = clipOf(args[0]);
  if (!other && args[0].isString()) other = clipAtPath(t, args[0].text);
  if (other) {
    if (other != t && other->parentTarget() == t->parentTarget()) t->swapDepths(other->depth());
    return Value();
  }
  int32_t depth = vm.toInt32(args[0]);
  if (vm.unwinding()) return Value();
  t->swapDepths(depth);
  return Value();
}

Value instanceAtDepth(Vm& vm, const Value& self, const Args& args) {
  ActionTarget* t = clipOf(self);
  if (!t || args.empty() || args[0].isUndefined()) return Value();
  int32_t depth = vm.toInt32(args[0]);
  if (vm.unwinding()) return Value();
  ActionTarget* child = t->childAtDepth(depth);
  Object* o = child ? child->scriptObject() : nullptr;
  return o ? Value(o) : Value();
}

}  // namespace

void installMovieClipDepthMethods(Vm& vm, Object* proto) {
  vm.defineMethod(proto, "swapDepths", swapDepths);
  vm.defineMethod(proto, "getInstanceAtDepth", instanceAtDepth);
  vm.defineMethod(proto, "getSWFVersion", [](Vm&, const Value& self, const Args&) {
    ActionTarget* t = clipOf(self);
    return Value(double(t ? t->swfVersion() : -1));
  });
  proto->changeFlags("getInstanceAtDepth", Version7, 0);
  // The pointer a clip with mouse handlers shows (no pointer is drawn here).
  proto->define("useHandCursor", Value(true), DontEnum);
}

}  // namespace avm1
}  // namespace swf
