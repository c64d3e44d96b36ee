#include "timer_site.h"

namespace {

TimerSite* impl_from_IServiceProvider(IServiceProvider* iface) {
  return CONTAINING_RECORD(iface, TimerSite, IServiceProvider_iface);
}
TimerSite* impl_from_ITimerService(ITimerService* iface) {
  return CONTAINING_RECORD(iface, TimerSite, ITimerService_iface);
}

// IServiceProvider

HRESULT STDMETHODCALLTYPE Site_QueryInterface(IServiceProvider* iface, REFIID riid, void** out) {
  if (!out) return E_POINTER;
  if (IsEqualIID(riid, IID_IUnknown) || IsEqualIID(riid, IID_IServiceProvider)) {
    *out = iface;
    return S_OK;
  }
  *out = nullptr;
  return E_NOINTERFACE;
}
ULONG STDMETHODCALLTYPE Site_AddRef(IServiceProvider*) { return 1; }
ULONG STDMETHODCALLTYPE Site_Release(IServiceProvider*) { return 1; }
// Only the interface asked for decides, whatever service is named; any other
// leaves out as it was.
HRESULT STDMETHODCALLTYPE Site_QueryService(IServiceProvider* iface, REFGUID, REFIID riid, void** out) {
  if (!out) return E_POINTER;
  if (!IsEqualIID(riid, IID_ITimerService)) return E_NOINTERFACE;
  ITimerService* service = &impl_from_IServiceProvider(iface)->ITimerService_iface;
  return ITimerService_QueryInterface(service, IID_ITimerService, out);
}

const IServiceProviderVtbl kSiteVtbl = {
    Site_QueryInterface,
    Site_AddRef,
    Site_Release,
    Site_QueryService,
};

// ITimerService

HRESULT STDMETHODCALLTYPE TimerService_QueryInterface(ITimerService* iface, REFIID riid, void** out) {
  if (!out) return E_POINTER;
  if (IsEqualIID(riid, IID_IUnknown) || IsEqualIID(riid, IID_ITimerService)) {
    *out = iface;
    return S_OK;
  }
  *out = nullptr;
  return E_NOINTERFACE;
}
ULONG STDMETHODCALLTYPE TimerService_AddRef(ITimerService*) { return 1; }
ULONG STDMETHODCALLTYPE TimerService_Release(ITimerService*) { return 1; }
HRESULT STDMETHODCALLTYPE TimerService_CreateTimer(ITimerService* iface, ITimer* reference, ITimer** timer) {
  if (!timer) return E_POINTER;
  ITimer* source = reference ? reference : impl_from_ITimerService(iface)->timer;
  return ITimer_QueryInterface(source, IID_ITimer, reinterpret_cast<void**>(timer));
}
HRESULT STDMETHODCALLTYPE TimerService_GetNamedTimer(ITimerService*, REFGUID, ITimer** timer) {
  if (timer) *timer = nullptr;
  return E_NOTIMPL;
}
HRESULT STDMETHODCALLTYPE TimerService_SetNamedTimerReference(ITimerService*, REFGUID, ITimer*) { return E_NOTIMPL; }

const ITimerServiceVtbl kTimerServiceVtbl = {
    TimerService_QueryInterface, TimerService_AddRef,        TimerService_Release,
    TimerService_CreateTimer,    TimerService_GetNamedTimer, TimerService_SetNamedTimerReference,
};

}  // namespace

void initTimerSite(TimerSite* site, ITimer* timer) {
  site->IServiceProvider_iface.lpVtbl = &kSiteVtbl;
  site->ITimerService_iface.lpVtbl = &kTimerServiceVtbl;
  site->timer = timer;
}
