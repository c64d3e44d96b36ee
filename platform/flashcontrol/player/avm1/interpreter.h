// Runs AVM1 byte code: frame and event actions on a timeline, and the
// functions scripts define. Every action of versions 4 to 8 with its stack
// effect; bad code ends its block, never the player.
#pragma once

#include <cstddef>
#include <cstdint>
#include <memory>
#include <string>
#include <vector>

#include "action_target.h"
#include "scope.h"
#include "script_function.h"
#include "vm.h"

namespace swf {
namespace avm1 {

// Values one activation's stack holds at most; pushes beyond are dropped.
constexpr size_t kMaxStackDepth = 1u << 16;

class Interpreter {
 public:
  explicit Interpreter(Vm& vm) : vm_(vm) {}

  // A block of actions on a timeline (`this` and the target are its clip).
  // Ends any exception or abort it left: the movie goes on.
  void runBlock(const uint8_t* code, size_t size, Object* clip);
  // A script function's body; see FunctionObject::call for home.
  Value callFunction(ScriptFunction& fn, const Value& thisValue, const Args& args, Object* home);
  // A function called from the player (an event handler): clears what the
  // call leaves behind.
  Value callFromPlayer(const Value& fn, const Value& thisValue, const Args& args);

  Vm& vm() { return vm_; }

 private:
  struct Activation;
  Object* functionBase(ScriptFunction& fn, const Value& thisValue);
  enum class Flow { Next, End, Return, Jump };

  Flow run(Activation& a, size_t begin, size_t end, size_t& jumpTo);
  Value* registerSlot(Activation& a, size_t r);
  Flow step(Activation& a, uint8_t op, const uint8_t* p, size_t length, size_t& next, size_t end, size_t& jumpTo);
  Flow doTry(Activation& a, const uint8_t* p, size_t length, size_t& next, size_t& jumpTo);
  Flow doWith(Activation& a, const uint8_t* p, size_t length, size_t& next, size_t& jumpTo);

  // Stack.
  void push(Activation& a, Value v);
  Value pop(Activation& a);
  Args popArgs(Activation& a);

  // Actions grouped by kind.
  void readPush(Activation& a, const uint8_t* p, size_t length);
  void readConstantPool(Activation& a, const uint8_t* p, size_t length);
  bool defineFunction(Activation& a, const uint8_t* p, size_t length, size_t& next, size_t end, bool v2);
  void arithmetic(Activation& a, uint8_t op);
  void stringAction(Activation& a, uint8_t op);
  void bitwise(Activation& a, uint8_t op);
  void objectAction(Activation& a, uint8_t op);
  void callAction(Activation& a, uint8_t op);
  void timelineAction(Activation& a, uint8_t op, const uint8_t* p, size_t length);
  void gotoFrame2(Activation& a, const uint8_t* p, size_t length);
  void getUrl2(Activation& a, const uint8_t* p, size_t length);
  void callFrame(Activation& a);
  void enumerate(Activation& a, const Value& object);

  // Names and paths.
  Value getVariable(Activation& a, const std::string& name);
  void setVariable(Activation& a, const std::string& name, const Value& v);
  void defineLocal(Activation& a, const std::string& name, const Value& v);
  bool deleteVariable(Activation& a, const std::string& name);
  // The object a target path names from the current target, or nullptr.
  // colonSteps: colons separate steps (target paths); member: the path must
  // lead to an object holding it, else the walk starts again further out.
  Object* resolvePath(Activation& a, const std::string& path, bool colonSteps = false,
                      const std::string* member = nullptr);
  Object* walkPathFrom(Activation& a, const std::string& path, Scope* from, Scope*& holder, bool colonSteps);
  // Splits "path:var" / "a.b.var"; false when the name is plain.
  bool splitVariablePath(Activation& a, const std::string& name, Object*& owner, std::string& var,
                         bool reading = false);
  Value lookupPlain(Activation& a, const std::string& name, bool& found);
  // The scope a plain name is found in (nullptr: none), and its object.
  Scope* scopeOf(Activation& a, const std::string& name);
  Object* scopeHolding(Activation& a, const std::string& name);
  // The `this` of a function called by that name: the scope object it resolves
  // in (undefined for _global, paths, and version 5 timelines).
  Value localHolder(Activation& a, const std::string& name);
  Value getMember(Activation& a, const Value& object, const std::string& name);
  void setMember(const Value& object, const std::string& name, const Value& v);
  void setTarget(Activation& a, const std::string& path);
  Scope* targetBelow(Activation& a);
  ActionTarget* targetClip(Activation& a);
  Object* rootObject(Activation& a);
  std::string targetPathOf(Object* clipObject);

  Vm& vm_;
  Activation* running_ = nullptr;  // the innermost activation running
};

}  // namespace avm1
}  // namespace swf
