// The timer the program hands to the Flash control: the control advises it with
// its frame interval and from then on advances only on the program's ticks.
#pragma once

#include <windows.h>
#include <mmsystem.h>
#include <ocmm.h>

#include "multimedia_timer.h"
#include "tick_pacer.h"

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
  // The opened movie's frame rate (0: none), so that a whole-millisecond
  // interval advised for it is kept at its exact rate.
  double movieFrameRate;
  TickPacer pacer;  // run on the timer thread once the event is started
};

void initHostTimer(HostTimer* timer, MultimediaTimer& clock);

// The periodic event's callback; user is the HostTimer. Posts the ticks due.
void CALLBACK pacedTickCallback(UINT id, UINT message, DWORD_PTR user, DWORD_PTR, DWORD_PTR);
