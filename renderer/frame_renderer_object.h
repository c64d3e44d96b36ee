// The renderer object behind IFrameRenderer (internal to the renderer): its
// state and the steps its operations share.
#pragma once

#include <windows.h>
#include <ocmm.h>

#include "frame_renderer.h"
#include "movie_cache.h"
#include "render_surface.h"
#include "shockwave_flash.h"
#include "timer_site.h"

struct FrameRenderer {
  IFrameRenderer IFrameRenderer_iface;
  IShockwaveFlash* control;  // owned reference
  RenderSurface opaqueSurface;
  RenderSurface alphaSurface;
  MovieInfo info;
  char sourcePath[kCachePathSize];
  char cachedPath[kCachePathSize];
  HWND hostWindow;
  HDC memoryDC;

  // Handed to the control's host: the site with its timer service, and the
  // timer, which only keeps the sink: the renderer ticks it once per frame step.
  TimerSite site;
  ITimer ITimer_iface;
  LONG timerRefCount;
  ITimerSink* timerSink;  // registered by the control, not counted

  int32_t width;
  int32_t height;
  int32_t currentFrame;  // frame steps given since the last load
  LONG refCount;
  int32_t sequenceMode;
  int32_t keepAspect;
};

inline FrameRenderer* impl_from_IFrameRenderer(IFrameRenderer* iface) {
  return CONTAINING_RECORD(iface, FrameRenderer, IFrameRenderer_iface);
}

// The site and the renderer's timer (renderer_timer.cpp).
void initHostServices(FrameRenderer* renderer);
IUnknown* siteObject(FrameRenderer* renderer);

// Control steps (renderer_control.cpp); the caller holds the renderer lock.
HRESULT createControl(FrameRenderer* renderer);
void releaseControl(FrameRenderer* renderer);
HRESULT loadIntoControl(FrameRenderer* renderer);
HRESULT advanceTo(FrameRenderer* renderer, int32_t frame);
HRESULT reloadAndReplay(FrameRenderer* renderer);
bool ensureCachedCopy(FrameRenderer* renderer);
HRESULT putWindowMode(FrameRenderer* renderer, const wchar_t* mode);
HRESULT putScaleMode(FrameRenderer* renderer, int mode);

// Render operations (frame_rendering.cpp).
HRESULT STDMETHODCALLTYPE FrameRenderer_RenderFrame(IFrameRenderer* iface, int32_t frame,
                                                    const BITMAPINFOHEADER** header, const BYTE** bits);
HRESULT STDMETHODCALLTYPE FrameRenderer_RenderFrameWithAlpha(IFrameRenderer* iface, int32_t frame,
                                                             const BITMAPINFOHEADER** header, const BYTE** bits);

// The module holding the renderer code (and the "AtlAxWin" class with it).
HINSTANCE rendererModule();
