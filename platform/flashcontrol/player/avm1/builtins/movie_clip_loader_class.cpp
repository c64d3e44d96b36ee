// MovieClipLoader: loadClip, unloadClip and getProgress. A loader is a
// broadcaster that listens to itself, so its own onLoadStart, onLoadInit...
// hear its events as added listeners do.
#include "../action_target.h"
#include "../array_object.h"
#include "../load_target.h"
#include "../vm.h"
#include "builtins.h"

namespace swf {
namespace avm1 {
namespace {

// A step of a path from _level0 down: a child's name, _parent or _root.
ActionTarget* step(ActionTarget* at, const std::string& name, Vm& vm) {
  int level = 0;
  if (name == "_root") return at->rootTarget();
  if (name == "_parent") return at->parentTarget();
  if (levelOfTarget(name, level)) return vm.host() ? vm.host()->level(level) : nullptr;
  return at->childNamed(name);
}

// A clip given as itself, a level number or a path ("_level0.a", "/a/b").
ActionTarget* targetOf(Vm& vm, const Value& v, int& level) {
  level = -1;
  if (Object* o = v.asObject()) return o->clip();
  if (v.isNumber()) {
    level = toInt32(v.number);
    return vm.host() ? vm.host()->level(level) : nullptr;
  }
  if (!v.isString() || !vm.host()) return nullptr;
  if (levelOfTarget(v.text, level)) return vm.host()->level(level);
  ActionTarget* at = vm.host()->level(0);
  std::string name;
  for (size_t i = 0; at && i <= v.text.size(); ++i) {
    char c = i < v.text.size() ? v.text[i] : '.';
    if (c != '.' && c != '/') {
      name.push_back(c);
      continue;
    }
    if (!name.empty()) at = step(at, name, vm);
    name.clear();
  }
  return at;
}

}  // namespace

void installMovieClipLoaderClass(Vm& vm) {
  Object* proto = vm.newObject();
  vm.defineClass("MovieClipLoader", proto, [](Vm& vm, const Value& self, const Args&) -> Value {
    Object* o = self.asObject();
    if (!o) return Value();
    initializeBroadcaster(vm, o);
    if (Object* list = o->get("_listeners").asObject()) vm.callMethod(Value(list), "push", {self});
    return Value();
  });
  vm.defineMethod(proto, "loadClip", [](Vm& vm, const Value& self, const Args& args) -> Value {
    std::string url = vm.toString(arg(args, 0));
    int level = -1;
    ActionTarget* target = targetOf(vm, arg(args, 1), level);
    if (url.empty() || vm.unwinding()) return Value(false);
    if (target) {
      target->loadMovie(url, self.asObject());
    } else if (level >= 0 && vm.host()) {
      vm.host()->loadLevel(url, level, self.asObject());
    } else {
      return Value(false);
    }
    return Value(true);
  });
  vm.defineMethod(proto, "unloadClip", [](Vm& vm, const Value&, const Args& args) -> Value {
    int level = -1;
    ActionTarget* target = targetOf(vm, arg(args, 0), level);
    if (!target) return Value(false);
    target->unloadMovie();
    return Value(true);
  });
  vm.defineMethod(proto, "getProgress", [](Vm& vm, const Value&, const Args& args) -> Value {
    // A clip, a level or a path gives an object, its counts undefined when
    // nothing is there; anything else gives nothing.
    int level = -1;
    const Value target = arg(args, 0);
    ActionTarget* clip = targetOf(vm, target, level);
    if (!clip && !target.isNumber() && !target.isString()) return Value();
    Object* progress = vm.newObject();
    Value bytes = clip ? Value(double(clip->bytesTotal())) : Value();
    progress->set("bytesLoaded", bytes);
    progress->set("bytesTotal", bytes);
    return Value(progress);
  });
}

}  // namespace avm1
}  // namespace swf
