// The renderer's timer: it only keeps the sink the control advises, which the
// renderer ticks itself, once per frame step. The shared site hands it out.
// Neither owns the renderer.
#include "frame_renderer_object.h"

namespace {

inline FrameRenderer* impl_from_ITimer(ITimer* iface) { return CONTAINING_RECORD(iface, FrameRenderer, ITimer_iface); }

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
HRESULT STDMETHODCALLTYPE Timer_Advise(ITimer* iface, VARIANT, VARIANT, VARIANT, DWORD, ITimerSink* sink,
                                       DWORD* cookie) {
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

const ITimerVtbl kTimerVtbl = {
    Timer_QueryInterface, Timer_AddRef, Timer_Release, Timer_Advise, Timer_Unadvise, Timer_Freeze, Timer_GetTime,
};

}  // namespace

void initHostServices(FrameRenderer* renderer) {
  renderer->ITimer_iface.lpVtbl = &kTimerVtbl;
  initTimerSite(&renderer->site, &renderer->ITimer_iface);
  renderer->timerRefCount = 1;
  renderer->timerSink = nullptr;
}

IUnknown* siteObject(FrameRenderer* renderer) {
  return reinterpret_cast<IUnknown*>(&renderer->site.IServiceProvider_iface);
}
