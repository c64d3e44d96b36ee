// ActiveX containment support: the "AtlAxWin" host window class and the few
// ATL entry points Moviquill uses to host the Flash Player control. Wine's own
// atl.dll host offers no IObjectWithSite or IServiceProvider, so a timer
// service given to the host could never reach the control through it.
//
// A window of class "AtlAxWin" owns one host object from its creation to its
// destruction (its title is not read as a control name). The host is the
// control's client site and windowless in-place site: the control's
// invalidations reach the window, and its in-place rectangle follows the
// window's client rectangle. Services the control asks its site for are
// asked of the site given to the host with IObjectWithSite::SetSite.
#pragma once

#include <windows.h>
#include <ocidl.h>
#include <ole2.h>

#ifdef __cplusplus
extern "C" {
#endif

// {B6EA2050-048A-11D1-82B9-00C04FB9942E}
extern const IID IID_IAxWinHostWindow;

// Registers the "AtlAxWin" class (class style 0, arrow cursor, COLOR_WINDOW + 1)
// and the messages "WM_ATLGETHOST" and "WM_ATLGETCONTROL". Calls nest: each
// successful call is paired with one AtlAxWinTerm.
BOOL WINAPI AtlAxWinInit(void);
// Unregisters the class after the last AtlAxWinInit was paired.
BOOL WINAPI AtlAxWinTerm(void);

// Attaches control to the host of the "AtlAxWin" window window and activates
// it in place; a control attached before is closed and released. When
// container is not null it receives the host (a reference the caller releases).
HRESULT WINAPI AtlAxAttachControl(IUnknown* control, HWND window, IUnknown** container);

// The host, or the attached control, of an "AtlAxWin" window, as a reference
// the caller releases; E_FAIL and null when there is none. The window
// messages "WM_ATLGETHOST" and "WM_ATLGETCONTROL" (wParam and lParam 0)
// return the same references as their result.
HRESULT WINAPI AtlAxGetHost(HWND window, IUnknown** host);
HRESULT WINAPI AtlAxGetControl(HWND window, IUnknown** control);

#ifdef __cplusplus
}
#endif

// The interface as ATL names it.
// NOLINTBEGIN(readability-identifier-naming)
typedef interface IAxWinHostWindow IAxWinHostWindow;
typedef interface IDocHostUIHandlerDispatch IDocHostUIHandlerDispatch;

// The host's own interface. Only AttachControl and QueryControl are offered;
// creating controls from text and external dispatch return E_NOTIMPL.
#if defined(__cplusplus) && !defined(CINTERFACE)

MIDL_INTERFACE("B6EA2050-048A-11D1-82B9-00C04FB9942E")
IAxWinHostWindow : public IUnknown {
 public:
  virtual HRESULT STDMETHODCALLTYPE CreateControl(LPCOLESTR name, HWND window, IStream * stream) = 0;
  virtual HRESULT STDMETHODCALLTYPE CreateControlEx(LPCOLESTR name, HWND window, IStream * stream, IUnknown * *control,
                                                    REFIID adviseIid, IUnknown * advise) = 0;
  virtual HRESULT STDMETHODCALLTYPE AttachControl(IUnknown * control, HWND window) = 0;
  virtual HRESULT STDMETHODCALLTYPE QueryControl(REFIID iid, void** object) = 0;
  virtual HRESULT STDMETHODCALLTYPE SetExternalDispatch(IDispatch * dispatch) = 0;
  virtual HRESULT STDMETHODCALLTYPE SetExternalUIHandler(IDocHostUIHandlerDispatch * handler) = 0;
};
__CRT_UUID_DECL(IAxWinHostWindow, 0xb6ea2050, 0x048a, 0x11d1, 0x82, 0xb9, 0x00, 0xc0, 0x4f, 0xb9, 0x94, 0x2e)

#else

typedef struct IAxWinHostWindowVtbl {
  BEGIN_INTERFACE
  HRESULT(STDMETHODCALLTYPE* QueryInterface)(IAxWinHostWindow* This, REFIID iid, void** object);
  ULONG(STDMETHODCALLTYPE* AddRef)(IAxWinHostWindow* This);
  ULONG(STDMETHODCALLTYPE* Release)(IAxWinHostWindow* This);
  HRESULT(STDMETHODCALLTYPE* CreateControl)(IAxWinHostWindow* This, LPCOLESTR name, HWND window, IStream* stream);
  HRESULT(STDMETHODCALLTYPE* CreateControlEx)
  (IAxWinHostWindow* This, LPCOLESTR name, HWND window, IStream* stream, IUnknown** control, REFIID adviseIid,
   IUnknown* advise);
  HRESULT(STDMETHODCALLTYPE* AttachControl)(IAxWinHostWindow* This, IUnknown* control, HWND window);
  HRESULT(STDMETHODCALLTYPE* QueryControl)(IAxWinHostWindow* This, REFIID iid, void** object);
  HRESULT(STDMETHODCALLTYPE* SetExternalDispatch)(IAxWinHostWindow* This, IDispatch* dispatch);
  HRESULT(STDMETHODCALLTYPE* SetExternalUIHandler)(IAxWinHostWindow* This, IDocHostUIHandlerDispatch* handler);
  END_INTERFACE
} IAxWinHostWindowVtbl;

interface IAxWinHostWindow {
  CONST_VTBL IAxWinHostWindowVtbl* lpVtbl;
};

#ifdef COBJMACROS
#define IAxWinHostWindow_QueryInterface(This, iid, object) (This)->lpVtbl->QueryInterface(This, iid, object)
#define IAxWinHostWindow_AddRef(This) (This)->lpVtbl->AddRef(This)
#define IAxWinHostWindow_Release(This) (This)->lpVtbl->Release(This)
#define IAxWinHostWindow_CreateControl(This, name, window, stream) \
  (This)->lpVtbl->CreateControl(This, name, window, stream)
#define IAxWinHostWindow_CreateControlEx(This, name, window, stream, control, adviseIid, advise) \
  (This)->lpVtbl->CreateControlEx(This, name, window, stream, control, adviseIid, advise)
#define IAxWinHostWindow_AttachControl(This, control, window) (This)->lpVtbl->AttachControl(This, control, window)
#define IAxWinHostWindow_QueryControl(This, iid, object) (This)->lpVtbl->QueryControl(This, iid, object)
#define IAxWinHostWindow_SetExternalDispatch(This, dispatch) (This)->lpVtbl->SetExternalDispatch(This, dispatch)
#define IAxWinHostWindow_SetExternalUIHandler(This, handler) (This)->lpVtbl->SetExternalUIHandler(This, handler)
#endif

#endif
// NOLINTEND(readability-identifier-naming)
