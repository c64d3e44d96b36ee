#include "preview_host.h"

#include <ocidl.h>

#include <utility>

#include "atl_containment.h"
#include "bstr_text.h"
#include "module_instance.h"
#include "resource_ids.h"

namespace {

constexpr DWORD kAllServerContexts = 23;

bool attachToHost(HWND host, IUnknown* object) {
  ComReference<IAxWinHostWindow> hostWindow;
  {
    ComReference<IUnknown> container;
    if (FAILED(AtlAxGetHost(host, container.out())) || !container) return false;
    if (FAILED(IUnknown_QueryInterface(container.get(), IID_IAxWinHostWindow, hostWindow.receive()))) return false;
  }
  return SUCCEEDED(IAxWinHostWindow_AttachControl(hostWindow.get(), object, host));
}

void giveSite(HWND host, IServiceProvider* site) {
  static const UINT kGetHost = RegisterWindowMessageA("WM_ATLGETHOST");
  ComReference<IUnknown> container(reinterpret_cast<IUnknown*>(SendMessageA(host, kGetHost, 0, 0)));
  if (!container) return;
  ComReference<IObjectWithSite> withSite;
  if (SUCCEEDED(IUnknown_QueryInterface(container.get(), IID_IObjectWithSite, withSite.receive())))
    IObjectWithSite_SetSite(withSite.get(), reinterpret_cast<IUnknown*>(site));
}

}  // namespace

HWND createPreviewHost(HWND mainWindow, const RECT& client) {
  return CreateWindowExA(0, "AtlAxWin", nullptr, WS_CHILD | WS_VISIBLE | WS_CLIPCHILDREN, client.left, client.top,
                         client.right - client.left, client.bottom - client.top, mainWindow,
                         reinterpret_cast<HMENU>(IDC_PREVIEW_HOST), appInstance(), nullptr);
}

bool attachPreviewControl(HWND host, IServiceProvider* site, PreviewControl* control) {
  control->object.reset();
  control->flash.reset();
  ComReference<IUnknown> object;
  if (FAILED(CoCreateInstance(CLSID_ShockwaveFlash, nullptr, kAllServerContexts, IID_IUnknown, object.receive())))
    return false;
  ComReference<IShockwaveFlash> flash;
  if (FAILED(IUnknown_QueryInterface(object.get(), IID_IShockwaveFlash, flash.receive())) || !flash) return false;
  {
    BstrText opaque("Opaque");
    IShockwaveFlash_put_WMode(flash.get(), opaque.get());
  }
  if (!attachToHost(host, object.get())) return false;
  giveSite(host, site);
  control->object = std::move(object);
  control->flash = std::move(flash);
  return true;
}
