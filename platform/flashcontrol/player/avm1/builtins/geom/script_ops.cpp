#include "script_ops.h"

#include "../packages.h"

namespace swf {
namespace avm1 {

Value scriptAdd(Vm& vm, const Value& a, const Value& b) {
  Value pa = vm.toPrimitive(a);
  Value pb = vm.toPrimitive(b);
  std::string path;
  if (pa.isObject() && !pa.object->fixedText(path)) pa = a;
  if (pb.isObject() && !pb.object->fixedText(path)) pb = b;
  if (pa.isString() || pb.isString()) {
    std::string left = vm.toString(pa);
    return Value(left + vm.toString(pb));
  }
  double left = vm.toNumber(pa);
  return Value(left + vm.toNumber(pb));
}

Value member(Vm& vm, const Value& o, const std::string& name) {
  Object* obj = vm.toObject(o);
  return obj ? obj->get(name) : Value();
}

void setMember(Vm&, const Value& o, const std::string& name, const Value& v) {
  if (Object* obj = o.asObject()) obj->set(name, v);
}

Object* objectByPath(Vm& vm, const std::string& dottedName) {
  Value at(vm.global());
  size_t start = 0;
  while (start <= dottedName.size() && at.isObject()) {
    size_t dot = dottedName.find('.', start);
    if (dot == std::string::npos) dot = dottedName.size();
    at = at.object->get(dottedName.substr(start, dot - start));
    start = dot + 1;
  }
  return at.asObject();
}

Value constructByPath(Vm& vm, const std::string& dottedName, const Args& args) {
  Object* at = objectByPath(vm, dottedName);
  FunctionObject* f = at ? at->asFunction() : nullptr;
  return f ? f->construct(args) : Value();
}

bool isInstance(Vm& vm, const Value& v, const std::string& dottedName) {
  return vm.instanceOf(v, objectByPath(vm, dottedName));
}

NativeFunction* scriptMethod(Vm& vm, Object* target, const std::string& name, NativeFn fn) {
  NativeFunction* f = vm.newFunction(std::move(fn));
  Object* proto = vm.newObject();
  proto->define("constructor", Value(f), DontEnum);
  f->define("prototype", Value(proto), DontEnum | DontDelete);
  target->define(name, Value(f), 0);
  return f;
}

void scriptAccessor(Vm& vm, Object* target, const std::string& name, NativeFn getter, NativeFn setter) {
  NativeFunction* g = vm.newFunction(std::move(getter));
  NativeFunction* s = setter ? vm.newFunction(std::move(setter)) : nullptr;
  target->addAccessor(name, g, s, 0);
}

NativeFunction* scriptClass(Vm& vm, const std::string& packageName, const std::string& name, Object* proto,
                            NativeFn ctor) {
  NativeFunction* f = vm.newFunction(std::move(ctor));
  f->define("prototype", Value(proto), DontEnum | DontDelete);
  proto->define("constructor", Value(f), DontEnum);
  packageObject(vm, packageName)->define(name, Value(f), 0);
  return f;
}

}  // namespace avm1
}  // namespace swf
