// What the renderer hands to the control's host: a site that offers the timer
// service, the timer service, and the timer whose sink the renderer ticks
// itself, once per frame step. None of them owns the renderer.
#include "frame_renderer_object.h"

namespace {

inline FrameRenderer* impl_from_IServiceProvider(IServiceProvider* iface) {
  return CONTAINING_RECORD(iface, FrameRenderer, IServiceProvider_iface);
}
inline FrameRenderer* impl_from_ITimerService(ITimerService* iface) {
  return CONTAINING_RECORD(iface, FrameRenderer, ITimerService_iface);
}
inline FrameRenderer* impl_from_ITimer(ITimer* iface) {
  return CONTAINING_RECORD(iface, FrameRenderer, ITimer_iface);
}

// Site

HRESULT STDMETHODCALLTYPE Site_QueryInterface(IServiceProvider* iface, REFIID iid, void** object) {
  if (!object) return E_POINTER;
  if (IsEqualIID(iid, IID_IUnknown) || IsEqualIID(iid, IID_IServiceProvider)) {
    *object = iface;
    return S_OK;
  }
  *object = nullptr;
  return E_NOINTERFACE;
}
ULONG STDMETHODCALLTYPE Site_AddRef(IServiceProvider*) { return 1; }
ULONG STDMETHODCALLTYPE Site_Release(IServiceProvider*) { return 1; }
// Only the interface asked for decides; the service id is not looked at.
HRESULT STDMETHODCALLTYPE Site_QueryService(IServiceProvider* iface, REFGUID, REFIID iid,
                                            void** object) {
  if (!object) return E_POINTER;
  if (!IsEqualIID(iid, IID_ITimerService)) {
    *object = nullptr;
    return E_NOINTERFACE;
  }
  ITimerService* service = &impl_from_IServiceProvider(iface)->ITimerService_iface;
  return service->lpVtbl->QueryInterface(service, iid, object);
}

const IServiceProviderVtbl siteVtbl = {
    Site_QueryInterface,
    Site_AddRef,
    Site_Release,
    Site_QueryService,
};

// Timer service

HRESULT STDMETHODCALLTYPE TimerService_QueryInterface(ITimerService* iface, REFIID iid,
                                                      void** object) {
  if (!object) return E_POINTER;
  if (IsEqualIID(iid, IID_IUnknown) || IsEqualIID(iid, IID_ITimerService)) {
    *object = iface;
    return S_OK;
  }
  *object = nullptr;
  return E_NOINTERFACE;
}
ULONG STDMETHODCALLTYPE TimerService_AddRef(ITimerService*) { return 1; }
ULONG STDMETHODCALLTYPE TimerService_Release(ITimerService*) { return 1; }
HRESULT STDMETHODCALLTYPE TimerService_CreateTimer(ITimerService* iface, ITimer* reference,
                                                   ITimer** timer) {
  if (!timer) return E_POINTER;
  ITimer* source = reference ? reference : &impl_from_ITimerService(iface)->ITimer_iface;
  return source->lpVtbl->QueryInterface(source, IID_ITimer, reinterpret_cast<void**>(timer));
}
HRESULT STDMETHODCALLTYPE TimerService_GetNamedTimer(ITimerService*, REFGUID, ITimer** timer) {
  if (timer) *timer = nullptr;
  return E_NOTIMPL;
}
HRESULT STDMETHODCALLTYPE TimerService_SetNamedTimerReference(ITimerService*, REFGUID, ITimer*) {
  return E_NOTIMPL;
}

const ITimerServiceVtbl timerServiceVtbl = {
    TimerService_QueryInterface, TimerService_AddRef,        TimerService_Release,
    TimerService_CreateTimer,    TimerService_GetNamedTimer, TimerService_SetNamedTimerReference,
};

// Timer: counted, but it lives and dies with the renderer.

HRESULT STDMETHODCALLTYPE Timer_QueryInterface(ITimer* iface, REFIID iid, void** object) {
  if (!object) return E_POINTER;
  if (IsEqualIID(iid, IID_IUnknown) || IsEqualIID(iid, IID_ITimer)) {
    *object = iface;
    InterlockedIncrement(&impl_from_ITimer(iface)->timerRefCount);
    return S_OK;
  }
  *object = nullptr;
  return E_NOINTERFACE;
}
ULONG STDMETHODCALLTYPE Timer_AddRef(ITimer* iface) {
  return InterlockedIncrement(&impl_from_ITimer(iface)->timerRefCount);
}
ULONG STDMETHODCALLTYPE Timer_Release(ITimer* iface) {
  return InterlockedDecrement(&impl_from_ITimer(iface)->timerRefCount);
}
// Times and interval are ignored: ticks come only from the renderer's steps.
HRESULT STDMETHODCALLTYPE Timer_Advise(ITimer* iface, VARIANT, VARIANT, VARIANT, DWORD,
                                       ITimerSink* sink, DWORD* cookie) {
  impl_from_ITimer(iface)->timerSink = sink;
  if (cookie) *cookie = 0;
  return S_OK;
}
HRESULT STDMETHODCALLTYPE Timer_Unadvise(ITimer* iface, DWORD) {
  impl_from_ITimer(iface)->timerSink = nullptr;
  return S_OK;
}
HRESULT STDMETHODCALLTYPE Timer_Freeze(ITimer*, BOOL) { return S_OK; }
HRESULT STDMETHODCALLTYPE Timer_GetTime(ITimer*, VARIANT*) { return S_OK; }

const ITimerVtbl timerVtbl = {
    Timer_QueryInterface, Timer_AddRef, Timer_Release, Timer_Advise,
    Timer_Unadvise,       Timer_Freeze, Timer_GetTime,
};

}  // namespace

void initHostServices(FrameRenderer* renderer) {
  renderer->IServiceProvider_iface.lpVtbl = &siteVtbl;
  renderer->ITimerService_iface.lpVtbl = &timerServiceVtbl;
  renderer->ITimer_iface.lpVtbl = &timerVtbl;
  renderer->timerRefCount = 1;
  renderer->timerSink = nullptr;
}

IUnknown* siteObject(FrameRenderer* renderer) {
  return reinterpret_cast<IUnknown*>(&renderer->IServiceProvider_iface);
}
