#include "ax_host.h"

#include <ocidl.h>

#include <new>

#include "atl_containment.h"
#include "not_implemented.h"

extern "C" const IID IID_IAxWinHostWindow = {
    0xb6ea2050, 0x048a, 0x11d1, {0x82, 0xb9, 0x00, 0xc0, 0x4f, 0xb9, 0x94, 0x2e}};

struct AxHost {
  IOleClientSite IOleClientSite_iface;
  IOleInPlaceSiteWindowless IOleInPlaceSiteWindowless_iface;
  IObjectWithSite IObjectWithSite_iface;
  IServiceProvider IServiceProvider_iface;
  IAxWinHostWindow IAxWinHostWindow_iface;
  LONG ref;

  HWND window;
  IUnknown* site;  // given with SetSite; asked for services
  RECT position;   // the control's in-place rectangle: the client rectangle

  IUnknown* control;
  IOleObject* oleObject;
  IOleInPlaceObject* inPlaceObject;
  IViewObject* viewObject;
  BOOL inPlaceActive;
};

namespace {

template <typename T>
void releaseAndClear(T** p) {
  if (*p) {
    (*p)->lpVtbl->Release(*p);
    *p = nullptr;
  }
}

void updatePosition(AxHost* host) {
  if (!host->window || !GetClientRect(host->window, &host->position)) SetRectEmpty(&host->position);
}

void detachControl(AxHost* host) {
  if (!host->control) return;
  if (host->inPlaceActive && host->inPlaceObject) host->inPlaceObject->lpVtbl->InPlaceDeactivate(host->inPlaceObject);
  host->inPlaceActive = FALSE;
  IOleObject* ole = host->oleObject;
  ole->lpVtbl->Close(ole, OLECLOSE_NOSAVE);
  ole->lpVtbl->SetClientSite(ole, nullptr);
  releaseAndClear(&host->viewObject);
  releaseAndClear(&host->inPlaceObject);
  releaseAndClear(&host->oleObject);
  releaseAndClear(&host->control);
}

void destroyHost(AxHost* host) {
  detachControl(host);
  releaseAndClear(&host->site);
  delete host;
}

HRESULT hostQueryInterface(AxHost* host, REFIID iid, void** object) {
  if (!object) return E_POINTER;
  if (IsEqualIID(iid, IID_IUnknown) || IsEqualIID(iid, IID_IOleClientSite))
    *object = &host->IOleClientSite_iface;
  else if (IsEqualIID(iid, IID_IOleWindow) || IsEqualIID(iid, IID_IOleInPlaceSite) ||
           IsEqualIID(iid, IID_IOleInPlaceSiteEx) || IsEqualIID(iid, IID_IOleInPlaceSiteWindowless))
    *object = &host->IOleInPlaceSiteWindowless_iface;
  else if (IsEqualIID(iid, IID_IObjectWithSite))
    *object = &host->IObjectWithSite_iface;
  else if (IsEqualIID(iid, IID_IServiceProvider))
    *object = &host->IServiceProvider_iface;
  else if (IsEqualIID(iid, IID_IAxWinHostWindow))
    *object = &host->IAxWinHostWindow_iface;
  else {
    *object = nullptr;
    return E_NOINTERFACE;
  }
  InterlockedIncrement(&host->ref);
  return S_OK;
}

ULONG hostAddRef(AxHost* host) { return InterlockedIncrement(&host->ref); }

ULONG hostRelease(AxHost* host) {
  LONG ref = InterlockedDecrement(&host->ref);
  if (ref == 0) destroyHost(host);
  return ref;
}

HRESULT attachControl(AxHost* host, IUnknown* control) {
  IOleObject* ole = nullptr;
  HRESULT hr = control->lpVtbl->QueryInterface(control, IID_IOleObject, (void**)&ole);
  if (FAILED(hr)) return hr;
  detachControl(host);
  control->lpVtbl->AddRef(control);
  host->control = control;
  host->oleObject = ole;
  IOleClientSite* clientSite = &host->IOleClientSite_iface;

  DWORD status = 0;
  ole->lpVtbl->GetMiscStatus(ole, DVASPECT_CONTENT, &status);
  bool siteFirst = (status & OLEMISC_SETCLIENTSITEFIRST) != 0;
  if (siteFirst) ole->lpVtbl->SetClientSite(ole, clientSite);
  IPersistStreamInit* persist = nullptr;
  if (SUCCEEDED(control->lpVtbl->QueryInterface(control, IID_IPersistStreamInit, (void**)&persist))) {
    persist->lpVtbl->InitNew(persist);
    persist->lpVtbl->Release(persist);
  }
  if (!siteFirst) ole->lpVtbl->SetClientSite(ole, clientSite);
  control->lpVtbl->QueryInterface(control, IID_IViewObject, (void**)&host->viewObject);
  control->lpVtbl->QueryInterface(control, IID_IOleInPlaceObject, (void**)&host->inPlaceObject);
  ole->lpVtbl->SetHostNames(ole, L"AXWIN", nullptr);

  updatePosition(host);
  hr = ole->lpVtbl->DoVerb(ole, OLEIVERB_INPLACEACTIVATE, nullptr, clientSite, 0, host->window, &host->position);
  InvalidateRect(host->window, nullptr, TRUE);
  return hr;
}

// IOleClientSite

inline AxHost* impl_from_IOleClientSite(IOleClientSite* iface) {
  return CONTAINING_RECORD(iface, AxHost, IOleClientSite_iface);
}

HRESULT STDMETHODCALLTYPE ClientSite_QueryInterface(IOleClientSite* iface, REFIID iid, void** object) {
  return hostQueryInterface(impl_from_IOleClientSite(iface), iid, object);
}
ULONG STDMETHODCALLTYPE ClientSite_AddRef(IOleClientSite* iface) { return hostAddRef(impl_from_IOleClientSite(iface)); }
ULONG STDMETHODCALLTYPE ClientSite_Release(IOleClientSite* iface) {
  return hostRelease(impl_from_IOleClientSite(iface));
}
HRESULT STDMETHODCALLTYPE ClientSite_SaveObject(IOleClientSite*) { return notImplemented(__func__); }
HRESULT STDMETHODCALLTYPE ClientSite_GetMoniker(IOleClientSite*, DWORD, DWORD, IMoniker** moniker) {
  if (moniker) *moniker = nullptr;
  return notImplemented(__func__);
}
HRESULT STDMETHODCALLTYPE ClientSite_GetContainer(IOleClientSite*, IOleContainer** container) {
  if (container) *container = nullptr;
  return E_NOINTERFACE;
}
HRESULT STDMETHODCALLTYPE ClientSite_ShowObject(IOleClientSite*) { return S_OK; }
HRESULT STDMETHODCALLTYPE ClientSite_OnShowWindow(IOleClientSite*, BOOL) { return S_OK; }
HRESULT STDMETHODCALLTYPE ClientSite_RequestNewObjectLayout(IOleClientSite*) { return notImplemented(__func__); }

const IOleClientSiteVtbl kClientSiteVtbl = {
    ClientSite_QueryInterface, ClientSite_AddRef,       ClientSite_Release,
    ClientSite_SaveObject,     ClientSite_GetMoniker,   ClientSite_GetContainer,
    ClientSite_ShowObject,     ClientSite_OnShowWindow, ClientSite_RequestNewObjectLayout,
};

// IOleInPlaceSiteWindowless

inline AxHost* impl_from_IOleInPlaceSiteWindowless(IOleInPlaceSiteWindowless* iface) {
  return CONTAINING_RECORD(iface, AxHost, IOleInPlaceSiteWindowless_iface);
}

HRESULT STDMETHODCALLTYPE InPlaceSite_QueryInterface(IOleInPlaceSiteWindowless* iface, REFIID iid, void** object) {
  return hostQueryInterface(impl_from_IOleInPlaceSiteWindowless(iface), iid, object);
}
ULONG STDMETHODCALLTYPE InPlaceSite_AddRef(IOleInPlaceSiteWindowless* iface) {
  return hostAddRef(impl_from_IOleInPlaceSiteWindowless(iface));
}
ULONG STDMETHODCALLTYPE InPlaceSite_Release(IOleInPlaceSiteWindowless* iface) {
  return hostRelease(impl_from_IOleInPlaceSiteWindowless(iface));
}
HRESULT STDMETHODCALLTYPE InPlaceSite_GetWindow(IOleInPlaceSiteWindowless* iface, HWND* window) {
  if (!window) return E_POINTER;
  *window = impl_from_IOleInPlaceSiteWindowless(iface)->window;
  return *window ? S_OK : E_FAIL;
}
HRESULT STDMETHODCALLTYPE InPlaceSite_ContextSensitiveHelp(IOleInPlaceSiteWindowless*, BOOL) {
  return notImplemented(__func__);
}
HRESULT STDMETHODCALLTYPE InPlaceSite_CanInPlaceActivate(IOleInPlaceSiteWindowless* iface) {
  return impl_from_IOleInPlaceSiteWindowless(iface)->window ? S_OK : S_FALSE;
}
HRESULT STDMETHODCALLTYPE InPlaceSite_OnInPlaceActivate(IOleInPlaceSiteWindowless* iface) {
  impl_from_IOleInPlaceSiteWindowless(iface)->inPlaceActive = TRUE;
  return S_OK;
}
HRESULT STDMETHODCALLTYPE InPlaceSite_OnUIActivate(IOleInPlaceSiteWindowless*) { return S_OK; }
// There is no frame or document window: the host window is the whole container.
HRESULT STDMETHODCALLTYPE InPlaceSite_GetWindowContext(IOleInPlaceSiteWindowless* iface, IOleInPlaceFrame** frame,
                                                       IOleInPlaceUIWindow** document, RECT* position, RECT* clip,
                                                       OLEINPLACEFRAMEINFO* frameInfo) {
  AxHost* host = impl_from_IOleInPlaceSiteWindowless(iface);
  if (!frame || !document || !position || !clip) return E_POINTER;
  *frame = nullptr;
  *document = nullptr;
  updatePosition(host);
  *position = host->position;
  *clip = host->position;
  if (frameInfo) {
    frameInfo->fMDIApp = FALSE;
    frameInfo->hwndFrame = host->window;
    frameInfo->haccel = nullptr;
    frameInfo->cAccelEntries = 0;
  }
  return S_OK;
}
HRESULT STDMETHODCALLTYPE InPlaceSite_Scroll(IOleInPlaceSiteWindowless*, SIZE) { return notImplemented(__func__); }
HRESULT STDMETHODCALLTYPE InPlaceSite_OnUIDeactivate(IOleInPlaceSiteWindowless*, BOOL) { return S_OK; }
HRESULT STDMETHODCALLTYPE InPlaceSite_OnInPlaceDeactivate(IOleInPlaceSiteWindowless* iface) {
  impl_from_IOleInPlaceSiteWindowless(iface)->inPlaceActive = FALSE;
  return S_OK;
}
HRESULT STDMETHODCALLTYPE InPlaceSite_DiscardUndoState(IOleInPlaceSiteWindowless*) { return S_OK; }
HRESULT STDMETHODCALLTYPE InPlaceSite_DeactivateAndUndo(IOleInPlaceSiteWindowless*) { return S_OK; }
// The rectangle stays the client rectangle, whatever the control asks for.
HRESULT STDMETHODCALLTYPE InPlaceSite_OnPosRectChange(IOleInPlaceSiteWindowless* iface, const RECT*) {
  axHostClientResized(impl_from_IOleInPlaceSiteWindowless(iface));
  return S_OK;
}
HRESULT STDMETHODCALLTYPE InPlaceSite_OnInPlaceActivateEx(IOleInPlaceSiteWindowless* iface, BOOL* noRedraw, DWORD) {
  if (noRedraw) *noRedraw = FALSE;
  impl_from_IOleInPlaceSiteWindowless(iface)->inPlaceActive = TRUE;
  return S_OK;
}
HRESULT STDMETHODCALLTYPE InPlaceSite_OnInPlaceDeactivateEx(IOleInPlaceSiteWindowless* iface, BOOL) {
  impl_from_IOleInPlaceSiteWindowless(iface)->inPlaceActive = FALSE;
  return S_OK;
}
HRESULT STDMETHODCALLTYPE InPlaceSite_RequestUIActivate(IOleInPlaceSiteWindowless*) { return S_OK; }
HRESULT STDMETHODCALLTYPE InPlaceSite_CanWindowlessActivate(IOleInPlaceSiteWindowless*) { return S_OK; }
HRESULT STDMETHODCALLTYPE InPlaceSite_GetCapture(IOleInPlaceSiteWindowless* iface) {
  HWND window = impl_from_IOleInPlaceSiteWindowless(iface)->window;
  return window && GetCapture() == window ? S_OK : S_FALSE;
}
HRESULT STDMETHODCALLTYPE InPlaceSite_SetCapture(IOleInPlaceSiteWindowless* iface, BOOL capture) {
  HWND window = impl_from_IOleInPlaceSiteWindowless(iface)->window;
  if (!window) return E_FAIL;
  if (capture)
    SetCapture(window);
  else if (GetCapture() == window)
    ReleaseCapture();
  return S_OK;
}
HRESULT STDMETHODCALLTYPE InPlaceSite_GetFocus(IOleInPlaceSiteWindowless* iface) {
  HWND window = impl_from_IOleInPlaceSiteWindowless(iface)->window;
  return window && GetFocus() == window ? S_OK : S_FALSE;
}
HRESULT STDMETHODCALLTYPE InPlaceSite_SetFocus(IOleInPlaceSiteWindowless* iface, BOOL focus) {
  HWND window = impl_from_IOleInPlaceSiteWindowless(iface)->window;
  if (!window) return E_FAIL;
  if (focus) SetFocus(window);
  return S_OK;
}
HRESULT STDMETHODCALLTYPE InPlaceSite_GetDC(IOleInPlaceSiteWindowless* iface, const RECT*, DWORD, HDC* dc) {
  if (!dc) return E_POINTER;
  HWND window = impl_from_IOleInPlaceSiteWindowless(iface)->window;
  *dc = window ? GetDC(window) : nullptr;
  return *dc ? S_OK : E_FAIL;
}
HRESULT STDMETHODCALLTYPE InPlaceSite_ReleaseDC(IOleInPlaceSiteWindowless* iface, HDC dc) {
  HWND window = impl_from_IOleInPlaceSiteWindowless(iface)->window;
  return window && ReleaseDC(window, dc) ? S_OK : E_FAIL;
}
// A null rectangle stands for the control's whole extent.
HRESULT STDMETHODCALLTYPE InPlaceSite_InvalidateRect(IOleInPlaceSiteWindowless* iface, const RECT* rect, BOOL erase) {
  AxHost* host = impl_from_IOleInPlaceSiteWindowless(iface);
  if (!host->window) return E_FAIL;
  InvalidateRect(host->window, rect ? rect : &host->position, erase);
  return S_OK;
}
HRESULT STDMETHODCALLTYPE InPlaceSite_InvalidateRgn(IOleInPlaceSiteWindowless* iface, HRGN region, BOOL erase) {
  AxHost* host = impl_from_IOleInPlaceSiteWindowless(iface);
  if (!host->window) return E_FAIL;
  if (region)
    InvalidateRgn(host->window, region, erase);
  else
    InvalidateRect(host->window, &host->position, erase);
  return S_OK;
}
HRESULT STDMETHODCALLTYPE InPlaceSite_ScrollRect(IOleInPlaceSiteWindowless*, INT, INT, const RECT*, const RECT*) {
  return notImplemented(__func__);
}
HRESULT STDMETHODCALLTYPE InPlaceSite_AdjustRect(IOleInPlaceSiteWindowless*, RECT* rect) {
  return rect ? S_OK : E_POINTER;
}
HRESULT STDMETHODCALLTYPE InPlaceSite_OnDefWindowMessage(IOleInPlaceSiteWindowless* iface, UINT message, WPARAM wParam,
                                                         LPARAM lParam, LRESULT* result) {
  HWND window = impl_from_IOleInPlaceSiteWindowless(iface)->window;
  if (!result) return E_POINTER;
  if (!window) return E_FAIL;
  *result = DefWindowProcW(window, message, wParam, lParam);
  return S_OK;
}

const IOleInPlaceSiteWindowlessVtbl kInPlaceSiteVtbl = {
    InPlaceSite_QueryInterface,
    InPlaceSite_AddRef,
    InPlaceSite_Release,
    InPlaceSite_GetWindow,
    InPlaceSite_ContextSensitiveHelp,
    InPlaceSite_CanInPlaceActivate,
    InPlaceSite_OnInPlaceActivate,
    InPlaceSite_OnUIActivate,
    InPlaceSite_GetWindowContext,
    InPlaceSite_Scroll,
    InPlaceSite_OnUIDeactivate,
    InPlaceSite_OnInPlaceDeactivate,
    InPlaceSite_DiscardUndoState,
    InPlaceSite_DeactivateAndUndo,
    InPlaceSite_OnPosRectChange,
    InPlaceSite_OnInPlaceActivateEx,
    InPlaceSite_OnInPlaceDeactivateEx,
    InPlaceSite_RequestUIActivate,
    InPlaceSite_CanWindowlessActivate,
    InPlaceSite_GetCapture,
    InPlaceSite_SetCapture,
    InPlaceSite_GetFocus,
    InPlaceSite_SetFocus,
    InPlaceSite_GetDC,
    InPlaceSite_ReleaseDC,
    InPlaceSite_InvalidateRect,
    InPlaceSite_InvalidateRgn,
    InPlaceSite_ScrollRect,
    InPlaceSite_AdjustRect,
    InPlaceSite_OnDefWindowMessage,
};

// IObjectWithSite

inline AxHost* impl_from_IObjectWithSite(IObjectWithSite* iface) {
  return CONTAINING_RECORD(iface, AxHost, IObjectWithSite_iface);
}

HRESULT STDMETHODCALLTYPE ObjectWithSite_QueryInterface(IObjectWithSite* iface, REFIID iid, void** object) {
  return hostQueryInterface(impl_from_IObjectWithSite(iface), iid, object);
}
ULONG STDMETHODCALLTYPE ObjectWithSite_AddRef(IObjectWithSite* iface) {
  return hostAddRef(impl_from_IObjectWithSite(iface));
}
ULONG STDMETHODCALLTYPE ObjectWithSite_Release(IObjectWithSite* iface) {
  return hostRelease(impl_from_IObjectWithSite(iface));
}
HRESULT STDMETHODCALLTYPE ObjectWithSite_SetSite(IObjectWithSite* iface, IUnknown* site) {
  AxHost* host = impl_from_IObjectWithSite(iface);
  if (site) site->lpVtbl->AddRef(site);
  releaseAndClear(&host->site);
  host->site = site;
  return S_OK;
}
HRESULT STDMETHODCALLTYPE ObjectWithSite_GetSite(IObjectWithSite* iface, REFIID iid, void** object) {
  AxHost* host = impl_from_IObjectWithSite(iface);
  if (!object) return E_POINTER;
  if (!host->site) {
    *object = nullptr;
    return E_FAIL;
  }
  return host->site->lpVtbl->QueryInterface(host->site, iid, object);
}

const IObjectWithSiteVtbl kObjectWithSiteVtbl = {
    ObjectWithSite_QueryInterface, ObjectWithSite_AddRef,  ObjectWithSite_Release,
    ObjectWithSite_SetSite,        ObjectWithSite_GetSite,
};

// IServiceProvider: every request goes to the site given with SetSite.

inline AxHost* impl_from_IServiceProvider(IServiceProvider* iface) {
  return CONTAINING_RECORD(iface, AxHost, IServiceProvider_iface);
}

HRESULT STDMETHODCALLTYPE ServiceProvider_QueryInterface(IServiceProvider* iface, REFIID iid, void** object) {
  return hostQueryInterface(impl_from_IServiceProvider(iface), iid, object);
}
ULONG STDMETHODCALLTYPE ServiceProvider_AddRef(IServiceProvider* iface) {
  return hostAddRef(impl_from_IServiceProvider(iface));
}
ULONG STDMETHODCALLTYPE ServiceProvider_Release(IServiceProvider* iface) {
  return hostRelease(impl_from_IServiceProvider(iface));
}
HRESULT STDMETHODCALLTYPE ServiceProvider_QueryService(IServiceProvider* iface, REFGUID service, REFIID iid,
                                                       void** object) {
  AxHost* host = impl_from_IServiceProvider(iface);
  if (!object) return E_POINTER;
  IServiceProvider* provider = nullptr;
  if (!host->site || FAILED(host->site->lpVtbl->QueryInterface(host->site, IID_IServiceProvider, (void**)&provider))) {
    *object = nullptr;
    return E_NOINTERFACE;
  }
  HRESULT hr = provider->lpVtbl->QueryService(provider, service, iid, object);
  provider->lpVtbl->Release(provider);
  return hr;
}

const IServiceProviderVtbl kServiceProviderVtbl = {
    ServiceProvider_QueryInterface,
    ServiceProvider_AddRef,
    ServiceProvider_Release,
    ServiceProvider_QueryService,
};

// IAxWinHostWindow

inline AxHost* impl_from_IAxWinHostWindow(IAxWinHostWindow* iface) {
  return CONTAINING_RECORD(iface, AxHost, IAxWinHostWindow_iface);
}

HRESULT STDMETHODCALLTYPE HostWindow_QueryInterface(IAxWinHostWindow* iface, REFIID iid, void** object) {
  return hostQueryInterface(impl_from_IAxWinHostWindow(iface), iid, object);
}
ULONG STDMETHODCALLTYPE HostWindow_AddRef(IAxWinHostWindow* iface) {
  return hostAddRef(impl_from_IAxWinHostWindow(iface));
}
ULONG STDMETHODCALLTYPE HostWindow_Release(IAxWinHostWindow* iface) {
  return hostRelease(impl_from_IAxWinHostWindow(iface));
}
HRESULT STDMETHODCALLTYPE HostWindow_CreateControl(IAxWinHostWindow*, LPCOLESTR, HWND, IStream*) {
  return notImplemented(__func__);
}
HRESULT STDMETHODCALLTYPE HostWindow_CreateControlEx(IAxWinHostWindow*, LPCOLESTR, HWND, IStream*, IUnknown** control,
                                                     REFIID, IUnknown*) {
  if (control) *control = nullptr;
  return notImplemented(__func__);
}
// The host serves the one window it was made for.
HRESULT STDMETHODCALLTYPE HostWindow_AttachControl(IAxWinHostWindow* iface, IUnknown* control, HWND window) {
  AxHost* host = impl_from_IAxWinHostWindow(iface);
  if (!control) return E_INVALIDARG;
  if (!host->window || window != host->window) return E_INVALIDARG;
  return attachControl(host, control);
}
HRESULT STDMETHODCALLTYPE HostWindow_QueryControl(IAxWinHostWindow* iface, REFIID iid, void** object) {
  AxHost* host = impl_from_IAxWinHostWindow(iface);
  if (!object) return E_POINTER;
  if (!host->control) {
    *object = nullptr;
    return E_NOINTERFACE;
  }
  return host->control->lpVtbl->QueryInterface(host->control, iid, object);
}
HRESULT STDMETHODCALLTYPE HostWindow_SetExternalDispatch(IAxWinHostWindow*, IDispatch*) {
  return notImplemented(__func__);
}
HRESULT STDMETHODCALLTYPE HostWindow_SetExternalUIHandler(IAxWinHostWindow*, IDocHostUIHandlerDispatch*) {
  return notImplemented(__func__);
}

const IAxWinHostWindowVtbl kHostWindowVtbl = {
    HostWindow_QueryInterface,       HostWindow_AddRef,        HostWindow_Release,      HostWindow_CreateControl,
    HostWindow_CreateControlEx,      HostWindow_AttachControl, HostWindow_QueryControl, HostWindow_SetExternalDispatch,
    HostWindow_SetExternalUIHandler,
};

}  // namespace

