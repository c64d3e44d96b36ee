// IViewObjectEx: the control's only way of showing itself.
#include "flash_control.h"
#include "not_implemented.h"

namespace {

inline FlashControl* impl_from_IViewObjectEx(IViewObjectEx* iface) {
  return CONTAINING_RECORD(iface, FlashControl, IViewObjectEx_iface);
}

bool isOpaque(const FlashControl* control) { return control->windowMode != WindowMode::Transparent; }

HRESULT STDMETHODCALLTYPE View_QueryInterface(IViewObjectEx* iface, REFIID iid, void** object) {
  return flashQueryInterface(impl_from_IViewObjectEx(iface), iid, object);
}
ULONG STDMETHODCALLTYPE View_AddRef(IViewObjectEx* iface) { return flashAddRef(impl_from_IViewObjectEx(iface)); }
ULONG STDMETHODCALLTYPE View_Release(IViewObjectEx* iface) { return flashRelease(impl_from_IViewObjectEx(iface)); }
// Without bounds, an in-place active control draws at its in-place rectangle.
HRESULT STDMETHODCALLTYPE View_Draw(IViewObjectEx* iface, DWORD aspect, LONG, void*, DVTARGETDEVICE*, HDC, HDC dc,
                                    const RECTL* bounds, const RECTL*, BOOL(STDMETHODCALLTYPE*)(ULONG_PTR), ULONG_PTR) {
  FlashControl* control = impl_from_IViewObjectEx(iface);
  if (aspect != DVASPECT_CONTENT) return DV_E_DVASPECT;
  if (!dc) return E_INVALIDARG;
  RECT rect;
  if (bounds)
    SetRect(&rect, bounds->left, bounds->top, bounds->right, bounds->bottom);
  else if (control->inPlaceSite)
    rect = control->position;
  else
    return E_INVALIDARG;
  swf::ScaleMode mode = swf::ScaleMode(control->scaleMode);
  HRESULT load = loadNamedMovie(control);
  if (FAILED(load)) return load;
  return guarded([&] { return control->painter.paint(*control->player, dc, rect, mode, isOpaque(control)); });
}
HRESULT STDMETHODCALLTYPE View_GetColorSet(IViewObjectEx*, DWORD, LONG, void*, DVTARGETDEVICE*, HDC,
                                           LOGPALETTE** colors) {
  if (colors) *colors = nullptr;
  return notImplemented(__func__);
}
HRESULT STDMETHODCALLTYPE View_Freeze(IViewObjectEx*, DWORD, LONG, void*, DWORD*) { return notImplemented(__func__); }
HRESULT STDMETHODCALLTYPE View_Unfreeze(IViewObjectEx*, DWORD) { return notImplemented(__func__); }
// Changes are announced through the in-place site's invalidations instead.
HRESULT STDMETHODCALLTYPE View_SetAdvise(IViewObjectEx*, DWORD, DWORD, IAdviseSink*) {
  return notImplemented(__func__);
}
HRESULT STDMETHODCALLTYPE View_GetAdvise(IViewObjectEx*, DWORD*, DWORD*, IAdviseSink** sink) {
  if (sink) *sink = nullptr;
  return notImplemented(__func__);
}
HRESULT STDMETHODCALLTYPE View_GetExtent(IViewObjectEx* iface, DWORD aspect, LONG, DVTARGETDEVICE*, SIZEL* size) {
  if (aspect != DVASPECT_CONTENT) return DV_E_DVASPECT;
  if (!size) return E_POINTER;
  *size = controlExtent(impl_from_IViewObjectEx(iface));
  return S_OK;
}
HRESULT STDMETHODCALLTYPE View_GetRect(IViewObjectEx*, DWORD, RECTL*) { return notImplemented(__func__); }
HRESULT STDMETHODCALLTYPE View_GetViewStatus(IViewObjectEx* iface, DWORD* status) {
  if (!status) return E_POINTER;
  *status = isOpaque(impl_from_IViewObjectEx(iface)) ? VIEWSTATUS_OPAQUE | VIEWSTATUS_SOLIDBKGND : 0;
  return S_OK;
}
HRESULT STDMETHODCALLTYPE View_QueryHitPoint(IViewObjectEx*, DWORD aspect, const RECT* bounds, POINT point, LONG,
                                             DWORD* hit) {
  if (aspect != DVASPECT_CONTENT) return DV_E_DVASPECT;
  if (!bounds || !hit) return E_POINTER;
  *hit = PtInRect(bounds, point) ? HITRESULT_HIT : HITRESULT_OUTSIDE;
  return S_OK;
}
HRESULT STDMETHODCALLTYPE View_QueryHitRect(IViewObjectEx*, DWORD aspect, const RECT* bounds, const RECT* location,
                                            LONG, DWORD* hit) {
  if (aspect != DVASPECT_CONTENT) return DV_E_DVASPECT;
  if (!bounds || !location || !hit) return E_POINTER;
  RECT overlap;
  *hit = IntersectRect(&overlap, bounds, location) ? HITRESULT_HIT : HITRESULT_OUTSIDE;
  return S_OK;
}
HRESULT STDMETHODCALLTYPE View_GetNaturalExtent(IViewObjectEx*, DWORD, LONG, DVTARGETDEVICE*, HDC, DVEXTENTINFO*,
                                                SIZEL*) {
  return notImplemented(__func__);
}

}  // namespace

const IViewObjectExVtbl kViewObjectVtbl = {
    View_QueryInterface, View_AddRef,        View_Release,       View_Draw,         View_GetColorSet,
    View_Freeze,         View_Unfreeze,      View_SetAdvise,     View_GetAdvise,    View_GetExtent,
    View_GetRect,        View_GetViewStatus, View_QueryHitPoint, View_QueryHitRect, View_GetNaturalExtent,
};
