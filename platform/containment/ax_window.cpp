// The "AtlAxWin" window class and the ATL entry points around it.
#include "atl_containment.h"

#include "ax_host.h"

namespace {

const wchar_t kClassName[] = L"AtlAxWin";

LONG initCount = 0;
UINT getHostMessage = 0;
UINT getControlMessage = 0;

// The module holding this code: the program or DLL it is linked into.
HINSTANCE thisModule() {
  HMODULE module = nullptr;
  GetModuleHandleExW(GET_MODULE_HANDLE_EX_FLAG_FROM_ADDRESS | GET_MODULE_HANDLE_EX_FLAG_UNCHANGED_REFCOUNT,
                     reinterpret_cast<LPCWSTR>(&thisModule), &module);
  return module;
}

AxHost* hostOf(HWND window) { return reinterpret_cast<AxHost*>(GetWindowLongPtrW(window, 0)); }

LRESULT handOut(IUnknown* object) {
  if (!object) return 0;
  object->lpVtbl->AddRef(object);
  return reinterpret_cast<LRESULT>(object);
}

void paint(HWND window, AxHost* host) {
  PAINTSTRUCT ps;
  HDC dc = BeginPaint(window, &ps);
  if (dc && host) axHostDraw(host, dc);
  EndPaint(window, &ps);
}

LRESULT CALLBACK axWindowProc(HWND window, UINT message, WPARAM wParam, LPARAM lParam) {
  AxHost* host = hostOf(window);
  if (message == getHostMessage) return host ? handOut(axHostUnknown(host)) : 0;
  if (message == getControlMessage) return host ? handOut(axHostControl(host)) : 0;
  switch (message) {
    case WM_CREATE:
      host = axHostCreate(window);
      if (!host) return -1;
      SetWindowLongPtrW(window, 0, reinterpret_cast<LONG_PTR>(host));
      return 0;
    case WM_SIZE:
      if (host) axHostClientResized(host);
      break;
    case WM_PAINT: paint(window, host); return 0;
    case WM_DESTROY:
      if (host) {
        SetWindowLongPtrW(window, 0, 0);
        axHostWindowDestroyed(host);
      }
      break;
  }
  return DefWindowProcW(window, message, wParam, lParam);
}

}  // namespace

BOOL WINAPI AtlAxWinInit(void) {
  if (initCount > 0) {
    ++initCount;
    return TRUE;
  }
  getHostMessage = RegisterWindowMessageW(L"WM_ATLGETHOST");
  getControlMessage = RegisterWindowMessageW(L"WM_ATLGETCONTROL");
  if (!getHostMessage || !getControlMessage) return FALSE;
  WNDCLASSEXW wc = {};
  wc.cbSize = sizeof wc;
  wc.style = 0;
  wc.lpfnWndProc = axWindowProc;
  wc.cbWndExtra = sizeof(LONG_PTR);
  wc.hInstance = thisModule();
  wc.hCursor = LoadCursorW(nullptr, reinterpret_cast<LPCWSTR>(IDC_ARROW));
  wc.hbrBackground = reinterpret_cast<HBRUSH>(COLOR_WINDOW + 1);
  wc.lpszClassName = kClassName;
  // A class left registered by a term while its windows lived is still usable.
  if (!RegisterClassExW(&wc) && GetLastError() != ERROR_CLASS_ALREADY_EXISTS) return FALSE;
  initCount = 1;
  return TRUE;
}

BOOL WINAPI AtlAxWinTerm(void) {
  if (initCount == 0) return FALSE;
  if (--initCount > 0) return TRUE;
  return UnregisterClassW(kClassName, thisModule());
}

HRESULT WINAPI AtlAxAttachControl(IUnknown* control, HWND window, IUnknown** container) {
  if (container) *container = nullptr;
  if (!control) return E_INVALIDARG;
  IUnknown* host = nullptr;
  if (FAILED(AtlAxGetHost(window, &host))) return E_INVALIDARG;
  IAxWinHostWindow* hostWindow = nullptr;
  HRESULT hr = host->lpVtbl->QueryInterface(host, IID_IAxWinHostWindow, (void**)&hostWindow);
  if (SUCCEEDED(hr)) {
    hr = hostWindow->lpVtbl->AttachControl(hostWindow, control, window);
    hostWindow->lpVtbl->Release(hostWindow);
  }
  if (SUCCEEDED(hr) && container)
    *container = host;
  else
    host->lpVtbl->Release(host);
  return hr;
}

HRESULT WINAPI AtlAxGetHost(HWND window, IUnknown** host) {
  if (!host) return E_POINTER;
  *host = getHostMessage && IsWindow(window) ? reinterpret_cast<IUnknown*>(SendMessageW(window, getHostMessage, 0, 0))
                                             : nullptr;
  return *host ? S_OK : E_FAIL;
}

HRESULT WINAPI AtlAxGetControl(HWND window, IUnknown** control) {
  if (!control) return E_POINTER;
  *control = getControlMessage && IsWindow(window)
                 ? reinterpret_cast<IUnknown*>(SendMessageW(window, getControlMessage, 0, 0))
                 : nullptr;
  return *control ? S_OK : E_FAIL;
}
