#include "preview_host.h"

#include <ocidl.h>

#include <vector>

#include "atl_containment.h"
#include "module_instance.h"
#include "resource_ids.h"

namespace {

constexpr DWORD kAllServerContexts = 23;

bool attachToHost(HWND host, IUnknown* object) {
  IUnknown* container = nullptr;
  if (FAILED(AtlAxGetHost(host, &container)) || !container) return false;
  IAxWinHostWindow* hostWindow = nullptr;
  HRESULT hr = IUnknown_QueryInterface(container, IID_IAxWinHostWindow,
                                       reinterpret_cast<void**>(&hostWindow));
  IUnknown_Release(container);
  if (FAILED(hr)) return false;
  hr = IAxWinHostWindow_AttachControl(hostWindow, object, host);
  IAxWinHostWindow_Release(hostWindow);
  return SUCCEEDED(hr);
}

void giveSite(HWND host, IServiceProvider* site) {
  static const UINT getHost = RegisterWindowMessageA("WM_ATLGETHOST");
  auto* container = reinterpret_cast<IUnknown*>(SendMessageA(host, getHost, 0, 0));
  if (!container) return;
  IObjectWithSite* withSite = nullptr;
  if (SUCCEEDED(IUnknown_QueryInterface(container, IID_IObjectWithSite,
                                        reinterpret_cast<void**>(&withSite)))) {
    IObjectWithSite_SetSite(withSite, reinterpret_cast<IUnknown*>(site));
    IObjectWithSite_Release(withSite);
  }
  IUnknown_Release(container);
}

}  // namespace

ScopedBstr::ScopedBstr(const char* text) {
  const int length = MultiByteToWideChar(CP_ACP, 0, text, -1, nullptr, 0);
  std::vector<wchar_t> wide(length > 0 ? length : 1, L'\0');
  if (length > 0) MultiByteToWideChar(CP_ACP, 0, text, -1, wide.data(), length);
  text_ = SysAllocString(wide.data());
}

ScopedBstr::~ScopedBstr() { SysFreeString(text_); }

HWND createPreviewHost(HWND mainWindow, const RECT& client) {
  return CreateWindowExA(0, "AtlAxWin", nullptr, WS_CHILD | WS_VISIBLE | WS_CLIPCHILDREN,
                         client.left, client.top, client.right - client.left,
                         client.bottom - client.top, mainWindow,
                         reinterpret_cast<HMENU>(IDC_PREVIEW_HOST), appInstance(), nullptr);
}

bool attachPreviewControl(HWND host, IServiceProvider* site, PreviewControl* control) {
  control->object = nullptr;
  control->flash = nullptr;
  IUnknown* object = nullptr;
  if (FAILED(CoCreateInstance(CLSID_ShockwaveFlash, nullptr, kAllServerContexts, IID_IUnknown,
                              reinterpret_cast<void**>(&object))))
    return false;
  IShockwaveFlash* flash = nullptr;
  if (FAILED(IUnknown_QueryInterface(object, IID_IShockwaveFlash, reinterpret_cast<void**>(&flash))) ||
      !flash) {
    IUnknown_Release(object);
    return false;
  }
  {
    ScopedBstr opaque("Opaque");
    IShockwaveFlash_put_WMode(flash, opaque.get());
  }
  if (!attachToHost(host, object)) {
    IShockwaveFlash_Release(flash);
    IUnknown_Release(object);
    return false;
  }
  giveSite(host, site);
  control->object = object;
  control->flash = flash;
  return true;
}
