// Sound: a script's handle on the sound of a clip (or of the whole movie
// without one). Volume and channel mix belong to the clip (or the movie), so
// every Sound naming it shares them; it names its clip by path, so a renamed
// clip is lost to it until the name comes back. Sounds it starts are event
// sounds of the player's mixer; their position and completion follow the
// movie clock. loadSound is not supported: there is no streaming from files.
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
  // The attached sound (attachSound) and its length.
  std::string linkage;
  double durationMs = 0;
  // The latest play start began.
  uint64_t handle = 0;
  double startedMs = 0;
  double offsetMs = 0;
  int loops = 1;
};

// Volume, then the channels: left to left, left to right, right to right,
// right to left, in percent; the pan is read from and written to these.
const char* const kMixNames[4] = {"ll", "lr", "rr", "rl"};

SoundObject* soundOf(const Value& self) { return dynamic_cast<SoundObject*>(self.asObject()); }

// The sound when its clip (if it has one) is still found; owner is then
// that clip (nullptr for the whole movie).
SoundObject* live(Vm& vm, const Value& self, ActionTarget** owner = nullptr) {
  SoundObject* s = soundOf(self);
  ActionTarget* clip = nullptr;
  if (s && s->hasTarget) {
    clip = clipAtPath(vm, s->targetPath);
    if (!clip) return nullptr;
  }
  if (owner) *owner = clip;
  return s;
}

bool readMix(Vm& vm, const Value& self, double mix[5], ActionTarget** owner) {
  if (!live(vm, self, owner)) return false;
  if (*owner) {
    (*owner)->soundTransform(mix);
  } else if (vm.host()) {
    vm.host()->globalSoundTransform(mix);
  } else {
    return false;
  }
  return true;
}

