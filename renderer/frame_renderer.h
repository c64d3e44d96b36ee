// The off-screen frame renderer: one hidden instance of the Flash Player
// control per renderer, driven frame by frame on the renderer's own clock and
// drawn into memory bitmaps, opaque (24 bits) or with an alpha channel worked
// out from a white and a black pass (32 bits).
//
// All renderers of the process share one re-entrant lock and one movie cache
// (movie_cache.h). rendererLoad must have succeeded before the first renderer
// is made, on the thread that will use the renderers.
#pragma once

#include <windows.h>

#include <cstdint>

#include "renderer_status.h"

// SequenceMode values the renderer accepts.
constexpr int32_t kSequenceFrameByFrame = 1;
constexpr int32_t kSequenceNormal = 2;

#pragma pack(push, 1)
// Copied out as one 64-byte block.
struct MovieInfo {
  uint32_t cbSize;  // 64
  int32_t version;
  int32_t compressed;  // 1: this renderer built its copy from a CWS movie
  double width;        // stage size in pixels, unrounded
  double height;
  int32_t frameCount;
  double frameRate;
  uint32_t backgroundColor;  // 0x00BBGGRR
  char controlVersion[20];
};
#pragma pack(pop)
static_assert(sizeof(MovieInfo) == 64, "MovieInfo is a 64-byte block");

typedef struct IFrameRenderer IFrameRenderer;

// Slot order is fixed: callers reach the operations by position. Its method
// names are written as COM interfaces write theirs.
// NOLINTBEGIN(readability-identifier-naming)
typedef struct IFrameRendererVtbl {
  HRESULT(STDMETHODCALLTYPE* QueryInterface)(IFrameRenderer* This, REFIID iid, void** object);
  ULONG(STDMETHODCALLTYPE* AddRef)(IFrameRenderer* This);
  ULONG(STDMETHODCALLTYPE* Release)(IFrameRenderer* This);
  // directory null or empty: the system's temporary folder.
  HRESULT(STDMETHODCALLTYPE* SetCacheOptions)
  (IFrameRenderer* This, const wchar_t* directory, uint32_t keepCount);
  HRESULT(STDMETHODCALLTYPE* OpenMovie)(IFrameRenderer* This, const wchar_t* path);
  HRESULT(STDMETHODCALLTYPE* GetMovieInfo)(IFrameRenderer* This, MovieInfo* info);
  HRESULT(STDMETHODCALLTYPE* SetFrameSize)(IFrameRenderer* This, int32_t width, int32_t height);
  HRESULT(STDMETHODCALLTYPE* SetSequenceMode)(IFrameRenderer* This, int32_t mode);
  HRESULT(STDMETHODCALLTYPE* SetKeepAspect)(IFrameRenderer* This, int32_t flag);
  // The header and pixels stay the renderer's: valid until the surface is made
  // anew at another size or the renderer goes away.
  HRESULT(STDMETHODCALLTYPE* RenderFrame)
  (IFrameRenderer* This, int32_t frame, const BITMAPINFOHEADER** header, const BYTE** bits);
  HRESULT(STDMETHODCALLTYPE* RenderFrameWithAlpha)
  (IFrameRenderer* This, int32_t frame, const BITMAPINFOHEADER** header, const BYTE** bits);
  int32_t(STDMETHODCALLTYPE* GetCurrentFrame)(IFrameRenderer* This);
  int32_t(STDMETHODCALLTYPE* GetSequenceMode)(IFrameRenderer* This);
  int32_t(STDMETHODCALLTYPE* GetKeepAspect)(IFrameRenderer* This);
} IFrameRendererVtbl;
// NOLINTEND(readability-identifier-naming)

struct IFrameRenderer {
  const IFrameRendererVtbl* lpVtbl;
};

// A new renderer with one reference. kRendererEControlMissing or
// kRendererEControlVersion when the control is unusable.
HRESULT createFrameRenderer(IFrameRenderer** renderer);

// Load steps of the renderer subsystem: COM, the "AtlAxWin" class, the
// renderer lock, the movie cache in the temporary folder with 30 kept copies.
// False when COM or the window class cannot be set up.
bool rendererLoad();
// Unload steps: the cache is cleared (its copies deleted) and the rest undone.
void rendererUnload();
