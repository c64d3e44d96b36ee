#include "interpreter.h"

#include <cmath>
#include <cstring>

#include "action_codes.h"
#include "array_object.h"
#include "bindings/clip_object.h"
#include "builtins/data_load.h"
#include "frame_number.h"
#include "load_target.h"
#include "number_text.h"
#include "text.h"

namespace swf {
namespace avm1 {

const char* const kPropertyNames[22] = {
    "_x",          "_y",     "_xscale",      "_yscale",    "_currentframe", "_totalframes",  "_alpha",
    "_visible",    "_width", "_height",      "_rotation",  "_target",       "_framesloaded", "_name",
    "_droptarget", "_url",   "_highquality", "_focusrect", "_soundbuftime", "_quality",      "_xmouse",
    "_ymouse"};

namespace {

uint16_t u16At(const uint8_t* p) { return uint16_t(p[0] | p[1] << 8); }

std::string readString(const uint8_t* p, size_t length, size_t& pos) {
  size_t start = pos;
  while (pos < length && p[pos] != 0) ++pos;
  std::string s(reinterpret_cast<const char*>(p + start), pos - start);
  ++pos;
  return s;
}

bool isLevelName(const std::string& s, int& level) {
  if (s.size() < 7 || s.compare(0, 6, "_level") != 0) return false;
  int n = 0;
  for (size_t i = 6; i < s.size(); ++i) {
    if (s[i] < '0' || s[i] > '9' || n > 100000) return false;
    n = n * 10 + (s[i] - '0');
  }
  level = n;
  return true;
}

std::string lowerAscii(std::string s) {
  for (char& c : s) {
    if (c >= 'A' && c <= 'Z') c = char(c - 'A' + 'a');
  }
  return s;
}

bool sameName(const std::string& a, const char* b, bool caseSensitive) {
  if (caseSensitive) return a == b;
  size_t n = std::strlen(b);
  if (a.size() != n) return false;
  for (size_t i = 0; i < n; ++i) {
    char x = a[i], y = b[i];
    if (x >= 'A' && x <= 'Z') x = char(x - 'A' + 'a');
    if (y >= 'A' && y <= 'Z') y = char(y - 'A' + 'a');
    if (x != y) return false;
  }
  return true;
}

// The multibyte action doing what a byte string action does.
uint8_t multibyteForm(uint8_t op) {
  switch (ActionCode(op)) {
    case ActionCode::StringLength: return uint8_t(ActionCode::MBStringLength);
    case ActionCode::StringExtract: return uint8_t(ActionCode::MBStringExtract);
    case ActionCode::CharToAscii: return uint8_t(ActionCode::MBCharToAscii);
    case ActionCode::AsciiToChar: return uint8_t(ActionCode::MBAsciiToChar);
    default: return op;
  }
}

}  // namespace

struct Interpreter::Activation {
  const uint8_t* code = nullptr;
  size_t size = 0;
  Scope* scope = nullptr;
  Scope* baseScope = nullptr;  // the chain SetTarget("") returns to
  Value thisValue;
  Object* target = nullptr;  // the timeline actions act on (nullptr: a missing one)
  Object* originalTarget = nullptr;
  Object* callee = nullptr;
  Object* home = nullptr;
  Value arguments;
  std::vector<Value> registers;
  // Registers past a DefineFunction2's own count are its caller's (version 10 on).
  Activation* caller = nullptr;
  std::shared_ptr<const std::vector<std::string>> constants;
  std::vector<Value> stack;
  Value returnValue;
  bool isFunction = false;
  // A DefineFunction2 that keeps `this` in a register (or suppresses it) has no name for it.
  bool thisUnnamed = false;
};

// ---- entry points -------------------------------------------------------

void Interpreter::runBlock(const uint8_t* code, size_t size, Object* clip) {
  if (!code || !clip) return;
  const bool topLevel = vm_.callDepth() == 0;
  Scope* global = vm_.make<Scope>(Scope::Kind::Global, vm_.global(), nullptr);
  Activation a;
  a.code = code;
  a.size = size;
  a.scope = a.baseScope = vm_.make<Scope>(Scope::Kind::Target, clip, global);
  a.thisValue = Value(clip);
  a.target = a.originalTarget = clip;
  a.registers.resize(4);
  a.constants = std::make_shared<std::vector<std::string>>();
  size_t jumpTo = 0;
  if (vm_.enterCall()) {
    run(a, 0, size, jumpTo);
    vm_.leaveCall();
  }
  // Nested in another run (an event a script caused), that run goes on.
  if (topLevel) vm_.endRun();
}

Value Interpreter::callFromPlayer(const Value& fn, const Value& thisValue, const Args& args) {
  const bool topLevel = vm_.callDepth() == 0;
  Value r = vm_.call(fn, thisValue, args);
  if (topLevel) vm_.endRun();
  return r;
}

Value Interpreter::callFunction(ScriptFunction& fn, const Value& thisValue, const Args& args, Object* home) {
  const FunctionCode& c = fn.code();
  Activation a;
  a.code = c.code;
  a.size = c.size;
  a.thisValue = thisValue;
  a.callee = &fn;
  a.target = a.originalTarget = functionBase(fn, thisValue);
  // Before version 6 `this` of a function called without one is its timeline.
  if (thisValue.isUndefined() && vm_.version() < 6 && a.target) a.thisValue = Value(a.target);
  a.constants = c.constants;
  Object* locals = vm_.newObject(nullptr);
  a.scope = a.baseScope = vm_.make<Scope>(Scope::Kind::Local, locals, fn.scope());
  a.isFunction = true;
  if (!home && thisValue.isObject()) home = thisValue.object->proto();
  a.home = home;

  bool v2 = c.isFunction2;
  uint16_t flags = c.flags;
  ArrayObject* argsArray = nullptr;
  if (!v2 || !(flags & SuppressArguments) || (flags & PreloadArguments)) {
    argsArray = vm_.newArray(args);
    argsArray->define("callee", Value(&fn), DontEnum);
    a.arguments = Value(argsArray);
  }
  Value superValue;
  if (!v2 || !(flags & SuppressSuper) || (flags & PreloadSuper)) {
    Object* superProto = home ? home->proto() : nullptr;
    superValue = Value(vm_.make<SuperObject>(superProto, thisValue));
    static_cast<SuperObject*>(superValue.object)->home = home;
  }
  // A DefineFunction2 that asks for no registers still gets the usual four.
  a.registers.resize(v2 && c.registerCount > 0 ? c.registerCount : 4);
  // Movies of version 10 on reach their caller's registers past their own;
  // older ones read nothing there.
  if (vm_.version() >= 10) a.caller = running_;
  if (v2) {
    size_t r = 1;
    auto preload = [&](uint16_t flag, const Value& v) {
      if ((flags & flag) && r < a.registers.size()) a.registers[r++] = v;
    };
    preload(PreloadThis, a.thisValue);
    a.thisUnnamed = (flags & (PreloadThis | SuppressThis)) != 0;
    preload(PreloadArguments, a.arguments);
    preload(PreloadSuper, superValue);
    preload(PreloadRoot, Value(rootObject(a)));
    Value parent;
    if (a.target) parent = a.target->get("_parent");
    // A timeline with no parent takes no register for it.
    if (!parent.isUndefined()) preload(PreloadParent, parent);
    preload(PreloadGlobal, Value(vm_.global()));
    if (!(flags & SuppressThis) && !(flags & PreloadThis)) locals->define("this", thisValue, DontEnum);
    if (!(flags & SuppressArguments) && !(flags & PreloadArguments)) locals->define("arguments", a.arguments, DontEnum);
    if (!(flags & SuppressSuper) && !(flags & PreloadSuper)) locals->define("super", superValue, DontEnum);
  } else {
    locals->define("this", thisValue, DontEnum);
    locals->define("arguments", a.arguments, DontEnum);
    locals->define("super", superValue, DontEnum);
  }
  for (size_t i = 0; i < c.params.size(); ++i) {
    Value v = i < args.size() ? args[i] : Value();
    const FunctionCode::Param& p = c.params[i];
    if (v2 && p.reg != 0) {
      if (p.reg < a.registers.size()) a.registers[p.reg] = v;
    } else {
      locals->define(p.name, v);
    }
  }
  size_t jumpTo = 0;
  // DefineFunction is a version 5 action: its bodies keep version 5 rules.
  const int movieVersion = vm_.version();
  if (movieVersion < 5) vm_.setVersion(5);
  Flow f = run(a, 0, a.size, jumpTo);
  vm_.setVersion(movieVersion);
  return f == Flow::Return ? a.returnValue : Value();
}

// The timeline a function's actions act on. Before version 6 it is the
// caller's; later the one it was defined on, and once that has left the
// stage, `this` when a clip, else the caller's again.
Object* Interpreter::functionBase(ScriptFunction& fn, const Value& thisValue) {
  Object* callerTarget = nullptr;
  if (running_) callerTarget = running_->target ? running_->target : running_->originalTarget;
  if (!callerTarget) return fn.target();
  if (vm_.version() < 6) return callerTarget;
  Object* defined = fn.target();
  if (defined && defined->clip()) return defined;
  Object* self = thisValue.asObject();
  if (self && self->clip()) return self;
  return callerTarget;
}

Value ScriptFunction::call(const Value& thisValue, const Args& args, Object* home) {
  return interpreter_.callFunction(*this, thisValue, args, home);
}

void ScriptFunction::references(std::vector<Object*>& out) const {
  FunctionObject::references(out);
  if (scope_) out.push_back(scope_);
  if (target_) out.push_back(target_);
}

// ---- the loop -----------------------------------------------------------

void Interpreter::push(Activation& a, Value v) {
  if (a.stack.size() < kMaxStackDepth) a.stack.push_back(std::move(v));
}

Value Interpreter::pop(Activation& a) {
  if (a.stack.empty()) return Value();
  Value v = std::move(a.stack.back());
  a.stack.pop_back();
  return v;
}

// A count then that many values, the first popped first.
Args Interpreter::popArgs(Activation& a) {
  double n = vm_.toNumber(pop(a));
  size_t count = std::isnan(n) || n < 0 ? 0 : size_t(std::min(n, double(a.stack.size())));
  Args args;
  args.reserve(count);
  for (size_t i = 0; i < count; ++i) args.push_back(pop(a));
  return args;
}

// Runs [begin, end); a jump outside the range leaves with Flow::Jump and
// its destination, for the enclosing range to follow.
Value* Interpreter::registerSlot(Activation& a, size_t r) {
  if (r < a.registers.size()) return &a.registers[r];
  return a.caller ? registerSlot(*a.caller, r) : nullptr;
}

Interpreter::Flow Interpreter::run(Activation& a, size_t begin, size_t end, size_t& jumpTo) {
  struct Running {
    Activation*& slot;
    Activation* outer;
    ~Running() { slot = outer; }
  } running{running_, running_};
  running_ = &a;
  size_t pos = begin;
  while (pos < end) {
    if (vm_.unwinding() || !vm_.chargeActions(1)) return Flow::End;
    uint8_t op = a.code[pos];
    if (op == uint8_t(ActionCode::End)) return Flow::End;
    size_t length = 0;
    size_t payload = pos + 1;
    if (op >= 0x80) {
      if (end - pos < 3) return Flow::End;
      length = u16At(a.code + pos + 1);
      payload = pos + 3;
      if (length > end - payload) return Flow::End;
    }
    size_t next = payload + length;
    Flow f = step(a, op, a.code + payload, length, next, end, jumpTo);
    if (f == Flow::Jump) {
      if (jumpTo >= begin && jumpTo <= end) {
        pos = jumpTo;
        continue;
      }
      return Flow::Jump;
    }
    if (f != Flow::Next) return f;
    pos = next;
  }
  return Flow::Next;
}

Interpreter::Flow Interpreter::step(Activation& a, uint8_t op, const uint8_t* p, size_t length, size_t& next,
                                    size_t end, size_t& jumpTo) {
  switch (ActionCode(op)) {
    case ActionCode::Push: readPush(a, p, length); break;
    case ActionCode::Pop: pop(a); break;
    case ActionCode::PushDuplicate: {
      Value v = a.stack.empty() ? Value() : a.stack.back();
      push(a, v);
      break;
    }
    case ActionCode::StackSwap: {
      Value x = pop(a);
      Value y = pop(a);
      push(a, x);
      push(a, y);
      break;
    }
    case ActionCode::ConstantPool: readConstantPool(a, p, length); break;
    case ActionCode::StoreRegister: {
      if (length < 1) break;
      Value v = a.stack.empty() ? Value() : a.stack.back();
      if (Value* slot = registerSlot(a, p[0])) *slot = v;
      break;
    }
    case ActionCode::Jump:
    case ActionCode::If: {
      if (length < 2) return Flow::End;
      bool taken = ActionCode(op) == ActionCode::Jump || vm_.toBoolean(pop(a));
      if (!taken) break;
      int64_t dest = int64_t(next) + int16_t(u16At(p));
      if (dest < 0 || uint64_t(dest) > a.size) return Flow::End;
      jumpTo = size_t(dest);
      return Flow::Jump;
    }
    case ActionCode::Return: a.returnValue = pop(a); return Flow::Return;
    case ActionCode::DefineFunction:
    case ActionCode::DefineFunction2:
      if (!defineFunction(a, p, length, next, end, op == uint8_t(ActionCode::DefineFunction2))) return Flow::End;
      break;
    case ActionCode::Try: return doTry(a, p, length, next, jumpTo);
    case ActionCode::With: return doWith(a, p, length, next, jumpTo);
    case ActionCode::Throw: vm_.throwValue(pop(a)); return Flow::End;
    case ActionCode::WaitForFrame:
    case ActionCode::WaitForFrame2:
      // A local movie is loaded whole: every frame is there, though the
      // frame is still read (an object as its text).
      if (ActionCode(op) == ActionCode::WaitForFrame2) {
        Value frame = pop(a);
        if (frame.isObject() && !frame.object->clip()) vm_.toString(frame);
      }
      break;
    case ActionCode::Trace: {
      Value v = pop(a);
      vm_.trace(v.isUndefined() ? std::string("undefined") : vm_.toString(v));
      break;
    }
    case ActionCode::GetTime: push(a, Value(vm_.host() ? std::floor(vm_.host()->movieTimeMs()) : 0.0)); break;
    case ActionCode::RandomNumber: {
      double max = toInteger(vm_.toNumber(pop(a)));
      push(a, Value(max <= 0 ? 0.0 : std::floor(vm_.random() * max)));
      break;
    }
    case ActionCode::GetURL: {
      size_t pos = 0;
      std::string url = readString(p, length, pos);
      std::string window = pos < length ? readString(p, length, pos) : std::string();
      int level = 0;
      if (vm_.host() && levelOfTarget(window, level)) {
        loadIntoLevel(*vm_.host(), url, level);
      } else if (vm_.host()) {
        vm_.host()->getUrl(url, window);
      }
      break;
    }
    case ActionCode::GetURL2: getUrl2(a, p, length); break;
    case ActionCode::Call: callFrame(a); break;
    default:
      if (op == 0x13 || op == 0x14 || op == 0x15 || op == 0x21 || op == 0x29 || op == 0x31 ||
          (op >= 0x32 && op <= 0x37 && op != 0x34) || op == 0x68) {
        stringAction(a, op);
      } else if ((op >= 0x0A && op <= 0x12) || op == 0x18 || op == 0x3F || (op >= 0x47 && op <= 0x4B) || op == 0x50 ||
                 op == 0x51 || op == 0x66 || op == 0x67) {
        arithmetic(a, op);
      } else if (op >= 0x60 && op <= 0x65) {
        bitwise(a, op);
      } else if (op == 0x3D || op == 0x40 || op == 0x52 || op == 0x53) {
        callAction(a, op);
      } else if (op == 0x04 || op == 0x05 || op == 0x06 || op == 0x07 || op == 0x08 || op == 0x09 || op == 0x81 ||
                 op == 0x8C || op == 0x9F || op == 0x8B || op == 0x20 || op == 0x22 || op == 0x23 || op == 0x24 ||
                 op == 0x25 || op == 0x27 || op == 0x28) {
        timelineAction(a, op, p, length);
      } else if (op < 0x80) {
        objectAction(a, op);
      }
      break;
  }
  return vm_.throwing() ? Flow::End : Flow::Next;
}

// Try: the try body, then catch (when something was thrown), then finally;
// an exception with no catch goes on after finally runs.
Interpreter::Flow Interpreter::doTry(Activation& a, const uint8_t* p, size_t length, size_t& next, size_t& jumpTo) {
  if (length < 8) return Flow::End;
  uint8_t flags = p[0];
  size_t trySize = u16At(p + 1), catchSize = u16At(p + 3), finallySize = u16At(p + 5);
  bool hasCatch = flags & 1, hasFinally = flags & 2, inRegister = flags & 4;
  std::string catchName;
  uint8_t catchRegister = 0;
  if (inRegister) {
    catchRegister = p[7];
  } else {
    size_t pos = 7;
    catchName = readString(p, length, pos);
  }
  size_t tryStart = next;
  if (trySize + catchSize + finallySize > a.size - tryStart) return Flow::End;
  size_t catchStart = tryStart + trySize;
  size_t after = catchStart + catchSize + finallySize;
  // Without the catch flag the player takes finally to start where catch would.
  size_t finallyStart = hasCatch ? catchStart + catchSize : catchStart;

  const size_t stackAtTry = a.stack.size();
  Flow f = run(a, tryStart, catchStart, jumpTo);
  if (vm_.throwing() && hasCatch && !vm_.aborted()) {
    Value e = vm_.takeException();
    // What the try body pushed before throwing is dropped.
    if (a.stack.size() > stackAtTry) a.stack.resize(stackAtTry);
    if (inRegister) {
      if (Value* slot = registerSlot(a, catchRegister)) *slot = e;
    } else {
      setVariable(a, catchName, e);
    }
    f = run(a, catchStart, finallyStart, jumpTo);
  }
  if (f == Flow::Next || f == Flow::End) f = Flow::Next;
  if (hasFinally && !vm_.aborted()) {
    bool wasThrowing = vm_.throwing();
    Value pending = wasThrowing ? vm_.takeException() : Value();
    Value savedReturn = a.returnValue;
    size_t finallyJump = 0;
    Flow ff = run(a, finallyStart, finallyStart + finallySize, finallyJump);
    if (ff == Flow::Return || ff == Flow::Jump || vm_.unwinding()) {
      jumpTo = finallyJump;
      return ff == Flow::Next ? Flow::End : ff;
    }
    a.returnValue = savedReturn;
    if (wasThrowing) vm_.throwValue(pending);
  }
  if (vm_.unwinding()) return Flow::End;
  if (f == Flow::Next) {
    next = after;
    return Flow::Next;
  }
  return f;
}

Interpreter::Flow Interpreter::doWith(Activation& a, const uint8_t* p, size_t length, size_t& next, size_t& jumpTo) {
  if (length < 2) return Flow::End;
  size_t bodySize = u16At(p);
  Value v = pop(a);
  if (bodySize > a.size - next) return Flow::End;
  Object* o = v.isObject() ? v.object : vm_.toObject(v);
  if (!o) {
    next += bodySize;
    return Flow::Next;
  }
  Scope* saved = a.scope;
  a.scope = vm_.make<Scope>(Scope::Kind::With, o, saved);
  size_t bodyStart = next;
  Flow f = run(a, bodyStart, bodyStart + bodySize, jumpTo);
  a.scope = saved;
  if (f == Flow::Next) {
    next = bodyStart + bodySize;
    return Flow::Next;
  }
  return f;
}

// ---- data -----------------------------------------------------------------

void Interpreter::readPush(Activation& a, const uint8_t* p, size_t length) {
  size_t pos = 0;
  while (pos < length) {
    uint8_t type = p[pos++];
    size_t left = length - pos;
    switch (type) {
      case 0: push(a, Value(readString(p, length, pos))); break;
      case 1: {
        if (left < 4) return;
        float f;
        std::memcpy(&f, p + pos, 4);
        pos += 4;
        push(a, Value(double(f)));
        break;
      }
      case 2: push(a, Value::null()); break;
      case 3: push(a, Value()); break;
      case 4:
        if (left < 1) return;
        if (Value* slot = registerSlot(a, p[pos])) {
          push(a, *slot);
        } else {
          push(a, Value());
        }
        ++pos;
        break;
      case 5:
        if (left < 1) return;
        push(a, Value(p[pos++] != 0));
        break;
      case 6: {
        // Two little-endian 32-bit halves, the high half first.
        if (left < 8) return;
        uint8_t bytes[8];
        std::memcpy(bytes, p + pos + 4, 4);
        std::memcpy(bytes + 4, p + pos, 4);
        double d;
        std::memcpy(&d, bytes, 8);
        pos += 8;
        push(a, Value(d));
        break;
      }
      case 7: {
        if (left < 4) return;
        int32_t i = int32_t(uint32_t(p[pos]) | uint32_t(p[pos + 1]) << 8 | uint32_t(p[pos + 2]) << 16 |
                            uint32_t(p[pos + 3]) << 24);
        pos += 4;
        push(a, Value(double(i)));
        break;
      }
      case 8:
      case 9: {
        size_t need = type == 8 ? 1 : 2;
        if (left < need) return;
        size_t index = type == 8 ? p[pos] : u16At(p + pos);
        pos += need;
        push(a, index < a.constants->size() ? Value((*a.constants)[index]) : Value());
        break;
      }
      default: return;
    }
  }
}

void Interpreter::readConstantPool(Activation& a, const uint8_t* p, size_t length) {
  auto pool = std::make_shared<std::vector<std::string>>();
  if (length >= 2) {
    size_t count = u16At(p);
    size_t pos = 2;
    for (size_t i = 0; i < count && pos < length; ++i) pool->push_back(readString(p, length, pos));
  }
  a.constants = pool;
}

bool Interpreter::defineFunction(Activation& a, const uint8_t* p, size_t length, size_t& next, size_t end, bool v2) {
  FunctionCode c;
  size_t pos = 0;
  c.name = readString(p, length, pos);
  if (pos + 2 > length) return false;
  size_t count = u16At(p + pos);
  pos += 2;
  if (v2) {
    if (pos + 3 > length) return false;
    c.registerCount = p[pos];
    c.flags = u16At(p + pos + 1);
    pos += 3;
  }
  for (size_t i = 0; i < count && pos < length; ++i) {
    FunctionCode::Param param;
    if (v2) param.reg = p[pos++];
    param.name = readString(p, length, pos);
    c.params.push_back(param);
  }
  if (pos + 2 > length) return false;
  size_t bodySize = u16At(p + pos);
  if (bodySize > end - next) return false;
  c.code = a.code + next;
  c.size = bodySize;
  c.isFunction2 = v2;
  c.constants = a.constants;
  c.swfVersion = vm_.version();
  next += bodySize;

  std::string name = c.name;
  Object* definingTarget = a.originalTarget ? a.originalTarget : a.target;
  // Before version 6 a function closes over no locals and no with blocks:
  // only the timeline and _global.
  Scope* closure = a.scope;
  // A SetTarget scope is the caller's view, not the function's.
  if (a.target != a.originalTarget && closure != a.baseScope && closure->kind == Scope::Kind::Target &&
      closure->object == a.target) {
    closure = a.baseScope;
  }
  int guard = 0;
  while (vm_.version() < 6 && closure && closure->kind != Scope::Kind::Target && closure->kind != Scope::Kind::Global &&
         ++guard < 4096) {
    closure = closure->parent;
  }
  ScriptFunction* fn = vm_.make<ScriptFunction>(vm_.functionPrototype(), *this, std::move(c), closure, definingTarget);
  Object* proto = vm_.newObject();
  proto->define("constructor", Value(fn), DontEnum);
  fn->define("prototype", Value(proto), DontEnum | DontDelete);
  if (name.empty()) {
    push(a, Value(fn));
  } else {
    defineLocal(a, name, Value(fn));
  }
  return true;
}

// ---- arithmetic and comparison -----------------------------------------

void Interpreter::arithmetic(Activation& a, uint8_t op) {
  const int version = vm_.version();
  auto logical = [&](bool v) { push(a, Value(v)); };
  switch (ActionCode(op)) {
    case ActionCode::Not: logical(!vm_.toBoolean(pop(a))); return;
    case ActionCode::ToInteger: push(a, Value(double(vm_.toInt32(pop(a))))); return;
    case ActionCode::ToNumber: push(a, Value(vm_.toNumber(pop(a)))); return;
    case ActionCode::ToString: push(a, Value(vm_.toString(pop(a)))); return;
    case ActionCode::Increment: push(a, Value(vm_.toNumber(pop(a)) + 1)); return;
    case ActionCode::Decrement: push(a, Value(vm_.toNumber(pop(a)) - 1)); return;
    default: break;
  }
  Value b = pop(a);
  Value x = pop(a);
  switch (ActionCode(op)) {
    // Conversion order is the real player's: some take the top operand first.
    case ActionCode::Add: {
      double l = vm_.toNumber(x);
      push(a, Value(l + vm_.toNumber(b)));
      break;
    }
    case ActionCode::Subtract: {
      double r = vm_.toNumber(b);
      push(a, Value(vm_.toNumber(x) - r));
      break;
    }
    case ActionCode::Multiply: {
      double l = vm_.toNumber(x);
      push(a, Value(l * vm_.toNumber(b)));
      break;
    }
    case ActionCode::Divide: {
      double d = vm_.toNumber(b);
      double n = vm_.toNumber(x);
      // Version 4 writes "#ERROR#" for a division by zero.
      if (d == 0 && version < 5) {
        push(a, Value("#ERROR#"));
      } else {
        push(a, Value(n / d));
      }
      break;
    }
    case ActionCode::Modulo: {
      double l = vm_.toNumber(x);
      push(a, Value(std::fmod(l, vm_.toNumber(b))));
      break;
    }
    case ActionCode::Equals: {
      double r = vm_.toNumber(b);
      logical(vm_.toNumber(x) == r);
      break;
    }
    case ActionCode::Less: {
      double l = vm_.toNumber(x);
      logical(l < vm_.toNumber(b));
      break;
    }
    case ActionCode::And: logical(vm_.toBoolean(x) && vm_.toBoolean(b)); break;
    case ActionCode::Or: logical(vm_.toBoolean(x) || vm_.toBoolean(b)); break;
    case ActionCode::Add2: {
      // An operand whose valueOf gave an object converts again as itself;
      // a clip gives its path or no number.
      Value px = vm_.toPrimitive(x);
      Value pb = vm_.toPrimitive(b);
      std::string path;
      if (px.isObject() && !px.object->fixedText(path)) px = x;
      if (pb.isObject() && !pb.object->fixedText(path)) pb = b;
      if (px.isString() || pb.isString()) {
        std::string left = vm_.toString(px);
        push(a, Value(left + vm_.toString(pb)));
      } else {
        double left = vm_.toNumber(px);
        push(a, Value(left + vm_.toNumber(pb)));
      }
      break;
    }
    case ActionCode::Less2: push(a, vm_.lessThan(x, b)); break;
    case ActionCode::Greater: push(a, vm_.lessThan(b, x)); break;
    case ActionCode::Equals2: push(a, Value(vm_.looseEquals(x, b))); break;
    case ActionCode::StrictEquals: push(a, Value(vm_.strictEquals(x, b))); break;
    default: break;
  }
}

void Interpreter::bitwise(Activation& a, uint8_t op) {
  Value b = pop(a);
  Value x = pop(a);
  int32_t l = vm_.toInt32(x);
  int32_t r = vm_.toInt32(b);
  switch (ActionCode(op)) {
    case ActionCode::BitAnd: push(a, Value(double(l & r))); break;
    case ActionCode::BitOr: push(a, Value(double(l | r))); break;
    case ActionCode::BitXor: push(a, Value(double(l ^ r))); break;
    case ActionCode::BitLShift: push(a, Value(double(int32_t(uint32_t(l) << (r & 31))))); break;
    case ActionCode::BitRShift: push(a, Value(double(l >> (r & 31)))); break;
    default: push(a, Value(double(uint32_t(l) >> (r & 31)))); break;
  }
}

void Interpreter::stringAction(Activation& a, uint8_t op) {
  const int version = vm_.version();
  // From version 6 the byte forms count UTF-16 units as the multibyte ones do.
  if (version >= 6) op = multibyteForm(op);
  switch (ActionCode(op)) {
    case ActionCode::StringLength: push(a, Value(double(vm_.toString(pop(a)).size()))); return;
    case ActionCode::MBStringLength: push(a, Value(double(toUnits(vm_.toString(pop(a)), version).size()))); return;
    case ActionCode::CharToAscii: {
      std::string s = vm_.toString(pop(a));
      push(a, Value(s.empty() ? 0.0 : double(uint8_t(s[0]))));
      return;
    }
    case ActionCode::MBCharToAscii: {
      std::u16string s = toUnits(vm_.toString(pop(a)), version);
      // Half of a surrogate pair is no character.
      bool surrogate = !s.empty() && s[0] >= 0xD800 && s[0] < 0xE000;
      push(a, Value(s.empty() ? 0.0 : surrogate ? 0xFFFD : double(s[0])));
      return;
    }
    case ActionCode::AsciiToChar: {
      uint32_t c = uint32_t(vm_.toInt32(pop(a))) & 0xFF;
      push(a, Value(c == 0 ? std::string() : fromUnit(c, version)));
      return;
    }
    case ActionCode::MBAsciiToChar: {
      uint32_t c = uint32_t(vm_.toInt32(pop(a))) & 0xFFFF;
      push(a, Value(c == 0 ? std::string() : fromUnit(c, version)));
      return;
    }
    case ActionCode::StringExtract:
    case ActionCode::MBStringExtract: {
      double count = double(vm_.toInt32(pop(a)));
      double index = double(vm_.toInt32(pop(a)));
      std::u16string s = toUnits(vm_.toString(pop(a)), op == 0x15 ? 5 : version);
      if (index < 1) index = 1;
      double n = double(s.size());
      if (count < 0) count = n;  // a negative count takes the rest
      if (index > n || count <= 0) {
        push(a, Value(std::string()));
        return;
      }
      size_t start = size_t(index - 1);
      size_t len = size_t(std::min(count, n - double(start)));
      push(a, Value(fromUnits(s.substr(start, len), op == 0x15 ? 5 : version)));
      return;
    }
    default: break;
  }
  Value b = pop(a);
  Value x = pop(a);
  // The top operand converts first.
  std::string r = vm_.toString(b);
  std::string l = vm_.toString(x);
  auto logical = [&](bool v) { push(a, Value(v)); };
  switch (ActionCode(op)) {
    case ActionCode::StringEquals: logical(l == r); break;
    case ActionCode::StringAdd: push(a, Value(l + r)); break;
    case ActionCode::StringLess: logical(l < r); break;
    default: logical(l > r); break;
  }
}

// ---- objects ---------------------------------------------------------------

void Interpreter::objectAction(Activation& a, uint8_t op) {
  switch (ActionCode(op)) {
    case ActionCode::GetVariable: {
      std::string name = vm_.toString(pop(a));
      push(a, getVariable(a, name));
      break;
    }
    case ActionCode::SetVariable: {
      Value v = pop(a);
      setVariable(a, vm_.toString(pop(a)), v);
      break;
    }
    case ActionCode::DefineLocal: {
      Value v = pop(a);
      defineLocal(a, vm_.toString(pop(a)), v);
      break;
    }
    case ActionCode::DefineLocal2: {
      // Declares the name where DefineLocal would put it; a name already
      // there (or inherited there) keeps its value.
      std::string name = vm_.toString(pop(a));
      Object* home = nullptr;
      int guard = 0;
      for (Scope* s = a.scope; s && !home && guard < 4096; s = s->parent, ++guard) {
        if (s->kind == Scope::Kind::Local || s->kind == Scope::Kind::Target) home = s->object;
      }
      if (home && !home->has(name)) defineLocal(a, name, Value());
      break;
    }
    case ActionCode::GetMember: {
      std::string name = vm_.toString(pop(a));
      Value o = pop(a);
      push(a, getMember(a, o, name));
      break;
    }
    case ActionCode::SetMember: {
      Value v = pop(a);
      std::string name = vm_.toString(pop(a));
      setMember(pop(a), name, v);
      break;
    }
    case ActionCode::Delete: {
      std::string name = vm_.toString(pop(a));
      Value o = pop(a);
      push(a, Value(o.isObject() && o.object->remove(name)));
      break;
    }
    case ActionCode::Delete2: push(a, Value(deleteVariable(a, vm_.toString(pop(a))))); break;
    case ActionCode::InitArray: {
      // A count past what the stack holds makes no array and takes nothing.
      if (!a.stack.empty() && vm_.toNumber(a.stack.back()) > double(a.stack.size() - 1)) {
        a.stack.back() = Value();
        break;
      }
      Args items = popArgs(a);
      push(a, Value(vm_.newArray(items)));
      break;
    }
    case ActionCode::InitObject: {
      double n = vm_.toNumber(pop(a));
      size_t count = std::isnan(n) || n < 0 ? 0 : size_t(std::min(n, double(a.stack.size() / 2 + 1)));
      Object* o = vm_.newObject();
      for (size_t i = 0; i < count; ++i) {
        Value v = pop(a);
        o->set(vm_.toString(pop(a)), v);
      }
      push(a, Value(o));
      break;
    }
    case ActionCode::TypeOf: push(a, Value(vm_.typeOf(pop(a)))); break;
    case ActionCode::TargetPath: {
      Value v = pop(a);
      Object* o = v.asObject();
      push(a, o && o->clip() ? Value(targetPathOf(o)) : Value());
      break;
    }
    case ActionCode::Enumerate: {
      std::string name = vm_.toString(pop(a));
      enumerate(a, getVariable(a, name));
      break;
    }
    case ActionCode::Enumerate2: enumerate(a, pop(a)); break;
    case ActionCode::InstanceOf: {
      Value ctor = pop(a);
      Value v = pop(a);
      push(a, Value(vm_.instanceOf(v, ctor.asObject())));
      break;
    }
    case ActionCode::CastOp: {
      Value v = pop(a);
      Value ctor = pop(a);
      push(a, vm_.instanceOf(v, ctor.asObject()) ? v : Value::null());
      break;
    }
    case ActionCode::ImplementsOp: {
      Value ctor = pop(a);
      Args ifaces = popArgs(a);
      Object* proto = ctor.isObject() ? ctor.object->get("prototype").asObject() : nullptr;
      if (!proto) break;
      proto->interfaces.clear();
      for (const Value& i : ifaces) {
        if (Object* o = i.asObject()) proto->interfaces.push_back(o);
      }
      break;
    }
    case ActionCode::Extends: {
      Value super = pop(a);
      Value sub = pop(a);
      Object* superCtor = super.asObject();
      Object* subCtor = sub.asObject();
      if (!superCtor || !subCtor) break;
      Object* proto = vm_.newObject(superCtor->get("prototype").asObject());
      proto->define("__constructor__", super, DontEnum);
      if (vm_.version() < 7) proto->define("constructor", super, DontEnum);
      subCtor->set("prototype", Value(proto));
      break;
    }
    default: break;  // unknown codes without payload do nothing
  }
}

void Interpreter::enumerate(Activation& a, const Value& object) {
  push(a, Value());  // the real player ends the names with undefined
  Object* o = object.asObject();
  if (!o) return;
  // The newest name ends on top, so a for..in loop visits it first.
  std::vector<std::string> names = o->enumerableNames();
  for (auto it = names.rbegin(); it != names.rend(); ++it) push(a, Value(*it));
}

void Interpreter::callAction(Activation& a, uint8_t op) {
  switch (ActionCode(op)) {
    case ActionCode::CallFunction: {
      std::string name = vm_.toString(pop(a));
      Args args = popArgs(a);
      Value fn = getVariable(a, name);
      // A function runs with the object its name was found in as `this`:
      // an activation, a with block's object or (from version 6) a timeline.
      Value self = localHolder(a, name);
      Object* home = nullptr;
      if (SuperObject* s = dynamic_cast<SuperObject*>(fn.asObject())) {
        // super(...): the superclass constructor on this object.
        Object* ctor = s->home ? s->home->get("__constructor__").asObject() : nullptr;
        if (!ctor && s->proto()) ctor = s->proto()->get("constructor").asObject();
        home = s->proto();
        fn = Value(ctor);
        self = s->self;
      }
      Object* f = fn.asObject();
      if (f && f->asFunction()) {
        if (auto* native = dynamic_cast<NativeFunction*>(f)) {
          if (home && self.isObject()) {
            push(a, native->constructOn(self, args));
            break;
          }
        }
        // A built-in called by name alone (createEmptyMovieClip(...)) works
        // on the clip whose scope held it.
        if (!home && dynamic_cast<NativeFunction*>(f)) {
          if (Object* holder = scopeHolding(a, name)) {
            if (holder->clip()) self = Value(holder);
          }
        }
        push(a, vm_.call(f->asFunction(), self, args, home));
      } else {
        push(a, Value());
      }
      break;
    }
    case ActionCode::CallMethod: {
      Value nameValue = pop(a);
      Value obj = pop(a);
      Args args = popArgs(a);
      std::string name = nameValue.isUndefined() ? std::string() : vm_.toString(nameValue);
      Value self = obj;
      Object* holder = obj.isObject() ? obj.object : vm_.toObject(obj);
      SuperObject* super = dynamic_cast<SuperObject*>(holder);
      if (super) self = super->self;
      if (name.empty()) {
        // The object itself is called; on `super` that is the superclass constructor.
        Value fn = obj;
        Object* home = nullptr;
        if (super) {
          Object* ctor = super->home ? super->home->get("__constructor__").asObject() : nullptr;
          if (!ctor && super->proto()) ctor = super->proto()->get("constructor").asObject();
          fn = Value(ctor);
          home = super->proto();
          if (auto* native = dynamic_cast<NativeFunction*>(ctor)) {
            push(a, native->constructOn(self, args));
            break;
          }
        }
        Object* f = fn.asObject();
        push(a, f && f->asFunction() ? vm_.call(f->asFunction(), super ? self : Value(), args, home) : Value());
        break;
      }
      if (!holder) {
        push(a, Value());
        break;
      }
      // The prototype the method is found on tells `super` where to look; a
      // method of the object itself counts as its prototype's.
      Object* home = nullptr;
      int guard = 0;
      for (Object* o = holder; o && guard < 256; o = o->proto(), ++guard) {
        if (o->hasOwn(name)) {
          home = o == holder && !super ? o->proto() : o;
          break;
        }
      }
      Value fn = holder->get(name);
      Object* f = fn.asObject();
      push(a, f && f->asFunction() ? vm_.call(f->asFunction(), self, args, home) : Value());
      break;
    }
    case ActionCode::NewObject: {
      std::string name = vm_.toString(pop(a));
      Args args = popArgs(a);
      Object* f = getVariable(a, name).asObject();
      if (f && f->asFunction() && vm_.enterCall()) {
        push(a, f->asFunction()->construct(args));
        vm_.leaveCall();
      } else {
        push(a, Value());
      }
      break;
    }
    default: {  // NewMethod
      Value nameValue = pop(a);
      Value obj = pop(a);
      Args args = popArgs(a);
      std::string name = nameValue.isUndefined() ? std::string() : vm_.toString(nameValue);
      Value fn = name.empty() ? obj : getMember(a, obj, name);
      Object* f = fn.asObject();
      if (f && f->asFunction() && vm_.enterCall()) {
        push(a, f->asFunction()->construct(args));
        vm_.leaveCall();
      } else {
        push(a, Value());
      }
      break;
    }
  }
}

// ---- names -------------------------------------------------------------

Object* Interpreter::rootObject(Activation& a) {
  Object* t = a.target ? a.target : a.originalTarget;
  ActionTarget* clip = t ? t->clip() : nullptr;
  ActionTarget* root = clip ? clip->rootTarget() : nullptr;
  return root ? root->scriptObject() : nullptr;
}

Value Interpreter::lookupPlain(Activation& a, const std::string& name, bool& found) {
  found = true;
  // A SetTarget clip that has left the stage leads back to the actions' own timeline.
  if (a.target && a.target != a.originalTarget && !a.target->clip()) setTarget(a, "");
  const bool cs = vm_.caseSensitive();
  if (sameName(name, "this", cs) && !a.thisUnnamed) return a.thisValue;
  if (sameName(name, "_global", cs) && vm_.version() >= 6) return Value(vm_.global());
  if (sameName(name, "_root", cs)) return Value(rootObject(a));
  int level;
  if (isLevelName(cs ? name : lowerAscii(name), level)) {
    ActionTarget* t = vm_.host() ? vm_.host()->level(level) : nullptr;
    if (t && t->scriptObject()) return Value(t->scriptObject());
    found = false;
    return Value();
  }
  int guard = 0;
  for (Scope* s = a.scope; s && guard < 4096; s = s->parent, ++guard) {
    if (s->object->has(name)) return s->object->get(name);
  }
  // Frame actions of a clip removed meanwhile read the first level's variables.
  if (!a.isFunction && a.originalTarget && !a.originalTarget->clip() && vm_.host()) {
    ActionTarget* level0 = vm_.host()->level(0);
    Object* root = level0 ? level0->scriptObject() : nullptr;
    if (root && root->has(name)) return root->get(name);
  }
  found = false;
  return Value();
}

Scope* Interpreter::scopeOf(Activation& a, const std::string& name) {
  int guard = 0;
  for (Scope* s = a.scope; s && guard < 4096; s = s->parent, ++guard) {
    if (s->object->has(name)) return s;
  }
  return nullptr;
}

Object* Interpreter::scopeHolding(Activation& a, const std::string& name) {
  Scope* s = scopeOf(a, name);
  return s ? s->object : nullptr;
}

Value Interpreter::localHolder(Activation& a, const std::string& name) {
  if (name.find_first_of(":./") != std::string::npos) return Value();
  Scope* s = scopeOf(a, name);
  if (!s) return Value();
  bool timeline = s->kind == Scope::Kind::Target || s->kind == Scope::Kind::Global;
  // Version 5 passes a timeline's function no `this` (the call gives it its timeline).
  if (s->kind == Scope::Kind::Global || (timeline && vm_.version() < 6)) return Value();
  return Value(s->object);
}

bool Interpreter::splitVariablePath(Activation& a, const std::string& name, Object*& owner, std::string& var,
                                    bool reading) {
  size_t colon = name.rfind(':');
  size_t cut = colon;
  if (cut == std::string::npos) {
    size_t dot = name.rfind('.');
    if (dot == std::string::npos || dot == 0 || dot + 1 == name.size()) return false;
    cut = dot;
  }
  var = name.substr(cut + 1);
  owner = resolvePath(a, name.substr(0, cut), false, reading ? &var : nullptr);
  return true;
}

Object* Interpreter::resolvePath(Activation& a, const std::string& path, bool colonSteps, const std::string* member) {
  Object* base = a.target ? a.target : a.originalTarget;
  if (path.empty()) return base;
  // A path whose first name leads nowhere (or to an object without the
  // member asked for) is walked again from the next scope that holds that
  // name: a local `a` that is no object hides no `_global.a.b`.
  Scope* from = a.scope;
  Object* firstFound = nullptr;
  for (int guard = 0; guard < 4096; ++guard) {
    Scope* holder = nullptr;
    Object* at = walkPathFrom(a, path, from, holder, colonSteps);
    if (at && (!member || at->has(*member))) return at;
    if (!firstFound) firstFound = at;
    if (!holder) break;
    from = holder->parent;
  }
  return firstFound;
}

Object* Interpreter::walkPathFrom(Activation& a, const std::string& path, Scope* from, Scope*& holder,
                                  bool colonSteps) {
  Object* base = a.target ? a.target : a.originalTarget;
  size_t i = 0;
  Object* at = base;
  if (path[0] == '/') {
    at = rootObject(a);
    i = 1;
  }
  bool first = path[0] != '/';
  std::string seg;
  auto stepTo = [&](const std::string& s) -> bool {
    if (!at && !first) return false;
    if (s == "..") {
      ActionTarget* clip = at ? at->clip() : nullptr;
      ActionTarget* parent = clip ? clip->parentTarget() : nullptr;
      at = parent ? parent->scriptObject() : nullptr;
    } else if (first) {
      bool found = false;
      // A path's first name is a variable in scope (clips are properties
      // of their parent, so children are found too).
      Value v;
      if (from == a.scope) {
        v = lookupPlain(a, s, found);
        holder = found ? scopeOf(a, s) : nullptr;
      } else {
        for (holder = from; holder && !holder->object->has(s); holder = holder->parent) {
        }
        if (holder) v = holder->object->get(s);
      }
      at = v.isObject() ? v.object : nullptr;
    } else {
      Value v = at->get(s);
      at = v.isObject() ? v.object : nullptr;
    }
    first = false;
    return at != nullptr;
  };
  for (; i < path.size(); ++i) {
    char c = path[i];
    // Two slashes in a row name nothing.
    if (c == '/' && i > 0 && path[i - 1] == '/') return nullptr;
    // A step may not begin with a lone dot.
    if (c == '.' && seg.empty() && (i == 0 || path[i - 1] == ':' || path[i - 1] == '/') &&
        !(i + 1 < path.size() && path[i + 1] == '.')) {
      return nullptr;
    }
    // In target paths colons separate steps as slashes do; several in a row are one.
    if (c == ':' && colonSteps) {
      if (!seg.empty() && !stepTo(seg)) return nullptr;
      seg.clear();
      continue;
    }
    if (c == '/' || (c == '.' && !(i + 1 < path.size() && path[i + 1] == '.' && seg.empty()))) {
      if (!seg.empty() && !stepTo(seg)) return nullptr;
      seg.clear();
    } else if (c == '.' && seg.empty()) {
      if (!stepTo("..")) return nullptr;
      ++i;
    } else {
      seg.push_back(c);
    }
  }
  if (!seg.empty() && !stepTo(seg)) return nullptr;
  return at;
}

Value Interpreter::getVariable(Activation& a, const std::string& name) {
  if (name.find_first_of(":./") != std::string::npos) {
    Object* owner = nullptr;
    std::string var;
    if (name.find(':') != std::string::npos || name.find('.') != std::string::npos) {
      if (splitVariablePath(a, name, owner, var, true)) return owner ? getMember(a, Value(owner), var) : Value();
    }
    Object* clip = resolvePath(a, name);
    if (clip) return Value(clip);
  }
  // Script still running in a clip removed meanwhile reads the first
  // level's root (paths, as tellTarget takes them, lead nowhere).
  if (sameName(name, "_root", vm_.caseSensitive()) && !rootObject(a) && vm_.host()) {
    if (ActionTarget* level0 = vm_.host()->level(0)) return Value(level0->scriptObject());
  }
  bool found = false;
  return lookupPlain(a, name, found);
}

void Interpreter::setVariable(Activation& a, const std::string& name, const Value& v) {
  if (name.find_first_of(":.") != std::string::npos) {
    Object* owner = nullptr;
    std::string var;
    if (splitVariablePath(a, name, owner, var)) {
      if (owner) owner->set(var, v);
      return;
    }
  }
  int guard = 0;
  Object* fallback = nullptr;
  for (Scope* s = a.scope; s && guard < 4096; s = s->parent, ++guard) {
    if (s->kind == Scope::Kind::Global) break;
    // Only an own property is assigned in place; an inherited one is not.
    if (s->object->hasOwn(name)) {
      s->object->set(name, v);
      return;
    }
    if (s->kind == Scope::Kind::Target && !fallback) fallback = s->object;
  }
  if (!fallback) fallback = a.target ? a.target : a.originalTarget;
  if (fallback) fallback->set(name, v);
}

void Interpreter::defineLocal(Activation& a, const std::string& name, const Value& v) {
  int guard = 0;
  for (Scope* s = a.scope; s && guard < 4096; s = s->parent, ++guard) {
    if (s->kind == Scope::Kind::Local) {
      s->object->set(name, v);
      return;
    }
  }
  setVariable(a, name, v);
}

bool Interpreter::deleteVariable(Activation& a, const std::string& name) {
  int guard = 0;
  for (Scope* s = a.scope; s && guard < 4096; s = s->parent, ++guard) {
    if (s->object->hasOwn(name)) return s->object->remove(name);
  }
  return false;
}

Value Interpreter::getMember(Activation&, const Value& object, const std::string& name) {
  if (object.isString() && name == "length") {
    return Value(double(toUnits(object.text, vm_.version()).size()));
  }
  Object* o = object.isObject() ? object.object : vm_.toObject(object);
  return o ? o->get(name) : Value();
}

void Interpreter::setMember(const Value& object, const std::string& name, const Value& v) {
  if (Object* o = object.asObject()) o->set(name, v);
}

std::string Interpreter::targetPathOf(Object* clipObject) {
  std::string text;
  return clipObject && clipObject->fixedText(text) ? text : std::string();
}

// ---- timelines ---------------------------------------------------------

ActionTarget* Interpreter::targetClip(Activation& a) { return a.target ? a.target->clip() : nullptr; }

// What a SetTarget scope goes above: a function's locals stay in sight,
// a frame's own timeline gives way.
Scope* Interpreter::targetBelow(Activation& a) {
  if (a.baseScope->kind == Scope::Kind::Local || !a.baseScope->parent) return a.baseScope;
  return a.baseScope->parent;
}

void Interpreter::setTarget(Activation& a, const std::string& path) {
  if (path.empty()) {
    a.target = a.originalTarget;
    a.scope = a.baseScope;
    return;
  }
  // Paths are relative to the timeline the actions belong to, not to an
  // earlier SetTarget's.
  a.target = a.originalTarget;
  a.scope = a.baseScope;
  Object* t = resolvePath(a, path, true);
  a.target = t && t->clip() ? t : nullptr;
  // A path that names no clip leaves the actions acting on the movie's root.
  if (!a.target) a.target = rootObject(a);
  Scope* below = targetBelow(a);
  a.scope = a.target ? vm_.make<Scope>(Scope::Kind::Target, a.target, below) : a.baseScope;
}

void Interpreter::timelineAction(Activation& a, uint8_t op, const uint8_t* p, size_t length) {
  switch (ActionCode(op)) {
    case ActionCode::SetTarget: {
      size_t pos = 0;
      setTarget(a, readString(p, length, pos));
      return;
    }
    case ActionCode::SetTarget2: {
      Value v = pop(a);
      Object* o = v.asObject();
      // A plain object names its target by its text.
      // A clip is found again by its path, so of two clips of one name the
      // first is the target.
      if (o && !o->clip() && std::string(o->typeName()) != "movieclip") {
        setTarget(a, vm_.toString(v));
      } else if (o && o->clip()) {
        setTarget(a, vm_.toString(v));
      } else if (o) {
        a.target = o->clip() ? o : nullptr;
        Scope* below = targetBelow(a);
        a.scope = a.target ? vm_.make<Scope>(Scope::Kind::Target, a.target, below) : a.baseScope;
      } else {
        setTarget(a, vm_.toString(v));
      }
      return;
    }
    case ActionCode::GetProperty: {
      double index = vm_.toNumber(pop(a));
      if (!std::isnan(index)) index = toInteger(index);
      std::string path = vm_.toString(pop(a));
      Object* o = resolvePath(a, path, true);
      // A property number that is no number names nothing.
      if (!o || !o->clip() || !(index >= 0 && index < 22)) {
        push(a, Value());
        return;
      }
      push(a, o->get(kPropertyNames[int(index)]));
      return;
    }
    case ActionCode::SetProperty: {
      Value v = pop(a);
      double index = toInteger(vm_.toNumber(pop(a)));
      std::string path = vm_.toString(pop(a));
      // The value converts after the target, whether or not that is found;
      // the read-only texts (_target, _url, _droptarget) take none.
      const bool textProperty = index == 13 || index == 19;
      const bool readOnlyText = index == 11 || index == 15 || index == 17;
      if (v.isObject() && !v.object->clip() && index >= 0 && index < 22 && !readOnlyText)
        v = textProperty ? Value(vm_.toString(v)) : Value(vm_.toNumber(v));
      Object* o = resolvePath(a, path, true);
      if (o && o->clip() && index >= 0 && index < 22) o->set(kPropertyNames[int(index)], v);
      return;
    }
    case ActionCode::CloneSprite: {
      double depth = vm_.toNumber(pop(a));
      std::string name = vm_.toString(pop(a));
      Object* source = resolvePath(a, vm_.toString(pop(a)));
      if (source && source->clip() && !std::isnan(depth)) source->clip()->duplicate(name, int(depth));
      return;
    }
    case ActionCode::RemoveSprite: {
      Object* o = resolvePath(a, vm_.toString(pop(a)));
      if (o && o->clip()) o->clip()->removeSelf();
      return;
    }
    case ActionCode::StartDrag: {
      // The operands convert in turn: target, lock to center, constrain
      // flag, then the rectangle from its bottom edge back to its left.
      std::string target = vm_.toString(pop(a));
      const double lock = vm_.toNumber(pop(a));
      const bool lockCenter = lock != 0 && !std::isnan(lock);
      double rect[4];
      // Only a flag of exactly 1 brings the rectangle (7 does not).
      const bool constrained = vm_.toNumber(pop(a)) == 1;
      if (constrained) {
        for (int i = 3; i >= 0; --i) rect[i] = vm_.toNumber(pop(a));
      }
      if (vm_.unwinding()) return;
      Object* o = resolvePath(a, target);
      startDragging(o ? o->clip() : nullptr, lockCenter, constrained ? rect : nullptr);
      return;
    }
    case ActionCode::StopSounds:
      if (vm_.host()) vm_.host()->stopSounds(nullptr, std::string());
      return;
    default: break;
  }
  ActionTarget* t = targetClip(a);
  switch (ActionCode(op)) {
    case ActionCode::NextFrame:
      if (t) t->nextFrame();
      break;
    case ActionCode::PrevFrame:
      if (t) t->prevFrame();
      break;
    case ActionCode::Play:
      if (t) t->play();
      break;
    case ActionCode::Stop:
      if (t) t->stop();
      break;
    case ActionCode::GotoFrame:
      if (t && length >= 2) t->gotoFrame(u16At(p), false);
      break;
    case ActionCode::GoToLabel: {
      size_t pos = 0;
      std::string label = readString(p, length, pos);
      if (t) t->gotoLabel(label, false);
      break;
    }
    case ActionCode::GotoFrame2: gotoFrame2(a, p, length); break;
    default: break;  // quality and EndDrag have nothing to act on here
  }
}

void Interpreter::gotoFrame2(Activation& a, const uint8_t* p, size_t length) {
  if (length < 1) return;
  bool andPlay = p[0] & 1;
  int bias = (p[0] & 2) && length >= 3 ? u16At(p + 1) : 0;
  Value frame = pop(a);
  ActionTarget* t = targetClip(a);
  if (!t) return;
  auto gotoNumber = [&](ActionTarget* at, double n) {
    int frame0 = frameIndexOf(n, bias);
    if (frame0 >= 0) at->gotoFrame(frame0, andPlay);
  };
  // A scene's label counts from the scene's first frame.
  auto gotoLabel = [&](ActionTarget* at, const std::string& label) {
    int found = bias ? at->findLabel(label) : -1;
    if (found >= 0) {
      at->gotoFrame(found + bias, andPlay);
    } else if (!bias) {
      at->gotoLabel(label, andPlay);
    }
  };
  // Whole numbers are frames; anything else names a label by its text
  // (a movie may label a frame "undefined" or "4.5").
  if (frame.isNumber() && frame.number == std::floor(frame.number)) {
    gotoNumber(t, frame.number);
    return;
  }
  std::string text = vm_.toString(frame);
  if (vm_.unwinding()) return;
  if (!frame.isString()) {
    gotoLabel(t, text);
    return;
  }
  std::string path, name = text;
  size_t colon = text.rfind(':');
  if (colon != std::string::npos) {
    path = text.substr(0, colon);
    name = text.substr(colon + 1);
  }
  ActionTarget* at = t;
  if (!path.empty()) {
    Object* o = resolvePath(a, path);
    at = o ? o->clip() : nullptr;
  }
  if (!at) return;
  double n = parseNumber(name, 7);
  if (!std::isnan(n)) {
    gotoNumber(at, n);
  } else {
    gotoLabel(at, name);
  }
}

void Interpreter::getUrl2(Activation& a, const uint8_t* p, size_t length) {
  std::string window = vm_.toString(pop(a));
  std::string url = vm_.toString(pop(a));
  if (length < 1) return;
  // FSCommands pass whatever the form.
  bool loadVariables = p[0] & 0x80;
  bool loadTarget = p[0] & 0x40;
  bool command = url.size() > 10 && (url.compare(0, 10, "FSCommand:") == 0 || url.compare(0, 10, "fscommand:") == 0);
  if (loadVariables && !command) {
    if (Object* target = resolvePath(a, window)) avm1::loadVariables(vm_, url, target);
    return;
  }
  int level = 0;
  if (!command && vm_.host() && levelOfTarget(window, level)) {
    loadIntoLevel(*vm_.host(), url, level);
    return;
  }
  if (!command && loadTarget) {
    Object* o = window.empty() ? nullptr : resolvePath(a, window);
    if (ActionTarget* clip = o ? o->clip() : nullptr) loadIntoClip(*clip, url);
    return;
  }
  if ((command || (!loadVariables && !loadTarget)) && vm_.host()) vm_.host()->getUrl(url, window);
}

void Interpreter::callFrame(Activation& a) {
  Value frame = pop(a);
  ActionTarget* t = targetClip(a);
  if (!t) return;
  std::string text = vm_.toString(frame);
  ActionTarget* at = t;
  size_t colon = text.rfind(':');
  if (colon != std::string::npos) {
    Object* o = resolvePath(a, text.substr(0, colon));
    at = o ? o->clip() : nullptr;
    text = text.substr(colon + 1);
  }
  if (!at) return;
  double n = parseNumber(text, 7);
  int frame0 = std::isnan(n) ? at->findLabel(text) : int(n) - 1;
  std::vector<CodeBlock> blocks;
  if (frame0 < 0 || !at->frameActions(frame0, blocks)) return;
  Object* clipObject = at->scriptObject();
  for (const CodeBlock& b : blocks) {
    Activation sub;
    sub.code = b.data;
    sub.size = b.size;
    sub.baseScope = sub.scope = vm_.make<Scope>(Scope::Kind::Target, clipObject, a.baseScope->parent);
    sub.thisValue = Value(clipObject);
    sub.target = sub.originalTarget = clipObject;
    sub.registers.resize(4);
    sub.constants = std::make_shared<std::vector<std::string>>();
    size_t jumpTo = 0;
    if (!vm_.enterCall()) return;
    run(sub, 0, sub.size, jumpTo);
    vm_.leaveCall();
  }
}

}  // namespace avm1
}  // namespace swf
