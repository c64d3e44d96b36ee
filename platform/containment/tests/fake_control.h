// A windowless control that records what its container does to it.
#pragma once

#include <windows.h>
#include <ocidl.h>
#include <ole2.h>

#include <vector>

class FakeControl : public IOleObject, public IOleInPlaceObjectWindowless, public IViewObject {
 public:
  LONG ref = 1;
  IOleClientSite* clientSite = nullptr;
  IOleInPlaceSiteWindowless* inPlaceSite = nullptr;
  RECT activatedAt = {-1, -1, -1, -1};
  std::vector<RECT> objectRects;
  int draws = 0;
  bool drawnWithoutBounds = false;
  HDC lastDrawDC = nullptr;
  int closes = 0;
  int deactivations = 0;

  ULONG refCount() {
    AddRef();
    return Release();
  }

  // IUnknown
  HRESULT STDMETHODCALLTYPE QueryInterface(REFIID iid, void** object) override {
    if (IsEqualIID(iid, IID_IUnknown) || IsEqualIID(iid, IID_IOleObject))
      *object = static_cast<IOleObject*>(this);
    else if (IsEqualIID(iid, IID_IOleWindow) || IsEqualIID(iid, IID_IOleInPlaceObject) ||
             IsEqualIID(iid, IID_IOleInPlaceObjectWindowless))
      *object = static_cast<IOleInPlaceObjectWindowless*>(this);
    else if (IsEqualIID(iid, IID_IViewObject))
      *object = static_cast<IViewObject*>(this);
    else {
      *object = nullptr;
      return E_NOINTERFACE;
    }
    AddRef();
    return S_OK;
  }
  ULONG STDMETHODCALLTYPE AddRef() override { return ++ref; }
  ULONG STDMETHODCALLTYPE Release() override { return --ref; }  // lives on the test's stack

  // IOleObject
  HRESULT STDMETHODCALLTYPE SetClientSite(IOleClientSite* site) override {
    if (site) site->AddRef();
    if (clientSite) clientSite->Release();
    clientSite = site;
    return S_OK;
  }
  HRESULT STDMETHODCALLTYPE GetClientSite(IOleClientSite** site) override { return E_NOTIMPL; }
  HRESULT STDMETHODCALLTYPE SetHostNames(LPCOLESTR, LPCOLESTR) override { return S_OK; }
  HRESULT STDMETHODCALLTYPE Close(DWORD) override {
    ++closes;
    InPlaceDeactivate();
    return S_OK;
  }
  HRESULT STDMETHODCALLTYPE SetMoniker(DWORD, IMoniker*) override { return E_NOTIMPL; }
  HRESULT STDMETHODCALLTYPE GetMoniker(DWORD, DWORD, IMoniker**) override { return E_NOTIMPL; }
  HRESULT STDMETHODCALLTYPE InitFromData(IDataObject*, WINBOOL, DWORD) override { return E_NOTIMPL; }
  HRESULT STDMETHODCALLTYPE GetClipboardData(DWORD, IDataObject**) override { return E_NOTIMPL; }
  // In-place activation the way a windowless control does it.
  HRESULT STDMETHODCALLTYPE DoVerb(LONG verb, LPMSG, IOleClientSite* site, LONG, HWND, LPCRECT) override {
    if (verb != OLEIVERB_INPLACEACTIVATE || !site) return E_NOTIMPL;
    if (FAILED(site->QueryInterface(IID_IOleInPlaceSiteWindowless, (void**)&inPlaceSite))) return E_FAIL;
    if (inPlaceSite->CanWindowlessActivate() != S_OK) return E_FAIL;
    BOOL noRedraw = FALSE;
    inPlaceSite->OnInPlaceActivateEx(&noRedraw, ACTIVATE_WINDOWLESS);
    IOleInPlaceFrame* frame = nullptr;
    IOleInPlaceUIWindow* document = nullptr;
    RECT clip;
    OLEINPLACEFRAMEINFO info = {};
    info.cb = sizeof info;
    return inPlaceSite->GetWindowContext(&frame, &document, &activatedAt, &clip, &info);
  }
  HRESULT STDMETHODCALLTYPE EnumVerbs(IEnumOLEVERB**) override { return E_NOTIMPL; }
  HRESULT STDMETHODCALLTYPE Update() override { return S_OK; }
  HRESULT STDMETHODCALLTYPE IsUpToDate() override { return S_OK; }
  HRESULT STDMETHODCALLTYPE GetUserClassID(CLSID*) override { return E_NOTIMPL; }
  HRESULT STDMETHODCALLTYPE GetUserType(DWORD, LPOLESTR*) override { return E_NOTIMPL; }
  HRESULT STDMETHODCALLTYPE SetExtent(DWORD, SIZEL*) override { return E_NOTIMPL; }
  HRESULT STDMETHODCALLTYPE GetExtent(DWORD, SIZEL*) override { return E_NOTIMPL; }
  HRESULT STDMETHODCALLTYPE Advise(IAdviseSink*, DWORD*) override { return E_NOTIMPL; }
  HRESULT STDMETHODCALLTYPE Unadvise(DWORD) override { return E_NOTIMPL; }
  HRESULT STDMETHODCALLTYPE EnumAdvise(IEnumSTATDATA**) override { return E_NOTIMPL; }
  HRESULT STDMETHODCALLTYPE GetMiscStatus(DWORD, DWORD* status) override {
    *status = OLEMISC_SETCLIENTSITEFIRST | OLEMISC_INSIDEOUT | OLEMISC_ACTIVATEWHENVISIBLE;
    return S_OK;
  }
  HRESULT STDMETHODCALLTYPE SetColorScheme(LOGPALETTE*) override { return E_NOTIMPL; }

