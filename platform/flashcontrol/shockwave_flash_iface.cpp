// IShockwaveFlash: the control's properties and playback methods.
#include <algorithm>
#include <cmath>

#include "flash_control.h"
#include "load_completion.h"
#include "local_movie.h"
#include "not_implemented.h"

namespace {

// The SWF version the stand-in plays, as FlashVersion reports it (major << 16).
constexpr long kFlashVersion = 9 << 16;
// ReadyState values of the control.
constexpr long kReadyStateLoading = 0;
constexpr long kReadyStateComplete = 4;

inline FlashControl* impl_from_IShockwaveFlash(IShockwaveFlash* iface) {
  return CONTAINING_RECORD(iface, FlashControl, IShockwaveFlash_iface);
}

// The player, once the named movie is read.
swf::MoviePlayer& playerOf(IShockwaveFlash* iface) {
  FlashControl* control = impl_from_IShockwaveFlash(iface);
  loadNamedMovie(control);
  return *control->player;
}

// A use of the movie whose load failed reports that failure, after giving the
// values of a control without a movie.
HRESULT withLoadResult(IShockwaveFlash* iface, HRESULT hr) {
  HRESULT load = impl_from_IShockwaveFlash(iface)->loadResult;
  return FAILED(load) ? load : hr;
}

// "/" and "_level0" name the main timeline; other targets are not reachable.
bool isMainTimeline(BSTR target) {
  return target && (lstrcmpW(target, L"/") == 0 || lstrcmpiW(target, L"_level0") == 0);
}

HRESULT putLong(long* out, long value) {
  if (!out) return E_POINTER;
  *out = value;
  return S_OK;
}

HRESULT putBool(VARIANT_BOOL* out, bool value) {
  if (!out) return E_POINTER;
  *out = value ? VARIANT_TRUE : VARIANT_FALSE;
  return S_OK;
}

HRESULT putString(BSTR* out, const wchar_t* text) {
  if (!out) return E_POINTER;
  *out = SysAllocString(text);
  return *out ? S_OK : E_OUTOFMEMORY;
}

// The Scale property's names, by ScaleMode value.
const wchar_t* const kScaleNames[] = {L"ShowAll", L"NoBorder", L"ExactFit"};

HRESULT setScaleMode(FlashControl* control, int mode) {
  if (mode < 0 || mode >= int(ARRAYSIZE(kScaleNames))) return E_INVALIDARG;
  control->scaleMode = mode;
  requestRepaint(control);
  return S_OK;
}

// The setting takes effect at once, movie or not: the player keeps it.
HRESULT setQuality(FlashControl* control, const QualitySetting* setting) {
  if (!setting) return E_INVALIDARG;
  control->quality = setting;
  control->player->setQuality(setting->drawn);
  requestRepaint(control);
  return S_OK;
}

// Moves the main timeline and shows the result.
HRESULT gotoMainFrame(FlashControl* control, long frame) {
  HRESULT load = loadNamedMovie(control);
  HRESULT hr = guarded([&] {
    control->player->gotoFrame(frame);
    return S_OK;
  });
  requestRepaint(control);
  return FAILED(load) ? load : hr;
}

// The interval of the player's clock for a frame rate (12 frames a second
// for a rate of 0), as the player steps its movie.
int frameIntervalFor(double framesPerSecond) {
  double rate = framesPerSecond > 0 ? framesPerSecond : 12;
  return std::max(1, int(std::floor(1000 / rate + 0.5)));
}

// Names the movie to show; a file that is missing, unreadable or no movie is
// refused at once and the current movie stays.
HRESULT nameMovie(FlashControl* control, BSTR path) {
  if (!path || !*path) return E_INVALIDARG;
  swf::MovieFile header;
  HRESULT hr = guarded([&] { return readLocalMovieHeader(path, &header); });
  if (FAILED(hr)) return hr;
  BSTR copy = SysAllocString(path);
  if (!copy) return E_OUTOFMEMORY;
  SysFreeString(control->moviePath);
  control->moviePath = copy;
  control->loadPending = true;
  control->loadResult = S_OK;
  control->frameIntervalMs = frameIntervalFor(header.frameRate);
  silenceMovie(control);
  adviseHostClock(control);
  scheduleLoadCompletion(control);
  requestRepaint(control);
  return S_OK;
}

HRESULT STDMETHODCALLTYPE Flash_QueryInterface(IShockwaveFlash* iface, REFIID iid, void** object) {
  return flashQueryInterface(impl_from_IShockwaveFlash(iface), iid, object);
}
ULONG STDMETHODCALLTYPE Flash_AddRef(IShockwaveFlash* iface) { return flashAddRef(impl_from_IShockwaveFlash(iface)); }
ULONG STDMETHODCALLTYPE Flash_Release(IShockwaveFlash* iface) { return flashRelease(impl_from_IShockwaveFlash(iface)); }

// No type information: the control is called through its vtable only.
HRESULT STDMETHODCALLTYPE Flash_GetTypeInfoCount(IShockwaveFlash*, UINT* count) {
  if (!count) return E_POINTER;
  *count = 0;
  return S_OK;
}
HRESULT STDMETHODCALLTYPE Flash_GetTypeInfo(IShockwaveFlash*, UINT, LCID, ITypeInfo** info) {
  if (info) *info = nullptr;
  return notImplemented(__func__);
}
HRESULT STDMETHODCALLTYPE Flash_GetIDsOfNames(IShockwaveFlash*, REFIID, LPOLESTR*, UINT, LCID, DISPID*) {
  return notImplemented(__func__);
}
HRESULT STDMETHODCALLTYPE Flash_Invoke(IShockwaveFlash*, DISPID, REFIID, LCID, WORD, DISPPARAMS*, VARIANT*, EXCEPINFO*,
                                       UINT*) {
  return notImplemented(__func__);
}

HRESULT STDMETHODCALLTYPE Flash_get_ReadyState(IShockwaveFlash* iface, long* state) {
  return putLong(state, playerOf(iface).loaded() ? kReadyStateComplete : kReadyStateLoading);
}
HRESULT STDMETHODCALLTYPE Flash_get_TotalFrames(IShockwaveFlash* iface, long* frames) {
  return withLoadResult(iface, putLong(frames, playerOf(iface).frameCount()));
}
HRESULT STDMETHODCALLTYPE Flash_get_Playing(IShockwaveFlash* iface, VARIANT_BOOL* playing) {
  return withLoadResult(iface, putBool(playing, playerOf(iface).playing()));
}
HRESULT STDMETHODCALLTYPE Flash_put_Playing(IShockwaveFlash* iface, VARIANT_BOOL playing) {
  swf::MoviePlayer& player = playerOf(iface);
  if (playing)
    player.play();
  else
    player.stop();
  return withLoadResult(iface, S_OK);
}
HRESULT STDMETHODCALLTYPE Flash_get_Quality(IShockwaveFlash* iface, int* quality) {
  if (!quality) return E_POINTER;
  *quality = impl_from_IShockwaveFlash(iface)->quality->number;
  return S_OK;
}
HRESULT STDMETHODCALLTYPE Flash_put_Quality(IShockwaveFlash* iface, int quality) {
  return setQuality(impl_from_IShockwaveFlash(iface), qualityNumbered(quality));
}

HRESULT STDMETHODCALLTYPE Flash_get_ScaleMode(IShockwaveFlash* iface, int* mode) {
  if (!mode) return E_POINTER;
  *mode = impl_from_IShockwaveFlash(iface)->scaleMode;
  return S_OK;
}
// 0 (show all), 1 (no border) and 2 (exact fit) are drawn; no scale (3) is not.
HRESULT STDMETHODCALLTYPE Flash_put_ScaleMode(IShockwaveFlash* iface, int mode) {
  return setScaleMode(impl_from_IShockwaveFlash(iface), mode);
}

HRESULT STDMETHODCALLTYPE Flash_get_AlignMode(IShockwaveFlash*, int*) { return notImplemented(__func__); }
HRESULT STDMETHODCALLTYPE Flash_put_AlignMode(IShockwaveFlash*, int) { return notImplemented(__func__); }
HRESULT STDMETHODCALLTYPE Flash_get_BackgroundColor(IShockwaveFlash*, long*) { return notImplemented(__func__); }
HRESULT STDMETHODCALLTYPE Flash_put_BackgroundColor(IShockwaveFlash*, long) { return notImplemented(__func__); }

// A setting of the player that carries over to the next movie: no load needed.
HRESULT STDMETHODCALLTYPE Flash_get_Loop(IShockwaveFlash* iface, VARIANT_BOOL* loop) {
  return putBool(loop, impl_from_IShockwaveFlash(iface)->player->loop());
}
HRESULT STDMETHODCALLTYPE Flash_put_Loop(IShockwaveFlash* iface, VARIANT_BOOL loop) {
  impl_from_IShockwaveFlash(iface)->player->setLoop(loop != VARIANT_FALSE);
  return S_OK;
}

HRESULT STDMETHODCALLTYPE Flash_get_Movie(IShockwaveFlash* iface, BSTR* path) {
  BSTR current = impl_from_IShockwaveFlash(iface)->moviePath;
  return putString(path, current ? current : L"");
}
HRESULT STDMETHODCALLTYPE Flash_put_Movie(IShockwaveFlash* iface, BSTR path) {
  return nameMovie(impl_from_IShockwaveFlash(iface), path);
}

HRESULT STDMETHODCALLTYPE Flash_get_FrameNum(IShockwaveFlash* iface, long* frame) {
  return withLoadResult(iface, putLong(frame, playerOf(iface).currentFrame()));
}
HRESULT STDMETHODCALLTYPE Flash_put_FrameNum(IShockwaveFlash* iface, long frame) {
  return gotoMainFrame(impl_from_IShockwaveFlash(iface), frame);
}

HRESULT STDMETHODCALLTYPE Flash_SetZoomRect(IShockwaveFlash*, long, long, long, long) {
  return notImplemented(__func__);
}
HRESULT STDMETHODCALLTYPE Flash_Zoom(IShockwaveFlash*, int) { return notImplemented(__func__); }
HRESULT STDMETHODCALLTYPE Flash_Pan(IShockwaveFlash*, long, long, int) { return notImplemented(__func__); }

// A movie plays once loaded, so one that is not read yet needs nothing.
HRESULT STDMETHODCALLTYPE Flash_Play(IShockwaveFlash* iface) {
  if (!impl_from_IShockwaveFlash(iface)->loadPending) playerOf(iface).play();
  return withLoadResult(iface, S_OK);
}
HRESULT STDMETHODCALLTYPE Flash_Stop(IShockwaveFlash* iface) {
  playerOf(iface).stop();
  silenceMovie(impl_from_IShockwaveFlash(iface));
  return withLoadResult(iface, S_OK);
}
HRESULT STDMETHODCALLTYPE Flash_Back(IShockwaveFlash* iface) {
  swf::MoviePlayer& player = playerOf(iface);
  if (player.currentFrame() == 0) return withLoadResult(iface, S_OK);
  return gotoMainFrame(impl_from_IShockwaveFlash(iface), player.currentFrame() - 1);
}
HRESULT STDMETHODCALLTYPE Flash_Forward(IShockwaveFlash* iface) {
  return gotoMainFrame(impl_from_IShockwaveFlash(iface), playerOf(iface).currentFrame() + 1);
}
HRESULT STDMETHODCALLTYPE Flash_Rewind(IShockwaveFlash* iface) {
  FlashControl* control = impl_from_IShockwaveFlash(iface);
  HRESULT hr = gotoMainFrame(control, 0);
  silenceMovie(control);
  return hr;
}
HRESULT STDMETHODCALLTYPE Flash_StopPlay(IShockwaveFlash* iface) { return Flash_Stop(iface); }
HRESULT STDMETHODCALLTYPE Flash_GotoFrame(IShockwaveFlash* iface, long frame) {
  return gotoMainFrame(impl_from_IShockwaveFlash(iface), frame);
}
HRESULT STDMETHODCALLTYPE Flash_CurrentFrame(IShockwaveFlash* iface, long* frame) {
  return withLoadResult(iface, putLong(frame, playerOf(iface).currentFrame()));
}
HRESULT STDMETHODCALLTYPE Flash_IsPlaying(IShockwaveFlash* iface, VARIANT_BOOL* playing) {
  return withLoadResult(iface, putBool(playing, playerOf(iface).playing()));
}
// A movie is read whole at its first use, so it is loaded completely or not at
// all; one whose reading failed stays at 0.
HRESULT STDMETHODCALLTYPE Flash_PercentLoaded(IShockwaveFlash* iface, long* percent) {
  return putLong(percent, playerOf(iface).loaded() ? 100 : 0);
}
HRESULT STDMETHODCALLTYPE Flash_FrameLoaded(IShockwaveFlash* iface, long frame, VARIANT_BOOL* loaded) {
  return withLoadResult(iface, putBool(loaded, frame >= 0 && frame < playerOf(iface).frameCount()));
}
HRESULT STDMETHODCALLTYPE Flash_FlashVersion(IShockwaveFlash*, long* version) {
  return putLong(version, kFlashVersion);
}

HRESULT STDMETHODCALLTYPE Flash_get_WMode(IShockwaveFlash* iface, BSTR* mode) {
  switch (impl_from_IShockwaveFlash(iface)->windowMode) {
    case WindowMode::Opaque: return putString(mode, L"Opaque");
    case WindowMode::Transparent: return putString(mode, L"Transparent");
    default: return putString(mode, L"Window");
  }
}
HRESULT STDMETHODCALLTYPE Flash_put_WMode(IShockwaveFlash* iface, BSTR mode) {
  FlashControl* control = impl_from_IShockwaveFlash(iface);
  if (!mode) return E_INVALIDARG;
  if (lstrcmpiW(mode, L"Transparent") == 0)
    control->windowMode = WindowMode::Transparent;
  else if (lstrcmpiW(mode, L"Opaque") == 0)
    control->windowMode = WindowMode::Opaque;
  else if (lstrcmpiW(mode, L"Window") == 0)
    control->windowMode = WindowMode::Window;
  else
    return E_INVALIDARG;
  requestRepaint(control);
  return S_OK;
}

HRESULT STDMETHODCALLTYPE Flash_get_SAlign(IShockwaveFlash*, BSTR*) { return notImplemented(__func__); }
HRESULT STDMETHODCALLTYPE Flash_put_SAlign(IShockwaveFlash*, BSTR) { return notImplemented(__func__); }
HRESULT STDMETHODCALLTYPE Flash_get_Menu(IShockwaveFlash*, VARIANT_BOOL*) { return notImplemented(__func__); }
HRESULT STDMETHODCALLTYPE Flash_put_Menu(IShockwaveFlash*, VARIANT_BOOL) { return notImplemented(__func__); }
// Read when the movie is: a base given after that serves the next one.
HRESULT STDMETHODCALLTYPE Flash_get_Base(IShockwaveFlash* iface, BSTR* base) {
  BSTR current = impl_from_IShockwaveFlash(iface)->base;
  return putString(base, current ? current : L"");
}
HRESULT STDMETHODCALLTYPE Flash_put_Base(IShockwaveFlash* iface, BSTR base) {
  FlashControl* control = impl_from_IShockwaveFlash(iface);
  BSTR copy = nullptr;
  if (base && *base && !(copy = SysAllocString(base))) return E_OUTOFMEMORY;
  SysFreeString(control->base);
  control->base = copy;
  return S_OK;
}
HRESULT STDMETHODCALLTYPE Flash_get_Scale(IShockwaveFlash* iface, BSTR* scale) {
  return putString(scale, kScaleNames[impl_from_IShockwaveFlash(iface)->scaleMode]);
}
HRESULT STDMETHODCALLTYPE Flash_put_Scale(IShockwaveFlash* iface, BSTR scale) {
  for (int mode = 0; scale && mode < int(ARRAYSIZE(kScaleNames)); ++mode) {
    if (lstrcmpiW(scale, kScaleNames[mode]) == 0) return setScaleMode(impl_from_IShockwaveFlash(iface), mode);
  }
  return E_INVALIDARG;
}
HRESULT STDMETHODCALLTYPE Flash_get_DeviceFont(IShockwaveFlash*, VARIANT_BOOL*) { return notImplemented(__func__); }
HRESULT STDMETHODCALLTYPE Flash_put_DeviceFont(IShockwaveFlash*, VARIANT_BOOL) { return notImplemented(__func__); }
HRESULT STDMETHODCALLTYPE Flash_get_EmbedMovie(IShockwaveFlash*, VARIANT_BOOL*) { return notImplemented(__func__); }
HRESULT STDMETHODCALLTYPE Flash_put_EmbedMovie(IShockwaveFlash*, VARIANT_BOOL) { return notImplemented(__func__); }
HRESULT STDMETHODCALLTYPE Flash_get_BGColor(IShockwaveFlash*, BSTR*) { return notImplemented(__func__); }
HRESULT STDMETHODCALLTYPE Flash_put_BGColor(IShockwaveFlash*, BSTR) { return notImplemented(__func__); }
HRESULT STDMETHODCALLTYPE Flash_get_Quality2(IShockwaveFlash* iface, BSTR* quality) {
  return putString(quality, impl_from_IShockwaveFlash(iface)->quality->name);
}
HRESULT STDMETHODCALLTYPE Flash_put_Quality2(IShockwaveFlash* iface, BSTR quality) {
  return setQuality(impl_from_IShockwaveFlash(iface), qualityNamed(quality));
}
HRESULT STDMETHODCALLTYPE Flash_LoadMovie(IShockwaveFlash*, int, BSTR) { return notImplemented(__func__); }

HRESULT STDMETHODCALLTYPE Flash_TGotoFrame(IShockwaveFlash* iface, BSTR target, long frame) {
  if (!isMainTimeline(target)) return notImplemented(__func__);
  return gotoMainFrame(impl_from_IShockwaveFlash(iface), frame);
}
HRESULT STDMETHODCALLTYPE Flash_TGotoLabel(IShockwaveFlash*, BSTR, BSTR) { return notImplemented(__func__); }
HRESULT STDMETHODCALLTYPE Flash_TCurrentFrame(IShockwaveFlash* iface, BSTR target, long* frame) {
  if (!isMainTimeline(target)) return notImplemented(__func__);
  return withLoadResult(iface, putLong(frame, playerOf(iface).currentFrame()));
}

}  // namespace

