// The renderer's own control: made on demand inside a hidden "AtlAxWin"
// window, loaded with the cached copy, and stepped one tick per frame.
#include <windows.h>
#include <mmsystem.h>
#include <ocidl.h>

#include <string>

#include "atl_containment.h"
#include "bstr_text.h"
#include "com_reference.h"
#include "frame_renderer_object.h"

namespace {

const CLSID& controlClass() { return CLSID_ShockwaveFlash; }

// In-process server, in-process handler, local server and remote server.
constexpr DWORD kControlClassContext = 23;

HRESULT putMovie(IShockwaveFlash* control, const char* path) {
  wchar_t wide[kCachePathSize];
  if (!MultiByteToWideChar(CP_ACP, 0, path, -1, wide, kCachePathSize)) return E_FAIL;
  BstrText movie(wide);
  if (!movie.get()) return E_OUTOFMEMORY;
  return control->lpVtbl->put_Movie(control, movie.get());
}

// The cached copy lives in the temporary folder; what the movie loads lies
// beside its source.
void putSourceFolderAsBase(IShockwaveFlash* control, const char* sourcePath) {
  wchar_t folder[kCachePathSize];
  if (!MultiByteToWideChar(CP_ACP, 0, sourcePath, -1, folder, kCachePathSize)) return;
  size_t cut = std::wstring(folder).find_last_of(L"\\/");
  if (cut == std::wstring::npos) return;
  folder[cut] = L'\0';
  BstrText base(folder);
  if (base.get()) control->lpVtbl->put_Base(control, base.get());
}

HWND createHostWindow() {
  return CreateWindowExA(0, "AtlAxWin", nullptr, WS_CHILD, CW_USEDEFAULT, CW_USEDEFAULT, CW_USEDEFAULT, CW_USEDEFAULT,
                         GetDesktopWindow(), nullptr, rendererModule(), nullptr);
}

// The host object of the window gets the renderer's site, through which the
// control finds the renderer's timer service.
void giveSiteToHost(FrameRenderer* renderer) {
  static const UINT kGetHost = RegisterWindowMessageA("WM_ATLGETHOST");
  ComReference<IUnknown> host(reinterpret_cast<IUnknown*>(SendMessageA(renderer->hostWindow, kGetHost, 0, 0)));
  if (!host) return;
  ComReference<IObjectWithSite> withSite;
  if (SUCCEEDED(host.get()->lpVtbl->QueryInterface(host.get(), IID_IObjectWithSite, withSite.receive())))
    withSite.get()->lpVtbl->SetSite(withSite.get(), siteObject(renderer));
}

}  // namespace

HRESULT putWindowMode(FrameRenderer* renderer, const wchar_t* mode) {
  BstrText text(mode);
  if (!text.get()) return E_OUTOFMEMORY;
  return renderer->control->lpVtbl->put_WMode(renderer->control, text.get());
}

HRESULT putScaleMode(FrameRenderer* renderer, int mode) {
  return renderer->control->lpVtbl->put_ScaleMode(renderer->control, mode);
}

HRESULT createControl(FrameRenderer* renderer) {
  ComReference<IUnknown> unknown;
  if (FAILED(CoCreateInstance(controlClass(), nullptr, kControlClassContext, IID_IUnknown, unknown.receive())))
    return kRendererEControlMissing;
  if (FAILED(unknown.get()->lpVtbl->QueryInterface(unknown.get(), IID_IShockwaveFlash,
                                                   reinterpret_cast<void**>(&renderer->control)))) {
    renderer->control = nullptr;
    return E_FAIL;
  }
  putWindowMode(renderer, L"Opaque");
  putScaleMode(renderer, renderer->keepAspect ? 0 : 2);
  renderer->hostWindow = createHostWindow();
  if (!renderer->hostWindow) return kRendererENoWindow;
  AtlAxAttachControl(unknown.get(), renderer->hostWindow, nullptr);
  giveSiteToHost(renderer);
  return S_OK;
}

// A released control can no longer be ticked, whatever it left advised.
void releaseControl(FrameRenderer* renderer) {
  if (!renderer->control) return;
  renderer->control->lpVtbl->Release(renderer->control);
  renderer->control = nullptr;
  renderer->timerSink = nullptr;
}

HRESULT loadIntoControl(FrameRenderer* renderer) {
  putMovie(renderer->control, renderer->sourcePath);
  putSourceFolderAsBase(renderer->control, renderer->sourcePath);
  const HRESULT hr = putMovie(renderer->control, renderer->cachedPath);
  return FAILED(hr) ? hr : S_OK;
}

HRESULT advanceTo(FrameRenderer* renderer, int32_t frame) {
  if (frame == renderer->currentFrame) return S_OK;
  if (!renderer->timerSink) return E_FAIL;
  if (frame < 0) return kRendererEBadFrame;
  int32_t first = renderer->currentFrame + 1;
  if (renderer->currentFrame > frame) {
    const HRESULT hr = loadIntoControl(renderer);
    if (FAILED(hr)) return hr;
    first = 1;
  }
  for (int32_t i = first; i <= frame; ++i) {
    // A load that failed to advise leaves no sink to tick.
    if (!renderer->timerSink) return E_FAIL;
    if (renderer->sequenceMode == kSequenceFrameByFrame) renderer->control->lpVtbl->GotoFrame(renderer->control, i);
    VARIANT now;
    VariantInit(&now);
    V_VT(&now) = VT_UI4;
    V_UI4(&now) = timeGetTime();
    renderer->timerSink->lpVtbl->OnTimer(renderer->timerSink, now);
  }
  renderer->currentFrame = frame;
  return S_OK;
}

HRESULT reloadAndReplay(FrameRenderer* renderer) {
  if (!renderer->control) return E_FAIL;
  const HRESULT hr = loadIntoControl(renderer);
  if (FAILED(hr)) return hr;
  const int32_t previous = renderer->currentFrame;
  renderer->currentFrame = 0;
  return previous > 0 ? advanceTo(renderer, previous) : S_OK;
}

bool ensureCachedCopy(FrameRenderer* renderer) {
  if (GetFileAttributesA(renderer->cachedPath) != INVALID_FILE_ATTRIBUTES) return true;
  if (CacheEntry* entry = findInUseEntry(renderer->sourcePath)) {
    const char* directory = movieCacheDirectory();
    if (lstrlenA(directory) + lstrlenA(entry->copyName) >= int(kCachePathSize)) return false;
    lstrcpyA(renderer->cachedPath, directory);
    lstrcatA(renderer->cachedPath, entry->copyName);
  } else if (FAILED(buildCachedMovie(&renderer->info.compressed, renderer->sourcePath, renderer->cachedPath))) {
    return false;
  }
  return SUCCEEDED(reloadAndReplay(renderer));
}
