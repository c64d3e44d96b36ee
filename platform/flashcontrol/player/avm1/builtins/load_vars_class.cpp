// LoadVars: form variables as properties, loaded from files beside the
// movie, written as "name=value&..." text.
#include "../vm.h"
#include "builtins.h"
#include "data_load.h"
#include "url_text.h"

namespace swf {
namespace avm1 {
namespace {

Value load(Vm& vm, const Value& self, const Args& args) {
  Object* o = self.asObject();
  if (!o || arg(args, 0).isNullish()) return Value(false);
  startDataLoad(vm, vm.toString(args[0]), o);
  return Value(true);
}

// sendAndLoad(url, target, method): what target receives loads; sending
// goes nowhere without a server.
Value sendAndLoad(Vm& vm, const Value& self, const Args& args) {
  Object* target = arg(args, 1).asObject();
  if (!self.asObject() || arg(args, 0).isNullish() || !target) return Value(false);
  startDataLoad(vm, vm.toString(args[0]), target);
  return Value(true);
}

// The text arrived: decode it and tell onLoad (false when nothing came).
Value onData(Vm& vm, const Value& self, const Args& args) {
  Object* o = self.asObject();
  if (!o) return Value();
  if (arg(args, 0).isUndefined()) return vm.callMethod(self, "onLoad", {Value(false)});
  decodeVariables(vm, o, vm.toString(args[0]));
  if (vm.unwinding()) return Value();
  o->set("loaded", Value(true));
  return vm.callMethod(self, "onLoad", {Value(true)});
}

Value bytes(const Value& self, bool total) {
  Object* o = self.asObject();
  bool known = false;
  double n = o ? bytesLoaded(o, total, known) : 0;
  return known ? Value(n) : Value();
}

}  // namespace

void installLoadVarsClass(Vm& vm) {
  Object* proto = vm.newObject();
  vm.defineClass(
      "LoadVars", proto, [](Vm&, const Value&, const Args&) -> Value { return Value(); }, nullptr, DontEnum | Version6);
  proto->define("contentType", Value("application/x-www-form-urlencoded"), DontEnum);
  vm.defineMethod(proto, "load", load);
  vm.defineMethod(proto, "sendAndLoad", sendAndLoad);
  vm.defineMethod(proto, "send", [](Vm& vm, const Value& self, const Args& args) -> Value {
    Object* o = self.asObject();
    if (!o || arg(args, 0).isNullish() || !vm.host()) return Value(false);
    std::string query = encodeVariables(vm, o);
    if (vm.unwinding()) return Value();
    std::string url = vm.toString(args[0]);
    vm.host()->getUrl(query.empty() ? url : url + "?" + query, vm.toString(arg(args, 1)));
    return Value(true);
  });
  vm.defineMethod(proto, "decode", [](Vm& vm, const Value& self, const Args& args) -> Value {
    if (Object* o = self.asObject(); o && !arg(args, 0).isNullish()) decodeVariables(vm, o, vm.toString(args[0]));
    return Value();
  });
  vm.defineMethod(proto, "toString", [](Vm& vm, const Value& self, const Args&) -> Value {
    Object* o = self.asObject();
    if (!o) return Value();
    std::string text = encodeVariables(vm, o);
    return vm.unwinding() ? Value() : Value(text);
  });
  vm.defineMethod(proto, "getBytesLoaded",
                  [](Vm&, const Value& self, const Args&) -> Value { return bytes(self, false); });
  vm.defineMethod(proto, "getBytesTotal",
                  [](Vm&, const Value& self, const Args&) -> Value { return bytes(self, true); });
  vm.defineMethod(proto, "addRequestHeader", [](Vm&, const Value&, const Args&) -> Value { return Value(); });
  vm.defineMethod(proto, "onData", onData);
  vm.defineMethod(proto, "onLoad", [](Vm&, const Value&, const Args&) -> Value { return Value(); });
}

}  // namespace avm1
}  // namespace swf
