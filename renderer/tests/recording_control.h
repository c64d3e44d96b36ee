// A stand-in for the Flash Player control that records what the renderer
// asks of it, for tests of the renderer's call order (how many ticks, which
// jumps, which loads). Registered with CoRegisterClassObject under the
// control's class id, so that the renderer's CoCreateInstance finds it
// before the registered server.
//
// Drawing: in "Opaque" mode the whole in-place rectangle is filled with
// colourFor(ticks); in "Transparent" mode only its left half is, so the
// right half shows the host's fill.
#pragma once

#include <windows.h>
#include <ocidl.h>
#include <ocmm.h>
#include <ole2.h>

#include <memory>
#include <string>
#include <vector>

#include "shockwave_flash.h"

struct RecordingOptions {
  bool viewObject = true;     // offers IViewObjectEx
  bool inPlaceObject = true;  // offers IOleInPlaceObject
  bool advise = true;         // advises the host's timer on a load
};

class RecordingControl final : public IShockwaveFlash,
                               public IOleObject,
                               public IOleInPlaceObject,
                               public IViewObjectEx,
                               public ITimerSink {
 public:
  explicit RecordingControl(const RecordingOptions& options) : options_(options) {}

  // "load(NAME)" per successful put_Movie with the file's name, "goto(N)",
  // "tick", "draw(opaque|transparent)", "scale(N)", "rects(W,H)", "loop",
  // "play", space-separated in call order.
  std::string log;
  int ticks = 0;  // since the last load
  int draws = 0;
  int scaleMode = -1;
  bool transparent = false;
  RECT position = {};
  static COLORREF colourFor(int ticks) { return RGB(10 + ticks, 100, 200); }

  void clearLog() { log.clear(); }
  bool advised() const { return timer_ != nullptr; }

  // IUnknown
  HRESULT STDMETHODCALLTYPE QueryInterface(REFIID iid, void** object) override;
  ULONG STDMETHODCALLTYPE AddRef() override { return InterlockedIncrement(&ref_); }
  ULONG STDMETHODCALLTYPE Release() override;

  // IDispatch
  HRESULT STDMETHODCALLTYPE GetTypeInfoCount(UINT*) override { return E_NOTIMPL; }
  HRESULT STDMETHODCALLTYPE GetTypeInfo(UINT, LCID, ITypeInfo**) override { return E_NOTIMPL; }
  HRESULT STDMETHODCALLTYPE GetIDsOfNames(REFIID, LPOLESTR*, UINT, LCID, DISPID*) override { return E_NOTIMPL; }
  HRESULT STDMETHODCALLTYPE Invoke(DISPID, REFIID, LCID, WORD, DISPPARAMS*, VARIANT*, EXCEPINFO*, UINT*) override {
    return E_NOTIMPL;
  }

  // IShockwaveFlash: what the renderer uses is recorded, the rest refused.
  HRESULT STDMETHODCALLTYPE get_ScaleMode(int* mode) override;
  HRESULT STDMETHODCALLTYPE put_ScaleMode(int mode) override;
  HRESULT STDMETHODCALLTYPE put_Loop(VARIANT_BOOL loop) override;
  HRESULT STDMETHODCALLTYPE put_Movie(BSTR path) override;
  HRESULT STDMETHODCALLTYPE Play() override;
  HRESULT STDMETHODCALLTYPE GotoFrame(long frame) override;
  HRESULT STDMETHODCALLTYPE put_WMode(BSTR mode) override;
#define MVQ_REFUSED(name, ...) \
  HRESULT STDMETHODCALLTYPE name(__VA_ARGS__) override { return E_NOTIMPL; }
  MVQ_REFUSED(get_ReadyState, long*)
  MVQ_REFUSED(get_TotalFrames, long*)
  MVQ_REFUSED(get_Playing, VARIANT_BOOL*)
  MVQ_REFUSED(put_Playing, VARIANT_BOOL)
  MVQ_REFUSED(get_Quality, int*)
  MVQ_REFUSED(put_Quality, int)
  MVQ_REFUSED(get_AlignMode, int*)
  MVQ_REFUSED(put_AlignMode, int)
  MVQ_REFUSED(get_BackgroundColor, long*)
  MVQ_REFUSED(put_BackgroundColor, long)
  MVQ_REFUSED(get_Loop, VARIANT_BOOL*)
  MVQ_REFUSED(get_Movie, BSTR*)
  MVQ_REFUSED(get_FrameNum, long*)
  MVQ_REFUSED(put_FrameNum, long)
  MVQ_REFUSED(SetZoomRect, long, long, long, long)
  MVQ_REFUSED(Zoom, int)
  MVQ_REFUSED(Pan, long, long, int)
  MVQ_REFUSED(Stop)
  MVQ_REFUSED(Back)
  MVQ_REFUSED(Forward)
  MVQ_REFUSED(Rewind)
  MVQ_REFUSED(StopPlay)
  MVQ_REFUSED(CurrentFrame, long*)
  MVQ_REFUSED(IsPlaying, VARIANT_BOOL*)
  MVQ_REFUSED(PercentLoaded, long*)
  MVQ_REFUSED(FrameLoaded, long, VARIANT_BOOL*)
  MVQ_REFUSED(FlashVersion, long*)
  MVQ_REFUSED(get_WMode, BSTR*)
  MVQ_REFUSED(get_SAlign, BSTR*)
  MVQ_REFUSED(put_SAlign, BSTR)
  MVQ_REFUSED(get_Menu, VARIANT_BOOL*)
  MVQ_REFUSED(put_Menu, VARIANT_BOOL)
  MVQ_REFUSED(get_Base, BSTR*)
  MVQ_REFUSED(put_Base, BSTR)
  MVQ_REFUSED(get_Scale, BSTR*)
  MVQ_REFUSED(put_Scale, BSTR)
  MVQ_REFUSED(get_DeviceFont, VARIANT_BOOL*)
  MVQ_REFUSED(put_DeviceFont, VARIANT_BOOL)
  MVQ_REFUSED(get_EmbedMovie, VARIANT_BOOL*)
  MVQ_REFUSED(put_EmbedMovie, VARIANT_BOOL)
  MVQ_REFUSED(get_BGColor, BSTR*)
  MVQ_REFUSED(put_BGColor, BSTR)
  MVQ_REFUSED(get_Quality2, BSTR*)
  MVQ_REFUSED(put_Quality2, BSTR)
  MVQ_REFUSED(LoadMovie, int, BSTR)
  MVQ_REFUSED(TGotoFrame, BSTR, long)
  MVQ_REFUSED(TGotoLabel, BSTR, BSTR)
  MVQ_REFUSED(TCurrentFrame, BSTR, long*)

  // IOleObject: enough for the containment's attach and close.
  HRESULT STDMETHODCALLTYPE SetClientSite(IOleClientSite* site) override;
  HRESULT STDMETHODCALLTYPE Close(DWORD) override;
  HRESULT STDMETHODCALLTYPE SetHostNames(LPCOLESTR, LPCOLESTR) override { return S_OK; }
  HRESULT STDMETHODCALLTYPE DoVerb(LONG, LPMSG, IOleClientSite*, LONG, HWND, LPCRECT) override { return S_OK; }
  HRESULT STDMETHODCALLTYPE GetMiscStatus(DWORD, DWORD* status) override {
    *status = 0;
    return S_OK;
  }
  MVQ_REFUSED(GetClientSite, IOleClientSite**)
  MVQ_REFUSED(SetMoniker, DWORD, IMoniker*)
  MVQ_REFUSED(GetMoniker, DWORD, DWORD, IMoniker**)
  MVQ_REFUSED(InitFromData, IDataObject*, WINBOOL, DWORD)
  MVQ_REFUSED(GetClipboardData, DWORD, IDataObject**)
  MVQ_REFUSED(EnumVerbs, IEnumOLEVERB**)
  MVQ_REFUSED(Update)
  MVQ_REFUSED(IsUpToDate)
  MVQ_REFUSED(GetUserClassID, CLSID*)
  MVQ_REFUSED(GetUserType, DWORD, LPOLESTR*)
  MVQ_REFUSED(SetExtent, DWORD, SIZEL*)
  MVQ_REFUSED(GetExtent, DWORD, SIZEL*)
  MVQ_REFUSED(Advise, IAdviseSink*, DWORD*)
  MVQ_REFUSED(Unadvise, DWORD)
  MVQ_REFUSED(EnumAdvise, IEnumSTATDATA**)
  MVQ_REFUSED(SetColorScheme, LOGPALETTE*)

  // IOleInPlaceObject
  HRESULT STDMETHODCALLTYPE SetObjectRects(LPCRECT position, LPCRECT) override;
  HRESULT STDMETHODCALLTYPE InPlaceDeactivate() override { return S_OK; }
  MVQ_REFUSED(GetWindow, HWND*)
  MVQ_REFUSED(ContextSensitiveHelp, WINBOOL)
  MVQ_REFUSED(UIDeactivate)
  MVQ_REFUSED(ReactivateAndUndo)

  // IViewObjectEx
  HRESULT STDMETHODCALLTYPE Draw(DWORD, LONG, void*, DVTARGETDEVICE*, HDC, HDC dc, LPCRECTL, LPCRECTL,
                                 WINBOOL(STDMETHODCALLTYPE*)(ULONG_PTR), ULONG_PTR) override;
  MVQ_REFUSED(GetColorSet, DWORD, LONG, void*, DVTARGETDEVICE*, HDC, LOGPALETTE**)
  MVQ_REFUSED(Freeze, DWORD, LONG, void*, DWORD*)
  MVQ_REFUSED(Unfreeze, DWORD)
  MVQ_REFUSED(SetAdvise, DWORD, DWORD, IAdviseSink*)
  MVQ_REFUSED(GetAdvise, DWORD*, DWORD*, IAdviseSink**)
  MVQ_REFUSED(GetExtent, DWORD, LONG, DVTARGETDEVICE*, LPSIZEL)
  MVQ_REFUSED(GetRect, DWORD, LPRECTL)
  MVQ_REFUSED(GetViewStatus, DWORD*)
  MVQ_REFUSED(QueryHitPoint, DWORD, LPCRECT, POINT, LONG, DWORD*)
  MVQ_REFUSED(QueryHitRect, DWORD, LPCRECT, LPCRECT, LONG, DWORD*)
  MVQ_REFUSED(GetNaturalExtent, DWORD, LONG, DVTARGETDEVICE*, HDC, DVEXTENTINFO*, LPSIZEL)
#undef MVQ_REFUSED

  // ITimerSink
  HRESULT STDMETHODCALLTYPE OnTimer(VARIANT time) override;

 private:
  void note(const std::string& entry);
  void adviseHostTimer();
  void unadviseHostTimer();

  LONG ref_ = 1;
  RecordingOptions options_;
  IOleClientSite* site_ = nullptr;
  ITimer* timer_ = nullptr;
};

class RecordingFactory;

// Registers a class object for the control's class id while it lives; every
// control it makes is kept for the test to look at. One at a time.
class RecordingControlClass {
 public:
  explicit RecordingControlClass(const RecordingOptions& options = {});
  ~RecordingControlClass();
  RecordingControlClass(const RecordingControlClass&) = delete;
  RecordingControlClass& operator=(const RecordingControlClass&) = delete;

  bool registered() const { return cookie_ != 0; }
  const std::vector<RecordingControl*>& made() const { return made_; }
  RecordingControl* last() const;

 private:
  std::vector<RecordingControl*> made_;
  std::unique_ptr<RecordingFactory> factory_;
  DWORD cookie_ = 0;
};
