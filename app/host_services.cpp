#include "host_services.h"

#include "shockwave_flash.h"

namespace {

// HostTimerService

HostTimerService* impl_from_ITimerService(ITimerService* iface) {
  return CONTAINING_RECORD(iface, HostTimerService, ITimerService_iface);
}

HRESULT STDMETHODCALLTYPE HostTimerService_QueryInterface(ITimerService* iface, REFIID riid,
                                                          void** out) {
  if (!out) return E_POINTER;
  if (IsEqualIID(riid, IID_IUnknown) || IsEqualIID(riid, IID_ITimerService)) {
    *out = iface;
    return S_OK;
  }
  *out = nullptr;
  return E_NOINTERFACE;
}

ULONG STDMETHODCALLTYPE HostTimerService_AddRef(ITimerService*) { return 1; }
ULONG STDMETHODCALLTYPE HostTimerService_Release(ITimerService*) { return 1; }

HRESULT STDMETHODCALLTYPE HostTimerService_CreateTimer(ITimerService* iface, ITimer* reference,
                                                       ITimer** timer) {
  if (reference) return ITimer_QueryInterface(reference, IID_ITimer, reinterpret_cast<void**>(timer));
  ITimer* own = &impl_from_ITimerService(iface)->timer->ITimer_iface;
  return ITimer_QueryInterface(own, IID_ITimer, reinterpret_cast<void**>(timer));
}

HRESULT STDMETHODCALLTYPE HostTimerService_GetNamedTimer(ITimerService*, REFGUID, ITimer**) {
  return E_NOTIMPL;
}

HRESULT STDMETHODCALLTYPE HostTimerService_SetNamedTimerReference(ITimerService*, REFGUID,
                                                                  ITimer*) {
  return E_NOTIMPL;
}

const ITimerServiceVtbl HostTimerService_vtbl = {
    HostTimerService_QueryInterface, HostTimerService_AddRef,
    HostTimerService_Release,        HostTimerService_CreateTimer,
    HostTimerService_GetNamedTimer,  HostTimerService_SetNamedTimerReference,
};

// HostServiceProvider

HostServiceProvider* impl_from_IServiceProvider(IServiceProvider* iface) {
  return CONTAINING_RECORD(iface, HostServiceProvider, IServiceProvider_iface);
}

HRESULT STDMETHODCALLTYPE HostServiceProvider_QueryInterface(IServiceProvider* iface,
                                                             REFIID riid, void** out) {
  if (!out) return E_POINTER;
  if (IsEqualIID(riid, IID_IUnknown) || IsEqualIID(riid, IID_IServiceProvider)) {
    *out = iface;
    return S_OK;
  }
  *out = nullptr;
  return E_NOINTERFACE;
}

ULONG STDMETHODCALLTYPE HostServiceProvider_AddRef(IServiceProvider*) { return 1; }
ULONG STDMETHODCALLTYPE HostServiceProvider_Release(IServiceProvider*) { return 1; }

// Only the timer service is offered, whatever service is named.
HRESULT STDMETHODCALLTYPE HostServiceProvider_QueryService(IServiceProvider* iface, REFGUID,
                                                           REFIID riid, void** out) {
  if (!IsEqualIID(riid, IID_ITimerService)) return E_NOINTERFACE;
  ITimerService* service = &impl_from_IServiceProvider(iface)->timerService->ITimerService_iface;
  return ITimerService_QueryInterface(service, IID_ITimerService, out);
}

const IServiceProviderVtbl HostServiceProvider_vtbl = {
    HostServiceProvider_QueryInterface, HostServiceProvider_AddRef,
    HostServiceProvider_Release,        HostServiceProvider_QueryService,
};

}  // namespace

void initHostTimerService(HostTimerService* service, HostTimer* timer) {
  service->ITimerService_iface.lpVtbl = const_cast<ITimerServiceVtbl*>(&HostTimerService_vtbl);
  service->timer = timer;
}

void initHostServiceProvider(HostServiceProvider* provider, HostTimerService* timerService) {
  provider->IServiceProvider_iface.lpVtbl =
      const_cast<IServiceProviderVtbl*>(&HostServiceProvider_vtbl);
  provider->timerService = timerService;
}
