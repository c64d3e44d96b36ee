// IOleObject, IOleControl and IPersistStreamInit: what a container calls to
// embed the control.
#include "flash_control.h"
#include "not_implemented.h"

namespace {

constexpr DWORD kMiscStatus = OLEMISC_SETCLIENTSITEFIRST | OLEMISC_ACTIVATEWHENVISIBLE | OLEMISC_INSIDEOUT |
                              OLEMISC_CANTLINKINSIDE | OLEMISC_RECOMPOSEONRESIZE;

inline FlashControl* impl_from_IOleObject(IOleObject* iface) {
  return CONTAINING_RECORD(iface, FlashControl, IOleObject_iface);
}

// Leaving the site also leaves its clock.
void leaveSite(FlashControl* control) {
  deactivateInPlace(control);
  unadviseHostClock(control);
}

HRESULT STDMETHODCALLTYPE OleObject_QueryInterface(IOleObject* iface, REFIID iid, void** object) {
  return flashQueryInterface(impl_from_IOleObject(iface), iid, object);
}
ULONG STDMETHODCALLTYPE OleObject_AddRef(IOleObject* iface) { return flashAddRef(impl_from_IOleObject(iface)); }
ULONG STDMETHODCALLTYPE OleObject_Release(IOleObject* iface) { return flashRelease(impl_from_IOleObject(iface)); }
HRESULT STDMETHODCALLTYPE OleObject_SetClientSite(IOleObject* iface, IOleClientSite* site) {
  FlashControl* control = impl_from_IOleObject(iface);
  if (site == control->clientSite) return S_OK;
  leaveSite(control);
  if (site) site->lpVtbl->AddRef(site);
  if (control->clientSite) control->clientSite->lpVtbl->Release(control->clientSite);
  control->clientSite = site;
  return S_OK;
}
HRESULT STDMETHODCALLTYPE OleObject_GetClientSite(IOleObject* iface, IOleClientSite** site) {
  if (!site) return E_POINTER;
  *site = impl_from_IOleObject(iface)->clientSite;
  if (*site) (*site)->lpVtbl->AddRef(*site);
  return S_OK;
}
HRESULT STDMETHODCALLTYPE OleObject_SetHostNames(IOleObject*, LPCOLESTR, LPCOLESTR) { return S_OK; }
HRESULT STDMETHODCALLTYPE OleObject_Close(IOleObject* iface, DWORD) {
  leaveSite(impl_from_IOleObject(iface));
  return S_OK;
}
HRESULT STDMETHODCALLTYPE OleObject_SetMoniker(IOleObject*, DWORD, IMoniker*) { return notImplemented(__func__); }
HRESULT STDMETHODCALLTYPE OleObject_GetMoniker(IOleObject*, DWORD, DWORD, IMoniker** moniker) {
  if (moniker) *moniker = nullptr;
  return notImplemented(__func__);
}
HRESULT STDMETHODCALLTYPE OleObject_InitFromData(IOleObject*, IDataObject*, BOOL, DWORD) {
  return notImplemented(__func__);
}
HRESULT STDMETHODCALLTYPE OleObject_GetClipboardData(IOleObject*, DWORD, IDataObject** data) {
  if (data) *data = nullptr;
  return notImplemented(__func__);
}
// Every showing verb activates the control in place, windowless; hiding deactivates it.
HRESULT STDMETHODCALLTYPE OleObject_DoVerb(IOleObject* iface, LONG verb, MSG*, IOleClientSite* site, LONG, HWND,
                                           const RECT*) {
  FlashControl* control = impl_from_IOleObject(iface);
  switch (verb) {
    case OLEIVERB_PRIMARY:
    case OLEIVERB_SHOW:
    case OLEIVERB_UIACTIVATE:
    case OLEIVERB_INPLACEACTIVATE: return activateInPlace(control, site ? site : control->clientSite);
    case OLEIVERB_HIDE: deactivateInPlace(control); return S_OK;
    default: return OLEOBJ_S_INVALIDVERB;
  }
}
HRESULT STDMETHODCALLTYPE OleObject_EnumVerbs(IOleObject*, IEnumOLEVERB** verbs) {
  if (verbs) *verbs = nullptr;
  return notImplemented(__func__);
}
HRESULT STDMETHODCALLTYPE OleObject_Update(IOleObject*) { return S_OK; }
HRESULT STDMETHODCALLTYPE OleObject_IsUpToDate(IOleObject*) { return S_OK; }
HRESULT STDMETHODCALLTYPE OleObject_GetUserClassID(IOleObject*, CLSID* clsid) {
  if (!clsid) return E_POINTER;
  *clsid = CLSID_ShockwaveFlash;
  return S_OK;
}
HRESULT STDMETHODCALLTYPE OleObject_GetUserType(IOleObject*, DWORD, LPOLESTR* type) {
  if (type) *type = nullptr;
  return notImplemented(__func__);
}
HRESULT STDMETHODCALLTYPE OleObject_SetExtent(IOleObject* iface, DWORD aspect, SIZEL* size) {
  if (aspect != DVASPECT_CONTENT) return DV_E_DVASPECT;
  if (!size) return E_POINTER;
  impl_from_IOleObject(iface)->extent = *size;
  return S_OK;
}
HRESULT STDMETHODCALLTYPE OleObject_GetExtent(IOleObject* iface, DWORD aspect, SIZEL* size) {
  if (aspect != DVASPECT_CONTENT) return DV_E_DVASPECT;
  if (!size) return E_POINTER;
  *size = controlExtent(impl_from_IOleObject(iface));
  return S_OK;
}
HRESULT STDMETHODCALLTYPE OleObject_Advise(IOleObject*, IAdviseSink*, DWORD* connection) {
  if (connection) *connection = 0;
  return notImplemented(__func__);
}
HRESULT STDMETHODCALLTYPE OleObject_Unadvise(IOleObject*, DWORD) { return notImplemented(__func__); }
HRESULT STDMETHODCALLTYPE OleObject_EnumAdvise(IOleObject*, IEnumSTATDATA** advises) {
  if (advises) *advises = nullptr;
  return notImplemented(__func__);
}
HRESULT STDMETHODCALLTYPE OleObject_GetMiscStatus(IOleObject*, DWORD, DWORD* status) {
  if (!status) return E_POINTER;
  *status = kMiscStatus;
  return S_OK;
}
HRESULT STDMETHODCALLTYPE OleObject_SetColorScheme(IOleObject*, LOGPALETTE*) { return notImplemented(__func__); }

inline FlashControl* impl_from_IOleControl(IOleControl* iface) {
  return CONTAINING_RECORD(iface, FlashControl, IOleControl_iface);
}

HRESULT STDMETHODCALLTYPE OleControl_QueryInterface(IOleControl* iface, REFIID iid, void** object) {
  return flashQueryInterface(impl_from_IOleControl(iface), iid, object);
}
ULONG STDMETHODCALLTYPE OleControl_AddRef(IOleControl* iface) { return flashAddRef(impl_from_IOleControl(iface)); }
ULONG STDMETHODCALLTYPE OleControl_Release(IOleControl* iface) { return flashRelease(impl_from_IOleControl(iface)); }
HRESULT STDMETHODCALLTYPE OleControl_GetControlInfo(IOleControl*, CONTROLINFO*) { return notImplemented(__func__); }
HRESULT STDMETHODCALLTYPE OleControl_OnMnemonic(IOleControl*, MSG*) { return notImplemented(__func__); }
HRESULT STDMETHODCALLTYPE OleControl_OnAmbientPropertyChange(IOleControl*, DISPID) { return S_OK; }
HRESULT STDMETHODCALLTYPE OleControl_FreezeEvents(IOleControl*, BOOL) { return S_OK; }

inline FlashControl* impl_from_IPersistStreamInit(IPersistStreamInit* iface) {
  return CONTAINING_RECORD(iface, FlashControl, IPersistStreamInit_iface);
}

HRESULT STDMETHODCALLTYPE Persist_QueryInterface(IPersistStreamInit* iface, REFIID iid, void** object) {
  return flashQueryInterface(impl_from_IPersistStreamInit(iface), iid, object);
}
ULONG STDMETHODCALLTYPE Persist_AddRef(IPersistStreamInit* iface) {
  return flashAddRef(impl_from_IPersistStreamInit(iface));
}
ULONG STDMETHODCALLTYPE Persist_Release(IPersistStreamInit* iface) {
  return flashRelease(impl_from_IPersistStreamInit(iface));
}
HRESULT STDMETHODCALLTYPE Persist_GetClassID(IPersistStreamInit*, CLSID* clsid) {
  if (!clsid) return E_POINTER;
  *clsid = CLSID_ShockwaveFlash;
  return S_OK;
}
HRESULT STDMETHODCALLTYPE Persist_IsDirty(IPersistStreamInit*) { return S_FALSE; }
// Properties are set through IShockwaveFlash only; none are kept in streams.
HRESULT STDMETHODCALLTYPE Persist_Load(IPersistStreamInit*, IStream*) { return notImplemented(__func__); }
HRESULT STDMETHODCALLTYPE Persist_Save(IPersistStreamInit*, IStream*, BOOL) { return notImplemented(__func__); }
HRESULT STDMETHODCALLTYPE Persist_GetSizeMax(IPersistStreamInit*, ULARGE_INTEGER*) { return notImplemented(__func__); }
HRESULT STDMETHODCALLTYPE Persist_InitNew(IPersistStreamInit*) { return S_OK; }

}  // namespace

