// Functions a movie defines with DefineFunction or DefineFunction2: their
// code (inside the movie's bytes, which outlive the Vm), parameters,
// register use and the scope chain they close over.
#pragma once

#include <memory>
#include <string>
#include <vector>

#include "function.h"
#include "scope.h"

namespace swf {
namespace avm1 {

class Interpreter;

// DefineFunction2 flags.
enum FunctionFlag : uint16_t {
  PreloadThis = 0x01,
  SuppressThis = 0x02,
  PreloadArguments = 0x04,
  SuppressArguments = 0x08,
  PreloadSuper = 0x10,
  SuppressSuper = 0x20,
  PreloadRoot = 0x40,
  PreloadParent = 0x80,
  PreloadGlobal = 0x100,
};

struct FunctionCode {
  std::string name;
  struct Param {
    uint8_t reg = 0;  // 0: a local variable
    std::string name;
  };
  std::vector<Param> params;
  const uint8_t* code = nullptr;
  size_t size = 0;
  bool isFunction2 = false;
  uint8_t registerCount = 0;
  uint16_t flags = 0;
  std::shared_ptr<const std::vector<std::string>> constants;
  int swfVersion = 0;
};

class ScriptFunction : public FunctionObject {
 public:
  ScriptFunction(Vm& vm, Object* proto, Interpreter& interpreter, FunctionCode code, Scope* scope, Object* target)
      : FunctionObject(vm, proto), interpreter_(interpreter), code_(std::move(code)), scope_(scope), target_(target) {}

  Value call(const Value& thisValue, const Args& args, Object* superProto = nullptr) override;
  const FunctionCode& code() const { return code_; }
  Scope* scope() const { return scope_; }
  Object* target() const { return target_; }
  void references(std::vector<Object*>& out) const override;

 private:
  Interpreter& interpreter_;
  FunctionCode code_;
  Scope* scope_;
  Object* target_;  // the timeline it was defined on
};

// `super` inside a method: members come from the prototype above the one
// the method was found on, and run on the same `this`.
class SuperObject : public Object {
 public:
  SuperObject(Vm& vm, Object* proto, Value self) : Object(vm, proto), self(std::move(self)) {}
  Value self;
  Object* home = nullptr;  // the prototype the running method was found on
  // super stands for its prototype, so its __proto__ is that prototype's.
  Object* protoAsRead() const override { return proto() ? proto()->protoAsRead() : nullptr; }
  void references(std::vector<Object*>& out) const override {
    Object::references(out);
    if (self.object) out.push_back(self.object);
    if (home) out.push_back(home);
  }
};

}  // namespace avm1
}  // namespace swf
