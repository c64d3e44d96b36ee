#include "timers.h"

#include <algorithm>
#include <cmath>

#include "vm.h"

namespace swf {
namespace avm1 {

int Timers::add(const Value& target, const Value& method, double periodMs, std::vector<Value> args, bool repeat,
                double nowMs) {
  if (std::isnan(periodMs) || periodMs < 0) periodMs = 0;
  Timer t{nextId_++, target, method, periodMs, nowMs + periodMs, std::move(args), repeat};
  timers_.push_back(std::move(t));
  return t.id;
}

void Timers::remove(int id) {
  timers_.erase(std::remove_if(timers_.begin(), timers_.end(), [id](const Timer& t) { return t.id == id; }),
                timers_.end());
}

void Timers::runDue(Vm& vm, double nowMs) {
  std::vector<int> ids;
  for (const Timer& t : timers_) ids.push_back(t.id);
  for (int id : ids) {
    for (int round = 0; round < 4; ++round) {
      auto it = std::find_if(timers_.begin(), timers_.end(), [id](const Timer& t) { return t.id == id; });
      if (it == timers_.end() || it->due > nowMs) break;
      Timer t = *it;
      // A period shorter than a frame still fires once a frame at most.
      it->due = t.period > 0 ? std::max(t.due + t.period, nowMs - t.period) : nowMs + 1;
      if (!t.repeat) remove(id);
      if (t.method.isUndefined()) {
        vm.call(t.target, Value(), t.args);
      } else if (Object* o = t.target.asObject()) {
        vm.call(o->get(vm.toString(t.method)), t.target, t.args);
      }
      vm.endRun();
      if (!t.repeat || t.period <= 0) break;
    }
  }
}

void Timers::references(std::vector<Object*>& out) const {
  for (const Timer& t : timers_) {
    if (t.target.object) out.push_back(t.target.object);
    for (const Value& v : t.args) {
      if (v.object) out.push_back(v.object);
    }
  }
}

namespace {

Value addTimer(Vm& vm, const Args& args, bool repeat) {
  if (args.empty()) return Value();
  double now = vm.host() ? vm.host()->movieTimeMs() : 0;
  Object* first = args[0].asObject();
  if (first && first->asFunction()) {
    double period = vm.toNumber(arg(args, 1));
    std::vector<Value> rest(args.size() > 2 ? args.begin() + 2 : args.end(), args.end());
    return Value(double(vm.timers().add(args[0], Value(), period, rest, repeat, now)));
  }
  if (first && args.size() >= 3) {
    double period = vm.toNumber(args[2]);
    std::vector<Value> rest(args.size() > 3 ? args.begin() + 3 : args.end(), args.end());
    return Value(double(vm.timers().add(args[0], args[1], period, rest, repeat, now)));
  }
  return Value();
}

}  // namespace

void installTimerFunctions(Vm& vm) {
  Object* g = vm.global();
  vm.defineMethod(g, "setInterval", [](Vm& vm, const Value&, const Args& args) { return addTimer(vm, args, true); });
  vm.defineMethod(g, "setTimeout", [](Vm& vm, const Value&, const Args& args) { return addTimer(vm, args, false); });
  auto clear = [](Vm& vm, const Value&, const Args& args) -> Value {
    vm.timers().remove(vm.toInt32(arg(args, 0)));
    return Value();
  };
  vm.defineMethod(g, "clearInterval", clear);
  vm.defineMethod(g, "clearTimeout", clear);
}

}  // namespace avm1
}  // namespace swf