  // IOleInPlaceObjectWindowless
  HRESULT STDMETHODCALLTYPE GetWindow(HWND*) override { return E_FAIL; }
  HRESULT STDMETHODCALLTYPE ContextSensitiveHelp(WINBOOL) override { return E_NOTIMPL; }
  HRESULT STDMETHODCALLTYPE InPlaceDeactivate() override {
    if (!inPlaceSite) return S_OK;
    ++deactivations;
    inPlaceSite->OnInPlaceDeactivateEx(TRUE);
    inPlaceSite->Release();
    inPlaceSite = nullptr;
    return S_OK;
  }
  HRESULT STDMETHODCALLTYPE UIDeactivate() override { return S_OK; }
  HRESULT STDMETHODCALLTYPE SetObjectRects(LPCRECT position, LPCRECT clip) override {
    objectRects.push_back(*position);
    if (!EqualRect(position, clip)) objectRects.push_back(*clip);
    return S_OK;
  }
  HRESULT STDMETHODCALLTYPE ReactivateAndUndo() override { return E_NOTIMPL; }
  HRESULT STDMETHODCALLTYPE OnWindowMessage(UINT, WPARAM, LPARAM, LRESULT*) override { return S_FALSE; }
  HRESULT STDMETHODCALLTYPE GetDropTarget(IDropTarget**) override { return E_NOTIMPL; }

  // IViewObject
  HRESULT STDMETHODCALLTYPE Draw(DWORD aspect, LONG, void*, DVTARGETDEVICE*, HDC, HDC dc, LPCRECTL bounds, LPCRECTL,
                                 WINBOOL(STDMETHODCALLTYPE*)(ULONG_PTR), ULONG_PTR) override {
    ++draws;
    drawnWithoutBounds = aspect == DVASPECT_CONTENT && bounds == nullptr;
    lastDrawDC = dc;
    return S_OK;
  }
  HRESULT STDMETHODCALLTYPE GetColorSet(DWORD, LONG, void*, DVTARGETDEVICE*, HDC, LOGPALETTE**) override {
    return E_NOTIMPL;
  }
  HRESULT STDMETHODCALLTYPE Freeze(DWORD, LONG, void*, DWORD*) override { return E_NOTIMPL; }
  HRESULT STDMETHODCALLTYPE Unfreeze(DWORD) override { return E_NOTIMPL; }
  HRESULT STDMETHODCALLTYPE SetAdvise(DWORD, DWORD, IAdviseSink*) override { return E_NOTIMPL; }
  HRESULT STDMETHODCALLTYPE GetAdvise(DWORD*, DWORD*, IAdviseSink**) override { return E_NOTIMPL; }
};
