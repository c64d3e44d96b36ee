// Sound: a script's handle on the sound of a clip (or of the whole movie
// without one). It keeps its volume, pan and channel mix; it names its clip
// by path, so a renamed clip is lost to it until the name comes back.
#include <cmath>

#include "../../action_target.h"
#include "../../vm.h"
#include "../builtins.h"

namespace swf {
namespace avm1 {
namespace {

class SoundObject : public Object {
 public:
  SoundObject(Vm& vm, Object* proto) : Object(vm, proto) {}
  bool hasTarget = false;
  std::string targetPath;
  double volume = 100;
  // Left to left, left to right, right to right, right to left, in percent;
  // the pan is read from and written to these.
  double mix[4] = {100, 0, 100, 0};
};

const char* const kMixNames[4] = {"ll", "lr", "rr", "rl"};

SoundObject* soundOf(const Value& self) { return dynamic_cast<SoundObject*>(self.asObject()); }

// The sound when its clip (if it has one) is still found.
SoundObject* live(Vm& vm, const Value& self) {
  SoundObject* s = soundOf(self);
  if (!s || !s->hasTarget) return s;
  return clipAtPath(vm, s->targetPath) ? s : nullptr;
}

Value construct(Vm& vm, const Value& self, const Args& args) {
  Object* made = self.asObject();
  SoundObject* s = vm.make<SoundObject>(made ? made->proto() : nullptr);
  if (made) {
    for (const Property& p : made->ownProperties()) s->define(p.name, p.value, p.flags);
  }
  const Value& target = arg(args, 0);
  if (!target.isNullish()) {
    s->hasTarget = true;
    s->targetPath = vm.toString(target);
  }
  return Value(static_cast<Object*>(s));
}

using Field = double SoundObject::*;

NativeFn getter(Field field) {
  return [field](Vm& vm, const Value& self, const Args&) {
    SoundObject* s = live(vm, self);
    return s ? Value(s->*field) : Value();
  };
}

// The player keeps whole numbers.
NativeFn setter(Field field) {
  return [field](Vm& vm, const Value& self, const Args& args) {
    SoundObject* s = live(vm, self);
    double v = vm.toInt32(arg(args, 0));
    if (s && !args.empty()) s->*field = v;
    return Value();
  };
}

// Panning turns one side down; the other side and the crossed channels go
// back to plain.
Value setPan(Vm& vm, const Value& self, const Args& args) {
  SoundObject* s = live(vm, self);
  double pan = vm.toInt32(arg(args, 0));
  if (!s || args.empty()) return Value();
  s->mix[0] = pan >= 0 ? 100 - pan : 100;
  s->mix[2] = pan >= 0 ? 100 : 100 + pan;
  s->mix[1] = s->mix[3] = 0;
  return Value();
}

Value getPan(Vm& vm, const Value& self, const Args&) {
  SoundObject* s = live(vm, self);
  if (!s) return Value();
  return Value(s->mix[0] == 100 ? std::fabs(s->mix[2]) - 100 : 100 - std::fabs(s->mix[0]));
}

Value getTransform(Vm& vm, const Value& self, const Args&) {
  SoundObject* s = live(vm, self);
  if (!s) return Value();
  Object* out = vm.newObject();
  for (int i = 0; i < 4; ++i) out->set(kMixNames[i], Value(s->mix[i]));
  return Value(out);
}

// Only the channels the object names change.
Value setTransform(Vm& vm, const Value& self, const Args& args) {
  SoundObject* s = live(vm, self);
  Object* in = arg(args, 0).asObject();
  if (!s || !in) return Value();
  for (int i = 0; i < 4; ++i) {
    if (in->has(kMixNames[i])) s->mix[i] = vm.toInt32(in->get(kMixNames[i]));
  }
  return Value();
}

void defineMethods(Vm& vm, Object* proto) {
  NativeFn nothing = [](Vm&, const Value&, const Args&) { return Value(); };
  vm.defineMethod(proto, "getPan", getPan);
  vm.defineMethod(proto, "getTransform", getTransform);
  vm.defineMethod(proto, "getVolume", getter(&SoundObject::volume));
  vm.defineMethod(proto, "setPan", setPan);
  vm.defineMethod(proto, "setTransform", setTransform);
  vm.defineMethod(proto, "setVolume", setter(&SoundObject::volume));
  vm.defineMethod(proto, "stop", nothing);
  vm.defineMethod(proto, "attachSound", nothing);
  vm.defineMethod(proto, "start", nothing);
  // Version 6 added streamed sounds and their progress.
  for (const char* name :
       {"getDuration", "setDuration", "getPosition", "setPosition", "loadSound", "getBytesLoaded", "getBytesTotal"}) {
    vm.defineMethod(proto, name, nothing);
    proto->changeFlags(name, Version6, 0);
  }
  for (const char* name : {"duration", "id3", "position"}) {
    proto->addAccessor(name, vm.newFunction(nothing), vm.newFunction(nothing), DontEnum | Version6);
  }
}

}  // namespace

void installSoundClass(Vm& vm) {
  Object* proto = vm.newObject();
  vm.defineClass(
      "Sound", proto, [](Vm&, const Value&, const Args&) { return Value(); }, construct);
  defineMethods(vm, proto);
}

}  // namespace avm1
}  // namespace swf
