#include "fake_timer_sink.h"

#include "shockwave_flash.h"

namespace {

FakeTimerSink* impl_from_ITimerSink(ITimerSink* iface) {
  return CONTAINING_RECORD(iface, FakeTimerSink, ITimerSink_iface);
}

HRESULT STDMETHODCALLTYPE FakeTimerSink_QueryInterface(ITimerSink* iface, REFIID riid, void** out) {
  if (IsEqualIID(riid, IID_IUnknown) || IsEqualIID(riid, IID_ITimerSink)) {
    *out = iface;
    return S_OK;
  }
  *out = nullptr;
  return E_NOINTERFACE;
}

ULONG STDMETHODCALLTYPE FakeTimerSink_AddRef(ITimerSink*) { return 2; }
ULONG STDMETHODCALLTYPE FakeTimerSink_Release(ITimerSink*) { return 1; }

HRESULT STDMETHODCALLTYPE FakeTimerSink_OnTimer(ITimerSink* iface, VARIANT time) {
  FakeTimerSink* sink = impl_from_ITimerSink(iface);
  ++sink->calls;
  sink->last = time;
  return S_OK;
}

const ITimerSinkVtbl kFakeTimerSinkVtbl = {FakeTimerSink_QueryInterface, FakeTimerSink_AddRef, FakeTimerSink_Release,
                                           FakeTimerSink_OnTimer};

}  // namespace

void initFakeTimerSink(FakeTimerSink* sink) {
  sink->ITimerSink_iface.lpVtbl = &kFakeTimerSinkVtbl;
  sink->calls = 0;
  VariantInit(&sink->last);
}
