// The system's multimedia timer, behind an interface so that tests can stand in
// for the timer thread and the clock.
#pragma once

#include <windows.h>
#include <mmsystem.h>

class MultimediaTimer {
 public:
  virtual ~MultimediaTimer() = default;
  virtual MMRESULT getCaps(TIMECAPS* caps) = 0;
  virtual MMRESULT beginPeriod(UINT period) = 0;
  // 0 when no event could be started.
  virtual UINT setEvent(UINT delay, UINT resolution, LPTIMECALLBACK callback, DWORD_PTR user, UINT flags) = 0;
  virtual MMRESULT killEvent(UINT id) = 0;
  virtual DWORD now() = 0;  // milliseconds
};

MultimediaTimer& systemMultimediaTimer();
