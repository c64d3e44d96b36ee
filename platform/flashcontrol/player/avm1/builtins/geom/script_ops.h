// The operators of ActionScript for built-in classes the real player ships
// as compiled script (flash.geom, flash.filters): their results follow the
// script's rules exactly, strings and undefined included.
#pragma once

#include <string>

#include "../../function.h"
#include "../../vm.h"

namespace swf {
namespace avm1 {

// `a + b` as Add2: text when either side is text, else numbers.
Value scriptAdd(Vm& vm, const Value& a, const Value& b);
inline Value scriptSub(Vm& vm, const Value& a, const Value& b) {
  double l = vm.toNumber(a);
  return Value(l - vm.toNumber(b));
}
inline Value scriptMul(Vm& vm, const Value& a, const Value& b) {
  double l = vm.toNumber(a);
  return Value(l * vm.toNumber(b));
}
// `a < b` (undefined when unordered), and `a >= b` as its negation.
inline Value scriptLess(Vm& vm, const Value& a, const Value& b) { return vm.lessThan(a, b); }
inline Value scriptNotLess(Vm& vm, const Value& a, const Value& b) { return Value(!vm.toBoolean(vm.lessThan(a, b))); }
// `a && b`: a when a is false, else b.
inline Value scriptAnd(Vm& vm, const Value& a, const Value& b) { return vm.toBoolean(a) ? b : a; }

// o.name, undefined for primitives without an object.
Value member(Vm& vm, const Value& o, const std::string& name);
void setMember(Vm& vm, const Value& o, const std::string& name, const Value& v);

// new _global.flash.geom.Point(...) and the like, looked up when called as
// script does (undefined when a movie replaced the class by something else).
Object* objectByPath(Vm& vm, const std::string& dottedName);
Value constructByPath(Vm& vm, const std::string& dottedName, const Args& args);

// `v instanceof _global.<dottedName>`.
bool isInstance(Vm& vm, const Value& v, const std::string& dottedName);

// A method as compiled script has it: enumerable, with its own prototype.
NativeFunction* scriptMethod(Vm& vm, Object* target, const std::string& name, NativeFn fn);
// A getter/setter pair on a prototype (setter may be null).
void scriptAccessor(Vm& vm, Object* target, const std::string& name, NativeFn getter, NativeFn setter);
// The class constructor at package.name with a prototype, as compiled script
// makes it.
NativeFunction* scriptClass(Vm& vm, const std::string& packageName, const std::string& name, Object* proto,
                            NativeFn ctor);

}  // namespace avm1
}  // namespace swf
