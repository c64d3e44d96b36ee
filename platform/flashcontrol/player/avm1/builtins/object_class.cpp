// Object: the constructor, Object.prototype's methods and registerClass.
#include "../array_object.h"
#include "../vm.h"
#include "builtins.h"

namespace swf {
namespace avm1 {
namespace {

Object* selfObject(Vm& vm, const Value& self) { return self.isObject() ? self.object : vm.toObject(self); }

Value objectToString(Vm&, const Value& self, const Args&) {
  Object* o = self.asObject();
  return Value(std::string(o && o->asFunction() ? "[type Function]" : "[object Object]"));
}

Value addProperty(Vm& vm, const Value& self, const Args& args) {
  Object* o = selfObject(vm, self);
  std::string name = vm.toString(arg(args, 0));
  Object* g = arg(args, 1).asObject();
  Object* s = arg(args, 2).asObject();
  if (!o || name.empty() || !g || !g->asFunction()) return Value(false);
  FunctionObject* setter = s ? s->asFunction() : nullptr;
  if (arg(args, 2).isObject() && !setter) return Value(false);
  if (!arg(args, 2).isObject() && !arg(args, 2).isNull()) return Value(false);
  return Value(o->addAccessor(name, g->asFunction(), setter));
}

// The empty name is never own, even when a movie stored under it.
Value hasOwnProperty(Vm& vm, const Value& self, const Args& args) {
  Object* o = selfObject(vm, self);
  if (!o || args.empty()) return Value(false);
  std::string name = vm.toString(args[0]);
  return Value(!name.empty() && o->hasOwn(name));
}

Value isPropertyEnumerable(Vm& vm, const Value& self, const Args& args) {
  Object* o = selfObject(vm, self);
  if (!o || args.empty()) return Value(false);
  Property* p = o->findOwn(vm.toString(args[0]));
  return Value(p && !(p->flags & DontEnum));
}

Value isPrototypeOf(Vm&, const Value& self, const Args& args) {
  Object* o = self.asObject();
  Object* v = arg(args, 0).asObject();
  if (!o || !v) return Value(false);
  int guard = 0;
  for (Object* p = v->proto(); p && guard < 256; p = p->proto(), ++guard) {
    if (p == o) return Value(true);
  }
  return Value(false);
}

Value watch(Vm& vm, const Value& self, const Args& args) {
  Object* o = self.asObject();
  Object* cb = arg(args, 1).asObject();
  if (!o || args.empty() || !cb || !cb->asFunction()) return Value(false);
  return Value(o->watch(vm.toString(args[0]), cb->asFunction(), arg(args, 2)));
}

Value unwatch(Vm& vm, const Value& self, const Args& args) {
  Object* o = self.asObject();
  return Value(o && !args.empty() && o->unwatch(vm.toString(args[0])));
}

Value registerClass(Vm& vm, const Value&, const Args& args) {
  if (args.size() < 2) return Value(false);
  std::string name = vm.toString(args[0]);
  Object* ctor = args[1].asObject();
  if (ctor && ctor->asFunction()) {
    vm.classRegistry()->define(name, args[1]);
  } else {
    vm.classRegistry()->remove(name);
  }
  return Value(true);
}

}  // namespace

void installObjectClass(Vm& vm) {
  Object* proto = vm.objectPrototype();
  NativeFunction* ctor = vm.defineClass(
      "Object", proto,
      [](Vm& vm, const Value&, const Args& args) -> Value {
        // Called with nothing to box, it gives an object that inherits nothing.
        Object* o = args.empty() ? nullptr : vm.toObject(args[0]);
        return Value(o ? o : vm.newObject(nullptr));
      },
      [](Vm& vm, const Value& self, const Args& args) -> Value {
        Object* o = args.empty() ? nullptr : vm.toObject(args[0]);
        return o ? Value(o) : self;
      });
  vm.defineMethod(ctor, "registerClass", registerClass);
  vm.defineMethod(proto, "toString", objectToString);
  vm.defineMethod(proto, "toLocaleString", objectToString);
  vm.defineMethod(proto, "valueOf", [](Vm& vm, const Value& self, const Args&) -> Value {
    Object* o = selfObject(vm, self);
    return o ? Value(o) : Value();
  });
  vm.defineMethod(proto, "addProperty", addProperty);
  vm.defineMethod(proto, "hasOwnProperty", hasOwnProperty);
  vm.defineMethod(proto, "isPropertyEnumerable", isPropertyEnumerable);
  vm.defineMethod(proto, "isPrototypeOf", isPrototypeOf);
  vm.defineMethod(proto, "watch", watch);
  vm.defineMethod(proto, "unwatch", unwatch);
  // Methods later versions added stay hidden from older movies.
  proto->changeFlags("hasOwnProperty", Version6, 0);
  proto->changeFlags("isPropertyEnumerable", Version6, 0);
  proto->changeFlags("isPrototypeOf", Version6, 0);
  proto->changeFlags("watch", Version6, 0);
  proto->changeFlags("unwatch", Version6, 0);
  proto->changeFlags("addProperty", Version6, 0);
  ctor->changeFlags("registerClass", Version6, 0);
}

}  // namespace avm1
}  // namespace swf
