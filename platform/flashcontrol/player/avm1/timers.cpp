#include "timers.h"

#include <algorithm>
#include <cmath>

namespace swf {
namespace avm1 {

int TimerQueue::add(const Value& callee, const std::string& method, const Args& args, double delayMs, double nowMs,
                    bool repeat) {
  if (timers_.size() >= kMaxTimers) return 0;
  Timer t;
  t.id = nextId_++;
  t.callee = callee;
  t.method = method;
  t.args = args;
  t.intervalMs = std::isfinite(delayMs) ? std::max(delayMs, kMinTimerIntervalMs) : kMinTimerIntervalMs;
  t.dueMs = nowMs + t.intervalMs;
  t.repeat = repeat;
  timers_.push_back(std::move(t));
  return timers_.back().id;
}

bool TimerQueue::clear(int id) {
  auto it = std::find_if(timers_.begin(), timers_.end(), [id](const Timer& t) { return t.id == id; });
  if (it == timers_.end()) return false;
  timers_.erase(it);
  return true;
}

bool TimerQueue::takeDue(double nowMs, Timer& out) {
  auto best = timers_.end();
  for (auto it = timers_.begin(); it != timers_.end(); ++it) {
    if (it->dueMs > nowMs) continue;
    if (best == timers_.end() || it->dueMs < best->dueMs) best = it;
  }
  if (best == timers_.end()) return false;
  out = *best;
  if (best->repeat) {
    // At most once per look at the clock: times missed meanwhile are skipped.
    while (best->dueMs <= nowMs) best->dueMs += best->intervalMs;
  } else {
    timers_.erase(best);
  }
  return true;
}

void TimerQueue::references(std::vector<Object*>& out) const {
  for (const Timer& t : timers_) {
    if (t.callee.object) out.push_back(t.callee.object);
    for (const Value& v : t.args) {
      if (v.object) out.push_back(v.object);
    }
  }
}

}  // namespace avm1
}  // namespace swf