void writeMix(Vm& vm, ActionTarget* owner, const double mix[5]) {
  if (owner) {
    owner->setSoundTransform(mix);
  } else if (vm.host()) {
    vm.host()->setGlobalSoundTransform(mix);
  }
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

Value getVolume(Vm& vm, const Value& self, const Args&) {
  double mix[5];
  ActionTarget* owner = nullptr;
  return readMix(vm, self, mix, &owner) ? Value(mix[0]) : Value();
}

// The player keeps whole numbers.
Value setVolume(Vm& vm, const Value& self, const Args& args) {
  double mix[5];
  ActionTarget* owner = nullptr;
  double v = vm.toInt32(arg(args, 0));
  if (args.empty() || !readMix(vm, self, mix, &owner)) return Value();
  mix[0] = v;
  writeMix(vm, owner, mix);
  return Value();
}

// Panning turns one side down; the other side and the crossed channels go
// back to plain.
Value setPan(Vm& vm, const Value& self, const Args& args) {
  double mix[5];
  ActionTarget* owner = nullptr;
  double pan = vm.toInt32(arg(args, 0));
  if (args.empty() || !readMix(vm, self, mix, &owner)) return Value();
  mix[1] = pan >= 0 ? 100 - pan : 100;
  mix[3] = pan >= 0 ? 100 : 100 + pan;
  mix[2] = mix[4] = 0;
  writeMix(vm, owner, mix);
  return Value();
}

Value getPan(Vm& vm, const Value& self, const Args&) {
  double mix[5];
  ActionTarget* owner = nullptr;
  if (!readMix(vm, self, mix, &owner)) return Value();
  return Value(mix[1] == 100 ? std::fabs(mix[3]) - 100 : 100 - std::fabs(mix[1]));
}

Value getTransform(Vm& vm, const Value& self, const Args&) {
  double mix[5];
  ActionTarget* owner = nullptr;
  if (!readMix(vm, self, mix, &owner)) return Value();
  Object* out = vm.newObject();
  for (int i = 0; i < 4; ++i) out->set(kMixNames[i], Value(mix[i + 1]));
  return Value(out);
}

// Only the channels the object names change.
Value setTransform(Vm& vm, const Value& self, const Args& args) {
  double mix[5];
  ActionTarget* owner = nullptr;
  Object* in = arg(args, 0).asObject();
  if (!in || !readMix(vm, self, mix, &owner)) return Value();
  for (int i = 0; i < 4; ++i) {
    if (in->has(kMixNames[i])) mix[i + 1] = vm.toInt32(in->get(kMixNames[i]));
    if (vm.unwinding()) return Value();
  }
  writeMix(vm, owner, mix);
  return Value();
}

// An unknown name leaves the sound attached before.
Value attachSound(Vm& vm, const Value& self, const Args& args) {
  ActionTarget* owner = nullptr;
  SoundObject* s = live(vm, self, &owner);
  std::string name = vm.toString(arg(args, 0));
  double duration = 0;
  if (!s || !vm.host() || args.empty() || !vm.host()->exportedSound(owner, name, &duration)) return Value();
  s->linkage = name;
  s->durationMs = duration;
  s->handle = 0;
  return Value();
}

// start([secondOffset[, loops]]): each loop plays from the offset on.
Value start(Vm& vm, const Value& self, const Args& args) {
  ActionTarget* owner = nullptr;
  SoundObject* s = live(vm, self, &owner);
  if (!s || s->linkage.empty() || !vm.host()) return Value();
  double offset = args.size() > 0 ? vm.toNumber(args[0]) * 1000 : 0;
  if (!(offset > 0)) offset = 0;
  double loops = args.size() > 1 ? vm.toNumber(args[1]) : 1;
  if (!(loops >= 1)) loops = 1;
  if (loops > 65535) loops = 65535;
  s->offsetMs = std::min(offset, s->durationMs);
  s->loops = int(loops);
  s->startedMs = vm.host()->movieTimeMs();
  s->handle = vm.host()->startSound(owner, s->linkage, s->offsetMs, s->loops, s);
  return Value();
}

// stop([linkageName]).
Value stop(Vm& vm, const Value& self, const Args& args) {
  ActionTarget* owner = nullptr;
  SoundObject* s = live(vm, self, &owner);
  if (!s || !vm.host()) return Value();
  vm.host()->stopSounds(owner, args.empty() ? std::string() : vm.toString(args[0]));
  return Value();
}

Value duration(Vm& vm, const Value& self, const Args&) {
  SoundObject* s = soundOf(self);
  if (!s || s->linkage.empty()) return Value();
  return Value(std::floor(s->durationMs));
}

// Milliseconds into the sound on the movie clock: within the current loop
// while it plays, where it was stopped, its length once it has ended.
Value position(Vm& vm, const Value& self, const Args&) {
  SoundObject* s = soundOf(self);
  if (!s || s->linkage.empty()) return Value();
  if (!s->handle || !vm.host()) return Value(0);
  double end = vm.host()->soundEndMs(s->handle);
  double elapsed = (end >= 0 ? end : vm.host()->movieTimeMs()) - s->startedMs;
  double loopMs = s->durationMs - s->offsetMs;
  if (!(loopMs > 0) || elapsed >= loopMs * s->loops) return Value(std::floor(s->durationMs));
  return Value(std::floor(s->offsetMs + std::fmod(std::max(elapsed, 0.0), loopMs)));
}

void defineMethods(Vm& vm, Object* proto) {
  NativeFn nothing = [](Vm&, const Value&, const Args&) { return Value(); };
  vm.defineMethod(proto, "getPan", getPan);
  vm.defineMethod(proto, "getTransform", getTransform);
  vm.defineMethod(proto, "getVolume", getVolume);
  vm.defineMethod(proto, "setPan", setPan);
  vm.defineMethod(proto, "setTransform", setTransform);
  vm.defineMethod(proto, "setVolume", setVolume);
  vm.defineMethod(proto, "stop", stop);
  vm.defineMethod(proto, "attachSound", attachSound);
  vm.defineMethod(proto, "start", start);
  // Version 6 added streamed sounds and their progress; nothing loads, so
  // the loading members report nothing.
  for (const char* name :
       {"getDuration", "setDuration", "getPosition", "setPosition", "loadSound", "getBytesLoaded", "getBytesTotal"}) {
    const std::string n = name;
    vm.defineMethod(proto, name, n == "getDuration" ? duration : n == "getPosition" ? position : nothing);
    proto->changeFlags(name, Version6, 0);
  }
  proto->addAccessor("duration", vm.newFunction(duration), vm.newFunction(nothing), DontEnum | Version6);
  proto->addAccessor("id3", vm.newFunction(nothing), vm.newFunction(nothing), DontEnum | Version6);
  proto->addAccessor("position", vm.newFunction(position), vm.newFunction(nothing), DontEnum | Version6);
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
