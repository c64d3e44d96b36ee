// setInterval, clearInterval, setTimeout and clearTimeout: calls on the
// movie's own clock, so an export runs them at the same frames every time.
#include "../timers.h"
#include "../vm.h"
#include "builtins.h"

namespace swf {
namespace avm1 {
namespace {

double clockMs(Vm& vm) { return vm.host() ? vm.host()->movieTimeMs() : 0; }

// (function, delay, args...) or (object, "method", delay, args...).
Value schedule(Vm& vm, const Args& args, bool repeat) {
  const Value& first = arg(args, 0);
  Object* o = first.asObject();
  if (!o) return Value();
  size_t delayAt = 1;
  std::string method;
  if (!o->asFunction()) {
    if (args.size() < 2) return Value();
    method = vm.toString(args[1]);
    delayAt = 2;
  }
  // A missing or undefined delay schedules nothing; null counts as 0.
  if (args.size() <= delayAt || args[delayAt].isUndefined()) return Value();
  double delay = vm.toNumber(args[delayAt]);
  Args rest(args.begin() + delayAt + 1, args.end());
  int id = vm.timers().add(first, method, rest, delay, clockMs(vm), repeat);
  return id ? Value(id) : Value();
}

Value clearTimer(Vm& vm, const Value&, const Args& args) {
  if (!args.empty()) vm.timers().clear(vm.toInt32(args[0]));
  return Value();
}

}  // namespace

void installTimerFunctions(Vm& vm) {
  Object* g = vm.global();
  vm.defineMethod(g, "setInterval", [](Vm& vm, const Value&, const Args& args) { return schedule(vm, args, true); });
  vm.defineMethod(g, "setTimeout", [](Vm& vm, const Value&, const Args& args) { return schedule(vm, args, false); });
  vm.defineMethod(g, "clearInterval", clearTimer);
  vm.defineMethod(g, "clearTimeout", clearTimer);
}

}  // namespace avm1
}  // namespace swf
