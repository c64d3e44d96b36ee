#include "host_timer.h"

#include "shockwave_flash.h"
#include "tick_state.h"

namespace {

HostTimer* impl_from_ITimer(ITimer* iface) { return CONTAINING_RECORD(iface, HostTimer, ITimer_iface); }

HRESULT STDMETHODCALLTYPE HostTimer_QueryInterface(ITimer* iface, REFIID riid, void** out) {
  if (!out) return E_POINTER;
  if (IsEqualIID(riid, IID_IUnknown) || IsEqualIID(riid, IID_ITimer)) {
    *out = iface;
    ITimer_AddRef(iface);
    return S_OK;
  }
  *out = nullptr;
  return E_NOINTERFACE;
}

ULONG STDMETHODCALLTYPE HostTimer_AddRef(ITimer* iface) { return InterlockedIncrement(&impl_from_ITimer(iface)->ref); }

// The timer lives inside its owner: the count only goes down.
ULONG STDMETHODCALLTYPE HostTimer_Release(ITimer* iface) { return InterlockedDecrement(&impl_from_ITimer(iface)->ref); }

HRESULT STDMETHODCALLTYPE HostTimer_Advise(ITimer* iface, VARIANT, VARIANT, VARIANT interval, DWORD, ITimerSink* sink,
                                           DWORD* cookie) {
  HostTimer* timer = impl_from_ITimer(iface);
  if (!timer->capsObtained) {
    TIMECAPS caps = {};
    if (timer->clock->getCaps(&caps) == TIMERR_NOERROR) {
      timer->periodMin = caps.wPeriodMin;
      timer->periodMax = caps.wPeriodMax;
      timer->capsObtained = 1;
    }
  }
  timer->sink = sink;
  const UINT milliseconds = V_UI4(&interval);
  UINT period = milliseconds;
  if (period < timer->periodMin) period = timer->periodMin;
  if (period > timer->periodMax) period = timer->periodMax;
  timer->clock->beginPeriod(period);
  const double tickPeriod = tickPeriodFor(milliseconds, timer->movieFrameRate);
  timer->pacer.start(tickPeriod, timer->clock->now());
  const UINT event = timer->clock->setEvent(firingDelayFor(milliseconds, tickPeriod), 0, pacedTickCallback,
                                            reinterpret_cast<DWORD_PTR>(timer), TIME_PERIODIC | TIME_CALLBACK_FUNCTION);
  tickState.pendingTicks = 0;
  if (event == 0) return E_FAIL;
  if (cookie) *cookie = event;
  return S_OK;
}

HRESULT STDMETHODCALLTYPE HostTimer_Unadvise(ITimer* iface, DWORD cookie) {
  HostTimer* timer = impl_from_ITimer(iface);
  timer->clock->killEvent(cookie);
  timer->sink = nullptr;
  return S_OK;
}

HRESULT STDMETHODCALLTYPE HostTimer_Freeze(ITimer* iface, BOOL freeze) {
  HostTimer* timer = impl_from_ITimer(iface);
  timer->frozen = freeze;
  if (freeze) timer->frozenTime = timer->clock->now();
  return S_OK;
}

HRESULT STDMETHODCALLTYPE HostTimer_GetTime(ITimer* iface, VARIANT* time) {
  HostTimer* timer = impl_from_ITimer(iface);
  if (!time) return E_POINTER;
  V_VT(time) = VT_UI4;
  V_UI4(time) = timer->frozen ? timer->frozenTime : timer->clock->now();
  return S_OK;
}

const ITimerVtbl kHostTimerVtbl = {
    HostTimer_QueryInterface, HostTimer_AddRef, HostTimer_Release, HostTimer_Advise,
    HostTimer_Unadvise,       HostTimer_Freeze, HostTimer_GetTime,
};

}  // namespace

void CALLBACK pacedTickCallback(UINT, UINT, DWORD_PTR user, DWORD_PTR, DWORD_PTR) {
  HostTimer* timer = reinterpret_cast<HostTimer*>(user);
  for (unsigned due = timer->pacer.take(timer->clock->now()); due > 0; --due) postTick(tickState, &timer->sink);
}

void initHostTimer(HostTimer* timer, MultimediaTimer& clock) {
  timer->ITimer_iface.lpVtbl = &kHostTimerVtbl;
  timer->ref = 1;
  timer->periodMin = 0;
  timer->periodMax = 0;
  timer->sink = nullptr;
  timer->capsObtained = 0;
  timer->frozen = 0;
  timer->frozenTime = 0;
  timer->clock = &clock;
  timer->movieFrameRate = 0;
  timer->pacer = TickPacer();
}