const IShockwaveFlashVtbl kShockwaveFlashVtbl = {
    Flash_QueryInterface,
    Flash_AddRef,
    Flash_Release,
    Flash_GetTypeInfoCount,
    Flash_GetTypeInfo,
    Flash_GetIDsOfNames,
    Flash_Invoke,
    Flash_get_ReadyState,
    Flash_get_TotalFrames,
    Flash_get_Playing,
    Flash_put_Playing,
    Flash_get_Quality,
    Flash_put_Quality,
    Flash_get_ScaleMode,
    Flash_put_ScaleMode,
    Flash_get_AlignMode,
    Flash_put_AlignMode,
    Flash_get_BackgroundColor,
    Flash_put_BackgroundColor,
    Flash_get_Loop,
    Flash_put_Loop,
    Flash_get_Movie,
    Flash_put_Movie,
    Flash_get_FrameNum,
    Flash_put_FrameNum,
    Flash_SetZoomRect,
    Flash_Zoom,
    Flash_Pan,
    Flash_Play,
    Flash_Stop,
    Flash_Back,
    Flash_Forward,
    Flash_Rewind,
    Flash_StopPlay,
    Flash_GotoFrame,
    Flash_CurrentFrame,
    Flash_IsPlaying,
    Flash_PercentLoaded,
    Flash_FrameLoaded,
    Flash_FlashVersion,
    Flash_get_WMode,
    Flash_put_WMode,
    Flash_get_SAlign,
    Flash_put_SAlign,
    Flash_get_Menu,
    Flash_put_Menu,
    Flash_get_Base,
    Flash_put_Base,
    Flash_get_Scale,
    Flash_put_Scale,
    Flash_get_DeviceFont,
    Flash_put_DeviceFont,
    Flash_get_EmbedMovie,
    Flash_put_EmbedMovie,
    Flash_get_BGColor,
    Flash_put_BGColor,
    Flash_get_Quality2,
    Flash_put_Quality2,
    Flash_LoadMovie,
    Flash_TGotoFrame,
    Flash_TGotoLabel,
    Flash_TCurrentFrame,
};
