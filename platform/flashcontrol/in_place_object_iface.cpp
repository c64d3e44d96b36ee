// IOleInPlaceObjectWindowless and in-place activation: the control has no
// window of its own and lives in its container's window at its rectangle.
#include "flash_control.h"
#include "not_implemented.h"

namespace {

inline FlashControl* impl_from_IOleInPlaceObjectWindowless(IOleInPlaceObjectWindowless* iface) {
  return CONTAINING_RECORD(iface, FlashControl, IOleInPlaceObjectWindowless_iface);
}

HRESULT STDMETHODCALLTYPE InPlace_QueryInterface(IOleInPlaceObjectWindowless* iface, REFIID iid, void** object) {
  return flashQueryInterface(impl_from_IOleInPlaceObjectWindowless(iface), iid, object);
}
ULONG STDMETHODCALLTYPE InPlace_AddRef(IOleInPlaceObjectWindowless* iface) {
  return flashAddRef(impl_from_IOleInPlaceObjectWindowless(iface));
}
ULONG STDMETHODCALLTYPE InPlace_Release(IOleInPlaceObjectWindowless* iface) {
  return flashRelease(impl_from_IOleInPlaceObjectWindowless(iface));
}
HRESULT STDMETHODCALLTYPE InPlace_GetWindow(IOleInPlaceObjectWindowless*, HWND* window) {
  if (!window) return E_POINTER;
  *window = nullptr;
  return E_FAIL;  // windowless
}
HRESULT STDMETHODCALLTYPE InPlace_ContextSensitiveHelp(IOleInPlaceObjectWindowless*, BOOL) {
  return notImplemented(__func__);
}
HRESULT STDMETHODCALLTYPE InPlace_InPlaceDeactivate(IOleInPlaceObjectWindowless* iface) {
  deactivateInPlace(impl_from_IOleInPlaceObjectWindowless(iface));
  return S_OK;
}
HRESULT STDMETHODCALLTYPE InPlace_UIDeactivate(IOleInPlaceObjectWindowless*) { return S_OK; }
// The clip rectangle is not needed: the container clips the device context it
// gives to Draw.
HRESULT STDMETHODCALLTYPE InPlace_SetObjectRects(IOleInPlaceObjectWindowless* iface, const RECT* position,
                                                 const RECT*) {
  FlashControl* control = impl_from_IOleInPlaceObjectWindowless(iface);
  if (!position) return E_POINTER;
  control->position = *position;
  requestRepaint(control);
  return S_OK;
}
HRESULT STDMETHODCALLTYPE InPlace_ReactivateAndUndo(IOleInPlaceObjectWindowless*) { return notImplemented(__func__); }
// The control takes no input: every window message is left to the container.
HRESULT STDMETHODCALLTYPE InPlace_OnWindowMessage(IOleInPlaceObjectWindowless*, UINT, WPARAM, LPARAM, LRESULT* result) {
  if (result) *result = 0;
  return S_FALSE;
}
HRESULT STDMETHODCALLTYPE InPlace_GetDropTarget(IOleInPlaceObjectWindowless*, IDropTarget** target) {
  if (target) *target = nullptr;
  return notImplemented(__func__);
}

}  // namespace

const IOleInPlaceObjectWindowlessVtbl kInPlaceObjectVtbl = {
    InPlace_QueryInterface,
    InPlace_AddRef,
    InPlace_Release,
    InPlace_GetWindow,
    InPlace_ContextSensitiveHelp,
    InPlace_InPlaceDeactivate,
    InPlace_UIDeactivate,
    InPlace_SetObjectRects,
    InPlace_ReactivateAndUndo,
    InPlace_OnWindowMessage,
    InPlace_GetDropTarget,
};

HRESULT activateInPlace(FlashControl* control, IOleClientSite* site) {
  if (control->inPlaceSite) return S_OK;
  if (!site) return E_INVALIDARG;
  IOleInPlaceSiteWindowless* inPlace = nullptr;
  if (FAILED(site->lpVtbl->QueryInterface(site, IID_IOleInPlaceSiteWindowless, (void**)&inPlace)))
    return notImplemented(__func__);  // only windowless containers are served
  if (inPlace->lpVtbl->CanWindowlessActivate(inPlace) != S_OK || inPlace->lpVtbl->CanInPlaceActivate(inPlace) != S_OK) {
    inPlace->lpVtbl->Release(inPlace);
    return E_FAIL;
  }
  BOOL noRedraw = FALSE;
  inPlace->lpVtbl->OnInPlaceActivateEx(inPlace, &noRedraw, ACTIVATE_WINDOWLESS);

  IOleInPlaceFrame* frame = nullptr;
  IOleInPlaceUIWindow* document = nullptr;
  RECT position = {}, clip = {};
  OLEINPLACEFRAMEINFO frameInfo = {};
  frameInfo.cb = sizeof frameInfo;
  if (SUCCEEDED(inPlace->lpVtbl->GetWindowContext(inPlace, &frame, &document, &position, &clip, &frameInfo)))
    control->position = position;
  if (frame) frame->lpVtbl->Release(frame);
  if (document) document->lpVtbl->Release(document);
  control->inPlaceSite = inPlace;
  if (!noRedraw) requestRepaint(control);
  return S_OK;
}

void deactivateInPlace(FlashControl* control) {
  IOleInPlaceSiteWindowless* site = control->inPlaceSite;
  if (!site) return;
  control->inPlaceSite = nullptr;
  site->lpVtbl->OnInPlaceDeactivateEx(site, TRUE);
  site->lpVtbl->Release(site);
}