AxHost* axHostCreate(HWND window) {
  AxHost* host = new (std::nothrow) AxHost();
  if (!host) return nullptr;
  host->IOleClientSite_iface.lpVtbl = &kClientSiteVtbl;
  host->IOleInPlaceSiteWindowless_iface.lpVtbl = &kInPlaceSiteVtbl;
  host->IObjectWithSite_iface.lpVtbl = &kObjectWithSiteVtbl;
  host->IServiceProvider_iface.lpVtbl = &kServiceProviderVtbl;
  host->IAxWinHostWindow_iface.lpVtbl = &kHostWindowVtbl;
  host->ref = 1;
  host->window = window;
  updatePosition(host);
  return host;
}

void axHostWindowDestroyed(AxHost* host) {
  detachControl(host);
  host->window = nullptr;
  hostRelease(host);
}

IUnknown* axHostUnknown(AxHost* host) { return reinterpret_cast<IUnknown*>(&host->IOleClientSite_iface); }

IUnknown* axHostControl(AxHost* host) { return host->control; }

void axHostClientResized(AxHost* host) {
  updatePosition(host);
  if (host->inPlaceActive && host->inPlaceObject)
    host->inPlaceObject->lpVtbl->SetObjectRects(host->inPlaceObject, &host->position, &host->position);
}

void axHostDraw(AxHost* host, HDC dc) {
  if (!host->viewObject || !host->inPlaceActive) return;
  host->viewObject->lpVtbl->Draw(host->viewObject, DVASPECT_CONTENT, -1, nullptr, nullptr, nullptr, dc, nullptr,
                                 nullptr, nullptr, 0);
}
