// The calls setInterval and setTimeout schedule on the movie clock. The
// player takes the due ones between frames; nothing here runs script.
#pragma once

#include <string>
#include <vector>

#include "function.h"

namespace swf {
namespace avm1 {

struct Timer {
  int id = 0;
  Value callee;        // the function, or the object whose method is called
  std::string method;  // empty: callee itself is called
  Args args;
  double intervalMs = 0;
  double dueMs = 0;
  bool repeat = false;
};

// Intervals shorter than this run at this pace, so that a zero interval
// cannot spin.
constexpr double kMinTimerIntervalMs = 10;
// Timers one movie may keep at once; more are refused.
constexpr size_t kMaxTimers = 4096;

class TimerQueue {
 public:
  // The new timer's id (from 1), or 0 when too many are waiting.
  int add(const Value& callee, const std::string& method, const Args& args, double delayMs, double nowMs, bool repeat);
  bool clear(int id);
  // The earliest timer due by nowMs (ties by id). An interval moves on to
  // its first time after nowMs, a timeout leaves the queue.
  bool takeDue(double nowMs, Timer& out);
  size_t size() const { return timers_.size(); }
  void references(std::vector<Object*>& out) const;

 private:
  std::vector<Timer> timers_;
  int nextId_ = 1;
};

}  // namespace avm1
}  // namespace swf
