// The stand-in Flash Player control (internal): one COM object per control,
// a windowless ActiveX control over the portable SWF player. Each interface
// has its own file; this header is what they share.
#pragma once

#include <windows.h>
#include <ocidl.h>
#include <ole2.h>

#include <memory>
#include <new>

#include "acm_mp3_decoder.h"
#include "frame_painter.h"
#include "movie_player.h"
#include "quality_setting.h"
#include "shockwave_flash.h"
#include "ticked_sound_output.h"

// How the control paints: "Window" and "Opaque" fill the background first,
// "Transparent" leaves what the host drew under the movie.
enum class WindowMode { Window, Opaque, Transparent };

struct FlashControl {
  IShockwaveFlash IShockwaveFlash_iface;
  IOleObject IOleObject_iface;
  IOleInPlaceObjectWindowless IOleInPlaceObjectWindowless_iface;
  IViewObjectEx IViewObjectEx_iface;
  IOleControl IOleControl_iface;
  IPersistStreamInit IPersistStreamInit_iface;
  ITimerSink ITimerSink_iface;
  LONG ref;

  std::unique_ptr<AcmMp3DecoderFactory> mp3;  // outlives the player
  std::unique_ptr<swf::MoviePlayer> player;
  std::unique_ptr<TickedSoundOutput> sound;  // plays the player's mixer; goes first
  // put_Movie only names the movie, after a look at its header, as the real
  // control only starts a load there; the file is read and parsed at the
  // movie's first use, so a movie named again before that is never read.
  BSTR moviePath;       // the movie last named
  bool loadPending;     // moviePath is not read yet
  HWND loadWindow;      // receives the pending load's completion; made on first use
  HRESULT loadResult;   // of reading it; after a failure the control has no movie
  int frameIntervalMs;  // the named movie's, from its header
  BSTR base;            // where the movie's scripts load files from; none: the movie's folder
  int scaleMode;        // a swf::ScaleMode value
  const QualitySetting* quality;
  WindowMode windowMode;
  FramePainter painter;

  IOleClientSite* clientSite;
  IOleInPlaceSiteWindowless* inPlaceSite;  // set while active in place
  RECT position;                           // the in-place rectangle
  SIZEL extent;                            // HIMETRIC, as set by the container

  ITimer* timer;  // the host's clock, advised while not null
  DWORD timerCookie;
};

extern const IShockwaveFlashVtbl kShockwaveFlashVtbl;
extern const IOleObjectVtbl kOleObjectVtbl;
extern const IOleInPlaceObjectWindowlessVtbl kInPlaceObjectVtbl;
extern const IViewObjectExVtbl kViewObjectVtbl;
extern const IOleControlVtbl kOleControlVtbl;
extern const IPersistStreamInitVtbl kPersistStreamInitVtbl;
extern const ITimerSinkVtbl kTimerSinkVtbl;

// Reads and parses the named movie when it is not read yet; the load's result.
// Everything that needs the movie calls it first.
HRESULT loadNamedMovie(FlashControl* control);

// A new control with one reference, or null when memory is short.
FlashControl* createFlashControl();
HRESULT flashQueryInterface(FlashControl* control, REFIID iid, void** object);
ULONG flashAddRef(FlashControl* control);
ULONG flashRelease(FlashControl* control);
// Live controls in the process, for DllCanUnloadNow.
LONG flashControlCount();

// Asks the site for the host's clock and advises it with the movie's frame
// interval, dropping any earlier advise.
void adviseHostClock(FlashControl* control);
void unadviseHostClock(FlashControl* control);

// Windowless in-place activation through the site's IOleInPlaceSiteWindowless.
HRESULT activateInPlace(FlashControl* control, IOleClientSite* site);
void deactivateInPlace(FlashControl* control);
// Stop, Rewind and a new movie: the movie's sound ends at once.
void silenceMovie(FlashControl* control);

// Asks the in-place site to repaint the control's rectangle.
void requestRepaint(FlashControl* control);

// The control's size in HIMETRIC: as set by the container, else the stage's.
SIZEL controlExtent(FlashControl* control);

// Runs f, turning an exception of the player into an HRESULT: nothing may
// leave a COM method that way.
template <typename F>
HRESULT guarded(F&& f) {
  try {
    return f();
  } catch (const std::bad_alloc&) {
    return E_OUTOFMEMORY;
  } catch (...) {
    return E_FAIL;
  }
}