const IOleObjectVtbl kOleObjectVtbl = {
    OleObject_QueryInterface, OleObject_AddRef,           OleObject_Release,
    OleObject_SetClientSite,  OleObject_GetClientSite,    OleObject_SetHostNames,
    OleObject_Close,          OleObject_SetMoniker,       OleObject_GetMoniker,
    OleObject_InitFromData,   OleObject_GetClipboardData, OleObject_DoVerb,
    OleObject_EnumVerbs,      OleObject_Update,           OleObject_IsUpToDate,
    OleObject_GetUserClassID, OleObject_GetUserType,      OleObject_SetExtent,
    OleObject_GetExtent,      OleObject_Advise,           OleObject_Unadvise,
    OleObject_EnumAdvise,     OleObject_GetMiscStatus,    OleObject_SetColorScheme,
};

const IOleControlVtbl kOleControlVtbl = {
    OleControl_QueryInterface, OleControl_AddRef,     OleControl_Release,
    OleControl_GetControlInfo, OleControl_OnMnemonic, OleControl_OnAmbientPropertyChange,
    OleControl_FreezeEvents,
};

const IPersistStreamInitVtbl kPersistStreamInitVtbl = {
    Persist_QueryInterface, Persist_AddRef, Persist_Release,    Persist_GetClassID, Persist_IsDirty,
    Persist_Load,           Persist_Save,   Persist_GetSizeMax, Persist_InitNew,
};
