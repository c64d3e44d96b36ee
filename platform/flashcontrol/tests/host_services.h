// What a host gives the control, recorded for the tests: a timer service and
// timer whose advise is noted and whose ticks the test gives itself, and a
// client site that offers them.
#pragma once

#include <windows.h>
#include <ocmm.h>
#include <ole2.h>

#include <string>
#include <vector>

#include "shockwave_flash.h"

struct AdviseCall {
  VARTYPE intervalType;
  DWORD intervalMs;
  ITimerSink* sink;
  DWORD cookie;
};

class RecordingTimer : public ITimer {
 public:
  std::vector<AdviseCall> advises;
  std::vector<DWORD> unadvised;
  std::string calls;           // 'A' per Advise, 'U' per Unadvise, in order
  ITimerSink* sink = nullptr;  // not counted, as the hosts keep it

  // One tick as the host gives it: OnTimer with the time in milliseconds.
  HRESULT tick();

  HRESULT STDMETHODCALLTYPE QueryInterface(REFIID iid, void** object) override;
  ULONG STDMETHODCALLTYPE AddRef() override { return ++ref_; }
  ULONG STDMETHODCALLTYPE Release() override { return --ref_; }
  HRESULT STDMETHODCALLTYPE Advise(VARIANT earliest, VARIANT latest, VARIANT interval, DWORD flags, ITimerSink* sink,
                                   DWORD* cookie) override;
  HRESULT STDMETHODCALLTYPE Unadvise(DWORD cookie) override;
  HRESULT STDMETHODCALLTYPE Freeze(WINBOOL) override { return S_OK; }
  HRESULT STDMETHODCALLTYPE GetTime(VARIANT* time) override;

 private:
  LONG ref_ = 1;
  DWORD nextCookie_ = 100;
  DWORD activeCookie_ = 0;
};

class RecordingTimerService : public ITimerService {
 public:
  RecordingTimer timer;
  int timersCreated = 0;

  HRESULT STDMETHODCALLTYPE QueryInterface(REFIID iid, void** object) override;
  ULONG STDMETHODCALLTYPE AddRef() override { return 1; }
  ULONG STDMETHODCALLTYPE Release() override { return 1; }
  HRESULT STDMETHODCALLTYPE CreateTimer(ITimer* reference, ITimer** timer) override;
  HRESULT STDMETHODCALLTYPE GetNamedTimer(REFGUID, ITimer**) override { return E_NOTIMPL; }
  HRESULT STDMETHODCALLTYPE SetNamedTimerReference(REFGUID, ITimer*) override { return E_NOTIMPL; }
};

// An IServiceProvider that answers ITimerService requests, as the program's
// and the renderer's site objects do.
class TimerServiceProvider : public IServiceProvider {
 public:
  RecordingTimerService service;

  HRESULT STDMETHODCALLTYPE QueryInterface(REFIID iid, void** object) override;
  ULONG STDMETHODCALLTYPE AddRef() override { return 1; }
  ULONG STDMETHODCALLTYPE Release() override { return 1; }
  HRESULT STDMETHODCALLTYPE QueryService(REFGUID service, REFIID iid, void** object) override;
};

// A client site that is its own service provider (no in-place site).
class ServiceClientSite : public IOleClientSite {
 public:
  TimerServiceProvider services;
  bool offerServices = true;

  HRESULT STDMETHODCALLTYPE QueryInterface(REFIID iid, void** object) override;
  ULONG STDMETHODCALLTYPE AddRef() override { return ++ref; }
  ULONG STDMETHODCALLTYPE Release() override { return --ref; }
  HRESULT STDMETHODCALLTYPE SaveObject() override { return E_NOTIMPL; }
  HRESULT STDMETHODCALLTYPE GetMoniker(DWORD, DWORD, IMoniker**) override { return E_NOTIMPL; }
  HRESULT STDMETHODCALLTYPE GetContainer(IOleContainer**) override { return E_NOINTERFACE; }
  HRESULT STDMETHODCALLTYPE ShowObject() override { return S_OK; }
  HRESULT STDMETHODCALLTYPE OnShowWindow(WINBOOL) override { return S_OK; }
  HRESULT STDMETHODCALLTYPE RequestNewObjectLayout() override { return E_NOTIMPL; }

  LONG ref = 1;
};
