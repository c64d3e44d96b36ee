// The movie's clock is the host's: the control advises the host's timer with
// its frame interval and advances exactly one frame per OnTimer.
#include "flash_control.h"
#include "tick_repaint.h"

namespace {

VARIANT milliseconds(DWORD value) {
  VARIANT v;
  VariantInit(&v);
  V_VT(&v) = VT_UI4;
  V_UI4(&v) = value;
  return v;
}

template <typename T>
void release(T* p) {
  if (p) p->lpVtbl->Release(p);
}

// The host's timer service, reached through the client site's IServiceProvider.
ITimer* createHostTimer(IOleClientSite* site) {
  IServiceProvider* provider = nullptr;
  if (!site || FAILED(site->lpVtbl->QueryInterface(site, IID_IServiceProvider, (void**)&provider))) return nullptr;
  ITimerService* service = nullptr;
  HRESULT hr = provider->lpVtbl->QueryService(provider, IID_ITimerService, IID_ITimerService, (void**)&service);
  release(provider);
  if (FAILED(hr) || !service) return nullptr;
  ITimer* timer = nullptr;
  hr = service->lpVtbl->CreateTimer(service, nullptr, &timer);
  release(service);
  return SUCCEEDED(hr) ? timer : nullptr;
}

inline FlashControl* impl_from_ITimerSink(ITimerSink* iface) {
  return CONTAINING_RECORD(iface, FlashControl, ITimerSink_iface);
}

HRESULT STDMETHODCALLTYPE TimerSink_QueryInterface(ITimerSink* iface, REFIID iid, void** object) {
  return flashQueryInterface(impl_from_ITimerSink(iface), iid, object);
}
ULONG STDMETHODCALLTYPE TimerSink_AddRef(ITimerSink* iface) { return flashAddRef(impl_from_ITimerSink(iface)); }
ULONG STDMETHODCALLTYPE TimerSink_Release(ITimerSink* iface) { return flashRelease(impl_from_ITimerSink(iface)); }
// The time passed is not looked at: one call is one frame, however late, and
// one tick's share of the movie's sound.
HRESULT STDMETHODCALLTYPE TimerSink_OnTimer(ITimerSink* iface, VARIANT) {
  FlashControl* control = impl_from_ITimerSink(iface);
  HRESULT hr = guarded([control] {
    loadNamedMovie(control);
    control->player->tick();
    control->sound->tick();
    return S_OK;
  });
  repaintTickChanges(control);
  return hr;
}

}  // namespace

const ITimerSinkVtbl kTimerSinkVtbl = {
    TimerSink_QueryInterface,
    TimerSink_AddRef,
    TimerSink_Release,
    TimerSink_OnTimer,
};

void adviseHostClock(FlashControl* control) {
  unadviseHostClock(control);
  ITimer* timer = createHostTimer(control->clientSite);
  if (!timer) return;
  VARIANT now = milliseconds(0);
  VARIANT interval = milliseconds(DWORD(control->frameIntervalMs));
  DWORD cookie = 0;
  if (FAILED(timer->lpVtbl->Advise(timer, now, now, interval, 0, &control->ITimerSink_iface, &cookie))) {
    release(timer);
    return;
  }
  control->timer = timer;
  control->timerCookie = cookie;
}

void unadviseHostClock(FlashControl* control) {
  ITimer* timer = control->timer;
  if (!timer) return;
  control->timer = nullptr;
  timer->lpVtbl->Unadvise(timer, control->timerCookie);
  release(timer);
}
