#include "function.h"

#include "vm.h"

namespace swf {
namespace avm1 {

Value FunctionObject::construct(const Args& args) {
  Object* self = vm().newObject(get("prototype").asObject());
  // Objects made by `new` remember their constructor as the real player does.
  self->define("__constructor__", Value(this), DontEnum);
  if (vm().version() < 7) self->define("constructor", Value(this), DontEnum);
  Value result = call(Value(self), args);
  return result.isObject() ? result : Value(self);
}

Value NativeFunction::call(const Value& thisValue, const Args& args, Object*) {
  return call_ ? call_(vm(), thisValue, args) : Value();
}

Value NativeFunction::construct(const Args& args) {
  if (!construct_) return FunctionObject::construct(args);
  Object* self = vm().newObject(get("prototype").asObject());
  self->define("__constructor__", Value(this), DontEnum);
  if (vm().version() < 7) self->define("constructor", Value(this), DontEnum);
  Value result = construct_(vm(), Value(self), args);
  return result.isObject() || keepConstructResult_ ? result : Value(self);
}

Value NativeFunction::constructOn(const Value& self, const Args& args) {
  if (construct_) return construct_(vm(), self, args);
  return call_ ? call_(vm(), self, args) : Value();
}

}  // namespace avm1
}  // namespace swf
