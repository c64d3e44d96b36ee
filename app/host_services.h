// The site's service provider and the timer service through which the Flash
// control finds the program's HostTimer. Neither counts references: both live
// exactly as long as their owner.
#pragma once

#include <windows.h>
#include <servprov.h>
#include <ocmm.h>

#include "host_timer.h"

struct HostTimerService {
  ITimerService ITimerService_iface;
  HostTimer* timer;
};

struct HostServiceProvider {
  IServiceProvider IServiceProvider_iface;
  HostTimerService* timerService;
};

void initHostTimerService(HostTimerService* service, HostTimer* timer);
void initHostServiceProvider(HostServiceProvider* provider, HostTimerService* timerService);
