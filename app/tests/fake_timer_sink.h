// An ITimerSink that counts the ticks it gets and keeps the last time.
#pragma once

#include <windows.h>
#include <ocmm.h>

struct FakeTimerSink {
  ITimerSink ITimerSink_iface;
  int calls;
  VARIANT last;
};

void initFakeTimerSink(FakeTimerSink* sink);
