// The timer the program hands to the Flash control: the control advises it with
// its frame interval and from then on advances only on the program's ticks.
#pragma once

#include <windows.h>
#include <mmsystem.h>
#include <ocmm.h>

#include "multimedia_timer.h"

struct HostTimer {
  ITimer ITimer_iface;
  LONG ref;  // starts at 1, the owner's reference; never frees the object
  UINT periodMin;
  UINT periodMax;
  ITimerSink* sink;  // the one sink slot, not reference-counted
  int capsObtained;
  int frozen;
  DWORD frozenTime;
  MultimediaTimer* clock;
};

void initHostTimer(HostTimer* timer, MultimediaTimer& clock);
