// The renderer object: factory, reference counting, movie opening and the
// settings that decide how frames are drawn.
#include <cstdio>
#include <cstring>
#include <new>

#include "control_discovery.h"
#include "frame_renderer_object.h"
#include "movie_header.h"
#include "renderer_lock.h"

namespace {

// The control's version as the last factory call found it.
char controlVersionText[20] = "";

HRESULT STDMETHODCALLTYPE FrameRenderer_QueryInterface(IFrameRenderer* iface, REFIID iid, void** object) {
  if (!object) return E_POINTER;
  if (IsEqualIID(iid, IID_IUnknown)) {
    *object = iface;
    iface->lpVtbl->AddRef(iface);
    return S_OK;
  }
  *object = nullptr;
  return E_NOINTERFACE;
}

ULONG STDMETHODCALLTYPE FrameRenderer_AddRef(IFrameRenderer* iface) {
  return InterlockedIncrement(&impl_from_IFrameRenderer(iface)->refCount);
}

// The cache reference taken for sourcePath goes back; the last one moves the
// copy to the kept list.
void giveBackCachedMovie(FrameRenderer* renderer) {
  CacheEntry* entry = findInUseEntry(renderer->sourcePath);
  if (entry && --entry->refCount == 0) releaseCachedMovie(entry);
}

void destroyRenderer(FrameRenderer* renderer) {
  giveBackCachedMovie(renderer);
  if (renderer->hostWindow && DestroyWindow(renderer->hostWindow)) renderer->hostWindow = nullptr;
  if (renderer->memoryDC) DeleteDC(renderer->memoryDC);
  renderer->alphaSurface.free();
  renderer->opaqueSurface.free();
  releaseControl(renderer);
  delete renderer;
}

ULONG STDMETHODCALLTYPE FrameRenderer_Release(IFrameRenderer* iface) {
  FrameRenderer* renderer = impl_from_IFrameRenderer(iface);
  const LONG count = InterlockedDecrement(&renderer->refCount);
  if (count != 0) return count;
  RendererLock lock;
  destroyRenderer(renderer);
  return 0;
}

HRESULT STDMETHODCALLTYPE FrameRenderer_SetCacheOptions(IFrameRenderer*, const wchar_t* directory, uint32_t keepCount) {
  RendererLock lock;
  return setCacheOptions(directory, keepCount);
}

// The header fields go into info; the background colour stays when the
// movie sets none.
HRESULT readInfo(FrameRenderer* renderer) {
  MovieInfo& info = renderer->info;
  ExpandedMovieHeader header = {};
  header.backgroundColor = info.backgroundColor;
  const int32_t result = readExpandedMovieHeader(renderer->cachedPath, header);
  if (result != 0) return result;
  info.version = header.version;
  info.width = header.width;
  info.height = header.height;
  info.frameCount = header.frameCount;
  info.frameRate = header.frameRate;
  info.backgroundColor = header.backgroundColor;
  return S_OK;
}

HRESULT openMovie(FrameRenderer* renderer, const wchar_t* path) {
  if (!path || !*path) return E_FAIL;
  renderer->currentFrame = 0;
  if (!renderer->control) {
    const HRESULT hr = createControl(renderer);
    if (FAILED(hr)) return hr;
  }
  // A renderer opened before gives its old copy back first.
  if (renderer->sourcePath[0]) giveBackCachedMovie(renderer);
  renderer->cachedPath[0] = '\0';
  if (!WideCharToMultiByte(CP_ACP, 0, path, -1, renderer->sourcePath, kCachePathSize, nullptr, nullptr)) {
    renderer->sourcePath[0] = '\0';
    return E_FAIL;
  }
  if (!acquireCachedMovie(renderer->sourcePath, renderer->cachedPath, true)) {
    const HRESULT hr = buildCachedMovie(&renderer->info.compressed, renderer->sourcePath, renderer->cachedPath);
    if (FAILED(hr)) return hr;
  }
  HRESULT hr = readInfo(renderer);
  if (FAILED(hr)) return hr;
  renderer->width = int32_t(renderer->info.width);
  renderer->height = int32_t(renderer->info.height);
  std::memcpy(renderer->info.controlVersion, controlVersionText, sizeof controlVersionText);
  hr = loadIntoControl(renderer);
  if (FAILED(hr)) return hr;
  renderer->control->lpVtbl->put_Loop(renderer->control, VARIANT_TRUE);
  renderer->control->lpVtbl->Play(renderer->control);
  return S_OK;
}

HRESULT STDMETHODCALLTYPE FrameRenderer_OpenMovie(IFrameRenderer* iface, const wchar_t* path) {
  RendererLock lock;
  return openMovie(impl_from_IFrameRenderer(iface), path);
}

HRESULT STDMETHODCALLTYPE FrameRenderer_GetMovieInfo(IFrameRenderer* iface, MovieInfo* info) {
  RendererLock lock;
  if (info) std::memcpy(info, &impl_from_IFrameRenderer(iface)->info, sizeof(MovieInfo));
  return S_OK;
}

// A host window destroyed from outside takes the control with it: both are
// made anew and the movie loaded again, standing at its first frame.
HRESULT restoreControl(FrameRenderer* renderer) {
  if (!IsWindow(renderer->hostWindow)) {
    renderer->hostWindow = nullptr;
    if (renderer->control) {
      releaseControl(renderer);
      if (SUCCEEDED(createControl(renderer))) loadIntoControl(renderer);
      renderer->currentFrame = 0;
    }
    if (!renderer->control) return createControl(renderer);
    return S_OK;
  }
  return renderer->control ? S_OK : createControl(renderer);
}

HRESULT setFrameSize(FrameRenderer* renderer, int32_t width, int32_t height) {
  if (width == renderer->opaqueSurface.header.biWidth && height == renderer->opaqueSurface.header.biHeight) return S_OK;
  renderer->opaqueSurface.free();
  renderer->alphaSurface.free();
  HRESULT hr = restoreControl(renderer);
  if (FAILED(hr)) return hr;
  if (!renderer->memoryDC) {
    renderer->memoryDC = CreateCompatibleDC(nullptr);
    if (!renderer->memoryDC) return kRendererENoWindow;
  }
  IOleInPlaceObject* inPlace = nullptr;
  if (SUCCEEDED(renderer->control->lpVtbl->QueryInterface(renderer->control, IID_IOleInPlaceObject,
                                                          reinterpret_cast<void**>(&inPlace)))) {
    const RECT rect = {0, 0, width, height};
    inPlace->lpVtbl->SetObjectRects(inPlace, &rect, &rect);
    inPlace->lpVtbl->Release(inPlace);
  }
  // Setting the scale mode again makes the control lay out for the new size.
  int scaleMode = 0;
  renderer->control->lpVtbl->get_ScaleMode(renderer->control, &scaleMode);
  putScaleMode(renderer, scaleMode);
  renderer->width = width;
  renderer->height = height;
  return S_OK;
}

HRESULT STDMETHODCALLTYPE FrameRenderer_SetFrameSize(IFrameRenderer* iface, int32_t width, int32_t height) {
  RendererLock lock;
  return setFrameSize(impl_from_IFrameRenderer(iface), width, height);
}

HRESULT STDMETHODCALLTYPE FrameRenderer_SetSequenceMode(IFrameRenderer* iface, int32_t mode) {
  RendererLock lock;
  FrameRenderer* renderer = impl_from_IFrameRenderer(iface);
  if (mode != kSequenceFrameByFrame && mode != kSequenceNormal) return E_FAIL;
  if (mode == renderer->sequenceMode) return S_OK;
  renderer->sequenceMode = mode;
  return renderer->control ? reloadAndReplay(renderer) : S_OK;
}

HRESULT STDMETHODCALLTYPE FrameRenderer_SetKeepAspect(IFrameRenderer* iface, int32_t flag) {
  RendererLock lock;
  FrameRenderer* renderer = impl_from_IFrameRenderer(iface);
  if (flag != renderer->keepAspect) {
    if (renderer->control) putScaleMode(renderer, flag ? 0 : 2);
    renderer->keepAspect = flag;
  }
  return S_OK;
}

int32_t STDMETHODCALLTYPE FrameRenderer_GetCurrentFrame(IFrameRenderer* iface) {
  return impl_from_IFrameRenderer(iface)->currentFrame;
}
int32_t STDMETHODCALLTYPE FrameRenderer_GetSequenceMode(IFrameRenderer* iface) {
  return impl_from_IFrameRenderer(iface)->sequenceMode;
}
int32_t STDMETHODCALLTYPE FrameRenderer_GetKeepAspect(IFrameRenderer* iface) {
  return impl_from_IFrameRenderer(iface)->keepAspect;
}

const IFrameRendererVtbl kFrameRendererVtbl = {
    FrameRenderer_QueryInterface,
    FrameRenderer_AddRef,
    FrameRenderer_Release,
    FrameRenderer_SetCacheOptions,
    FrameRenderer_OpenMovie,
    FrameRenderer_GetMovieInfo,
    FrameRenderer_SetFrameSize,
    FrameRenderer_SetSequenceMode,
    FrameRenderer_SetKeepAspect,
    FrameRenderer_RenderFrame,
    FrameRenderer_RenderFrameWithAlpha,
    FrameRenderer_GetCurrentFrame,
    FrameRenderer_GetSequenceMode,
    FrameRenderer_GetKeepAspect,
};

FrameRenderer* newRenderer() {
  FrameRenderer* renderer = new (std::nothrow) FrameRenderer();
  if (!renderer) return nullptr;
  renderer->IFrameRenderer_iface.lpVtbl = &kFrameRendererVtbl;
  renderer->info.cbSize = sizeof(MovieInfo);
  initHostServices(renderer);
  renderer->sequenceMode = kSequenceFrameByFrame;
  return renderer;
}

}  // namespace

HRESULT createFrameRenderer(IFrameRenderer** out) {
  if (!out) return E_POINTER;
  *out = nullptr;
  controlVersionText[0] = '\0';
  DWORD versionMS = 0, versionLS = 0;
  if (!findControlVersion(&versionMS, &versionLS)) return kRendererEControlMissing;
  if (isRefusedControlVersion(versionMS, versionLS)) return kRendererEControlVersion;
  std::snprintf(controlVersionText, sizeof controlVersionText, "%d.%d.%d.%d", int(versionMS >> 16),
                int(versionMS & 0xFFFF), int(versionLS >> 16), int(versionLS & 0xFFFF));
  FrameRenderer* renderer = newRenderer();
  if (!renderer) return kRendererEOutOfMemory;
  *out = &renderer->IFrameRenderer_iface;
  FrameRenderer_AddRef(*out);
  return S_OK;
}
