// The site both deliverables hand to the Flash control: a service provider whose
// only service is a timer service, which hands out the host's own timer (the
// program's multimedia-timer clock, or the renderer's timer that only keeps the
// sink). Neither object counts references: both live exactly as long as their owner.
#pragma once

#include <windows.h>
#include <servprov.h>
#include <ocmm.h>

struct TimerSite {
  IServiceProvider IServiceProvider_iface;
  ITimerService ITimerService_iface;
  ITimer* timer;  // not counted; outlives the site
};

void initTimerSite(TimerSite* site, ITimer* timer);
