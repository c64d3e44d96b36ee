#include "clock_steps.h"

#include <algorithm>

namespace {

// Drift followed: one frame in a thousand (1 ms per second), ten times what a
// poor sound card's clock is off.
constexpr int64_t kDriftDivisor = 1000;

}  // namespace

ClockSteps::ClockSteps(int64_t stepFrames, int64_t spanFrames)
    : stepFrames_(stepFrames), spanFrames_(std::max<int64_t>(spanFrames, 1)) {}

void ClockSteps::restart() {
  readings_.clear();
  settled_ = false;
}

// Late readings only make a lag larger, so the least is the truest.
bool ClockSteps::spanLeast(int64_t* lag) const {
  if (readings_.empty() || readings_.back().clock - readings_.front().clock < spanFrames_) return false;
  *lag = std::min_element(readings_.begin(), readings_.end(), [](const Reading& a, const Reading& b) {
           return a.lag < b.lag;
         })->lag;
  return true;
}

int64_t ClockSteps::observe(int64_t clockFrames, int64_t streamFrames) {
  readings_.push_back({clockFrames, clockFrames - streamFrames});
  while (readings_.size() > 1 && clockFrames - readings_[1].clock >= spanFrames_) readings_.pop_front();
  int64_t lag = 0;
  if (!spanLeast(&lag)) return 0;
  if (!settled_) {
    settled_ = true;
    baseline_ = lag;
    baselineClock_ = clockFrames;
    return 0;
  }
  const int64_t change = lag - baseline_;
  if (change >= stepFrames_ || change <= -stepFrames_) {
    // The caller makes it up; readings from before the correction no longer hold.
    readings_.clear();
    baselineClock_ = clockFrames;
    return change;
  }
  const int64_t allowed = (clockFrames - baselineClock_) / kDriftDivisor;
  if (allowed > 0) {
    baseline_ += std::clamp(change, -allowed, allowed);
    baselineClock_ = clockFrames;
  }
  return 0;
}
