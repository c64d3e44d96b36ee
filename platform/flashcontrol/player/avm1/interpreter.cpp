#include "interpreter.h"

#include <cmath>
#include <cstring>

#include "action_codes.h"
#include "target_path.h"

namespace swf {
namespace avm1 {
namespace {

uint16_t u16At(const uint8_t* p) { return uint16_t(p[0] | p[1] << 8); }

// Frame numbers from the stack are 1-based and may be anything a double holds.
bool frameIndexOf(double n, int bias, int& frame0) {
  if (n != n) return false;
  if (n < -1e9) n = -1e9;
  if (n > 1e9) n = 1e9;
  frame0 = int(std::floor(n)) - 1 + bias;
  return true;
}

std::string readString(const uint8_t* p, size_t length, size_t& pos) {
  std::string s;
  while (pos < length && p[pos] != 0) s.push_back(char(p[pos++]));
  ++pos;
  return s;
}

}  // namespace

void Interpreter::push(Value v) {
  if (stack_.size() < kMaxStackDepth) stack_.push_back(std::move(v));
}

Value Interpreter::pop() {
  if (stack_.empty()) return Value::undefined();
  Value v = std::move(stack_.back());
  stack_.pop_back();
  return v;
}

int Interpreter::run(const uint8_t* code, size_t size, int maxActions) {
  size_t pos = 0;
  int executed = 0;
  while (pos < size && executed < maxActions) {
    uint8_t op = code[pos];
    if (op == uint8_t(ActionCode::End)) break;
    size_t length = 0;
    size_t payload = pos + 1;
    if (op >= 0x80) {
      if (size - pos < 3) break;
      length = u16At(code + pos + 1);
      payload = pos + 3;
      if (length > size - payload) break;
    }
    size_t next = payload + length;
    ++executed;
    if (!step(op, code + payload, length, next, size)) break;
    pos = next;
  }
  return executed;
}

// False ends the block (a branch out of it).
bool Interpreter::step(uint8_t op, const uint8_t* p, size_t length, size_t& next, size_t size) {
  switch (ActionCode(op)) {
    case ActionCode::NextFrame: if (target_) target_->nextFrame(); break;
    case ActionCode::PrevFrame: if (target_) target_->prevFrame(); break;
    case ActionCode::Play: if (target_) target_->play(); break;
    case ActionCode::Stop: if (target_) target_->stop(); break;
    case ActionCode::GotoFrame:
      if (target_ && length >= 2) target_->gotoFrame(u16At(p), false);
      break;
    case ActionCode::GoToLabel: {
      size_t pos = 0;
      std::string label = readString(p, length, pos);
      if (target_) target_->gotoLabel(label, false);
      break;
    }
    case ActionCode::GotoFrame2: gotoFrame2(p, length); break;
    case ActionCode::SetTarget: {
      size_t pos = 0;
      setTarget(readString(p, length, pos));
      break;
    }
    case ActionCode::SetTarget2: setTarget(pop().toString(version_)); break;
    case ActionCode::Push: readPush(p, length); break;
    case ActionCode::ConstantPool: readConstantPool(p, length); break;
    case ActionCode::Pop: pop(); break;
    case ActionCode::PushDuplicate: {
      Value v = stack_.empty() ? Value::undefined() : stack_.back();
      push(v);
      break;
    }
    case ActionCode::StackSwap:
      if (stack_.size() >= 2) std::swap(stack_[stack_.size() - 1], stack_[stack_.size() - 2]);
      break;
    case ActionCode::Jump:
    case ActionCode::If: {
      if (length < 2) return false;
      bool taken = ActionCode(op) == ActionCode::Jump || pop().toBool(version_);
      if (!taken) break;
      int64_t dest = int64_t(next) + int16_t(u16At(p));
      if (dest < 0 || uint64_t(dest) > size) return false;
      next = size_t(dest);
      break;
    }
    case ActionCode::GetVariable:
      pop();
      push(Value::undefined());
      break;
    case ActionCode::SetVariable:
    case ActionCode::DefineLocal:
      pop();
      pop();
      break;
    case ActionCode::DefineLocal2:
    case ActionCode::WaitForFrame2:
      pop();
      break;
    case ActionCode::DefineFunction:
    case ActionCode::DefineFunction2: {
      // The body follows the action; it is not run where it is defined.
      if (length < 2) return false;
      size_t bodySize = u16At(p + length - 2);
      if (bodySize > size - next) return false;
      next += bodySize;
      if (p[0] == 0) push(Value::undefined());
      break;
    }
    default:
      if (op >= 0x0A && op <= 0x11) {
        arithmetic(op);
      } else if (op == 0x12) {
        push(version_ >= 5 ? Value::fromBool(!pop().toBool(version_))
                           : Value::fromNumber(pop().toBool(version_) ? 0 : 1));
      } else if (op == 0x13 || op == 0x21 || op == 0x47 || op == 0x48 || op == 0x49 || op == 0x66 ||
                 op == 0x67) {
        compare(op);
      }
      break;
  }
  return true;
}

void Interpreter::readPush(const uint8_t* p, size_t length) {
  size_t pos = 0;
  while (pos < length) {
    uint8_t type = p[pos++];
    size_t left = length - pos;
    switch (type) {
      case 0: push(Value::fromString(readString(p, length, pos))); break;
      case 1: {
        if (left < 4) return;
        float f;
        std::memcpy(&f, p + pos, 4);
        pos += 4;
        push(Value::fromNumber(f));
        break;
      }
      case 2: {
        Value v;
        v.type = Value::Type::Null;
        push(v);
        break;
      }
      case 3: push(Value::undefined()); break;
      case 4:
        if (left < 1) return;
        ++pos;
        push(Value::undefined());
        break;
      case 5:
        if (left < 1) return;
        push(Value::fromBool(p[pos++] != 0));
        break;
      case 6: {
        // Stored as two little-endian 32-bit halves, high half first.
        if (left < 8) return;
        uint8_t bytes[8];
        std::memcpy(bytes, p + pos + 4, 4);
        std::memcpy(bytes + 4, p + pos, 4);
        double d;
        std::memcpy(&d, bytes, 8);
        pos += 8;
        push(Value::fromNumber(d));
        break;
      }
      case 7: {
        if (left < 4) return;
        int32_t i = int32_t(uint32_t(p[pos]) | uint32_t(p[pos + 1]) << 8 | uint32_t(p[pos + 2]) << 16 |
                            uint32_t(p[pos + 3]) << 24);
        pos += 4;
        push(Value::fromNumber(i));
        break;
      }
      case 8:
      case 9: {
        size_t need = type == 8 ? 1 : 2;
        if (left < need) return;
        size_t index = type == 8 ? p[pos] : u16At(p + pos);
        pos += need;
        push(index < constants_.size() ? Value::fromString(constants_[index]) : Value::undefined());
        break;
      }
      default:
        return;
    }
  }
}

void Interpreter::readConstantPool(const uint8_t* p, size_t length) {
  constants_.clear();
  if (length < 2) return;
  size_t count = u16At(p);
  size_t pos = 2;
  for (size_t i = 0; i < count && pos < length; ++i) constants_.push_back(readString(p, length, pos));
}

void Interpreter::arithmetic(uint8_t op) {
  double b = pop().toNumber(version_);
  double a = pop().toNumber(version_);
  auto result = [&](bool v) {
    push(version_ >= 5 ? Value::fromBool(v) : Value::fromNumber(v ? 1 : 0));
  };
  switch (ActionCode(op)) {
    case ActionCode::Add: push(Value::fromNumber(a + b)); break;
    case ActionCode::Subtract: push(Value::fromNumber(a - b)); break;
    case ActionCode::Multiply: push(Value::fromNumber(a * b)); break;
    case ActionCode::Divide: push(Value::fromNumber(a / b)); break;
    case ActionCode::Equals: result(a == b); break;
    case ActionCode::Less: result(a < b); break;
    case ActionCode::And: result(a != 0 && b != 0); break;
    default: result(a != 0 || b != 0); break;
  }
}

// The string and typed forms of comparison and addition.
void Interpreter::compare(uint8_t op) {
  Value b = pop();
  Value a = pop();
  bool strings = a.type == Value::Type::String || b.type == Value::Type::String;
  switch (ActionCode(op)) {
    case ActionCode::StringEquals: push(Value::fromBool(a.toString(version_) == b.toString(version_))); break;
    case ActionCode::StringAdd: push(Value::fromString(a.toString(version_) + b.toString(version_))); break;
    case ActionCode::Add2:
      push(strings ? Value::fromString(a.toString(version_) + b.toString(version_))
                   : Value::fromNumber(a.toNumber(version_) + b.toNumber(version_)));
      break;
    case ActionCode::Less2: push(Value::fromBool(a.toNumber(version_) < b.toNumber(version_))); break;
    case ActionCode::Greater: push(Value::fromBool(a.toNumber(version_) > b.toNumber(version_))); break;
    default:
      push(Value::fromBool(strings ? a.toString(version_) == b.toString(version_)
                                   : a.toNumber(version_) == b.toNumber(version_)));
      break;
  }
}

void Interpreter::gotoFrame2(const uint8_t* p, size_t length) {
  if (length < 1) return;
  bool andPlay = p[0] & 1;
  int bias = (p[0] & 2) && length >= 3 ? u16At(p + 1) : 0;
  Value frame = pop();
  if (!target_) return;
  if (frame.type != Value::Type::String) {
    int frame0;
    if (frameIndexOf(frame.toNumber(version_), bias, frame0)) target_->gotoFrame(frame0, andPlay);
    return;
  }
  std::string path, name;
  splitFramePath(frame.text, path, name);
  ActionTarget* at = path.empty() ? target_ : resolveTarget(*target_, path);
  if (at) gotoFrameValue(at, name, andPlay, bias);
}

void Interpreter::gotoFrameValue(ActionTarget* at, const std::string& frame, bool andPlay, int bias) {
  Value asNumber = Value::fromString(frame);
  double n = asNumber.toNumber(7);
  int frame0;
  if (n == n && frameIndexOf(n, bias, frame0)) {
    at->gotoFrame(frame0, andPlay);
  } else {
    at->gotoLabel(frame, andPlay);
  }
}

void Interpreter::setTarget(const std::string& path) {
  target_ = path.empty() ? &self_ : resolveTarget(self_, path);
}

}  // namespace avm1
}  // namespace swf
