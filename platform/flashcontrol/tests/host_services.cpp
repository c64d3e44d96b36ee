#include "host_services.h"

namespace {

template <typename T>
HRESULT answer(T* self, REFIID iid, REFIID own, void** object) {
  if (IsEqualIID(iid, IID_IUnknown) || IsEqualIID(iid, own)) {
    *object = self;
    self->AddRef();
    return S_OK;
  }
  *object = nullptr;
  return E_NOINTERFACE;
}

}  // namespace

HRESULT RecordingTimer::tick() {
  if (!sink) return E_FAIL;
  VARIANT now;
  VariantInit(&now);
  V_VT(&now) = VT_UI4;
  V_UI4(&now) = GetTickCount();
  return sink->OnTimer(now);
}

HRESULT RecordingTimer::QueryInterface(REFIID iid, void** object) { return answer(this, iid, IID_ITimer, object); }

HRESULT RecordingTimer::Advise(VARIANT, VARIANT, VARIANT interval, DWORD, ITimerSink* newSink, DWORD* cookie) {
  calls += 'A';
  activeCookie_ = ++nextCookie_;
  advises.push_back({V_VT(&interval), V_UI4(&interval), newSink, activeCookie_});
  sink = newSink;
  *cookie = activeCookie_;
  return S_OK;
}

HRESULT RecordingTimer::Unadvise(DWORD cookie) {
  calls += 'U';
  unadvised.push_back(cookie);
  if (cookie == activeCookie_) sink = nullptr;
  return S_OK;
}

HRESULT RecordingTimer::GetTime(VARIANT* time) {
  VariantInit(time);
  V_VT(time) = VT_UI4;
  V_UI4(time) = GetTickCount();
  return S_OK;
}

HRESULT RecordingTimerService::QueryInterface(REFIID iid, void** object) {
  return answer(this, iid, IID_ITimerService, object);
}

HRESULT RecordingTimerService::CreateTimer(ITimer* reference, ITimer** out) {
  ++timersCreated;
  ITimer* source = reference ? reference : &timer;
  return source->QueryInterface(IID_ITimer, reinterpret_cast<void**>(out));
}

HRESULT TimerServiceProvider::QueryInterface(REFIID iid, void** object) {
  return answer(this, iid, IID_IServiceProvider, object);
}

HRESULT TimerServiceProvider::QueryService(REFGUID, REFIID iid, void** object) {
  if (!IsEqualIID(iid, IID_ITimerService)) return E_NOINTERFACE;
  return service.QueryInterface(iid, object);
}

HRESULT ServiceClientSite::QueryInterface(REFIID iid, void** object) {
  if (offerServices && IsEqualIID(iid, IID_IServiceProvider)) return services.QueryInterface(iid, object);
  return answer(this, iid, IID_IOleClientSite, object);
}
