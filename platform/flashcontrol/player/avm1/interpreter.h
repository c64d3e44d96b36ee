// Runs one block of AVM1 frame actions against a timeline. Only the actions
// that drive timelines (and the stack work and branches that lead to them)
// take effect; everything else is stepped over.
#pragma once

#include <cstddef>
#include <cstdint>
#include <string>
#include <vector>

#include "action_target.h"
#include "value.h"

namespace swf {
namespace avm1 {

constexpr size_t kMaxStackDepth = 1u << 16;

class Interpreter {
 public:
  Interpreter(int swfVersion, ActionTarget& self) : version_(swfVersion), self_(self), target_(&self) {}
  // Executes at most maxActions actions (a looping block ends there) and
  // returns how many it executed.
  int run(const uint8_t* code, size_t size, int maxActions);

 private:
  bool step(uint8_t code, const uint8_t* payload, size_t length, size_t& next, size_t size);
  void push(Value v);
  Value pop();
  void readPush(const uint8_t* p, size_t length);
  void readConstantPool(const uint8_t* p, size_t length);
  void arithmetic(uint8_t code);
  void compare(uint8_t code);
  void gotoFrame2(const uint8_t* p, size_t length);
  void gotoFrameValue(ActionTarget* at, const std::string& frame, bool andPlay, int bias);
  void setTarget(const std::string& path);

  int version_;
  ActionTarget& self_;
  ActionTarget* target_;  // nullptr after a SetTarget to a missing clip
  std::vector<Value> stack_;
  std::vector<std::string> constants_;
};

}  // namespace avm1
}  // namespace swf
