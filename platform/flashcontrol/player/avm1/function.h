// Callable objects: functions written in C++ (the built-ins) and, in
// script_function.h, functions a movie defines.
#pragma once

#include <functional>
#include <string>
#include <vector>

#include "object.h"

namespace swf {
namespace avm1 {

using Args = std::vector<Value>;

class FunctionObject : public Object {
 public:
  FunctionObject(Vm& vm, Object* proto) : Object(vm, proto) {}
  FunctionObject* asFunction() override { return this; }
  const char* typeName() const override { return "function"; }

  // A call with `this`; superProto is what `super` names inside (the
  // prototype above the one the method was found on), when known.
  virtual Value call(const Value& thisValue, const Args& args, Object* superProto = nullptr) = 0;
  // `new F(args)`: an object whose __proto__ is F.prototype, the function
  // run on it; a constructor returning an object gives that object instead.
  virtual Value construct(const Args& args);
};

// The signature of built-ins: `self` is `this` (undefined for plain calls).
using NativeFn = std::function<Value(Vm& vm, const Value& self, const Args& args)>;

class NativeFunction : public FunctionObject {
 public:
  // constructFn answers `new`; without one `new` runs callFn on a fresh object.
  NativeFunction(Vm& vm, Object* proto, NativeFn callFn, NativeFn constructFn = nullptr)
      : FunctionObject(vm, proto), call_(std::move(callFn)), construct_(std::move(constructFn)) {}
  Value call(const Value& thisValue, const Args& args, Object* superProto = nullptr) override;
  Value construct(const Args& args) override;
  // `super(...)` in a subclass runs the construct side on the new object.
  Value constructOn(const Value& self, const Args& args);
  // `new` gives what constructFn returns even when it is no object: native
  // classes whose construction can fail give undefined.
  void keepConstructResult() { keepConstructResult_ = true; }

 private:
  bool keepConstructResult_ = false;
  NativeFn call_;
  NativeFn construct_;
};

// The argument at i, undefined past the end.
inline const Value& arg(const Args& args, size_t i) {
  static const Value kNone;
  return i < args.size() ? args[i] : kNone;
}

}  // namespace avm1
}  // namespace swf
