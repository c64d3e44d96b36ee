#include "multimedia_timer.h"

namespace {

class SystemMultimediaTimer final : public MultimediaTimer {
 public:
  MMRESULT getCaps(TIMECAPS* caps) override { return timeGetDevCaps(caps, sizeof *caps); }
  MMRESULT beginPeriod(UINT period) override { return timeBeginPeriod(period); }
  UINT setEvent(UINT delay, UINT resolution, LPTIMECALLBACK callback, DWORD_PTR user, UINT flags) override {
    return timeSetEvent(delay, resolution, callback, user, flags);
  }
  MMRESULT killEvent(UINT id) override { return timeKillEvent(id); }
  DWORD now() override { return timeGetTime(); }
};

}  // namespace

MultimediaTimer& systemMultimediaTimer() {
  static SystemMultimediaTimer timer;
  return timer;
}
