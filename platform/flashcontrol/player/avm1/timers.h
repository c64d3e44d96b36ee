// setInterval / setTimeout on the movie's own clock: due calls run when the
// player passes the movie time they wait for, so runs are repeatable.
#pragma once

#include <cstdint>
#include <vector>

#include "value.h"

namespace swf {
namespace avm1 {

class Vm;
class Object;

class Timers {
 public:
  // A function (or obj[method]) called every periodMs (once for a timeout);
  // returns its id.
  int add(const Value& target, const Value& method, double periodMs, std::vector<Value> args, bool repeat,
          double nowMs);
  void remove(int id);
  // Runs what is due by nowMs (a timer at most a few times per call).
  void runDue(Vm& vm, double nowMs);
  void references(std::vector<Object*>& out) const;

 private:
  struct Timer {
    int id;
    Value target;  // a function, or the object of method
    Value method;  // undefined: call target itself
    double period;
    double due;
    std::vector<Value> args;
    bool repeat;
  };
  std::vector<Timer> timers_;
  int nextId_ = 1;
};

void installTimerFunctions(Vm& vm);

}  // namespace avm1
}  // namespace swf
