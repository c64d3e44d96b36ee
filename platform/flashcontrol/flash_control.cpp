#include "flash_control.h"

#include <new>
#include <vector>

#include "load_completion.h"
#include "local_movie.h"

namespace {

LONG liveControls = 0;

// The size a control shows before any movie is loaded, in pixels.
constexpr int kEmptyStageWidth = 550;
constexpr int kEmptyStageHeight = 400;

void destroyFlashControl(FlashControl* control) {
  deactivateInPlace(control);
  unadviseHostClock(control);
  if (control->clientSite) control->clientSite->lpVtbl->Release(control->clientSite);
  SysFreeString(control->moviePath);
  SysFreeString(control->base);
  const bool last = InterlockedDecrement(&liveControls) == 0;
  endLoadCompletion(control, last);
  delete control;
}

// A failed load leaves no movie: a fresh player, whose loop and quality
// settings carry on.
void dropMovie(FlashControl* control) {
  guarded([control] {
    auto player = std::make_unique<swf::MoviePlayer>(control->mp3.get());
    player->setLoop(control->player->loop());
    player->setQuality(control->player->quality());
    auto sound = std::make_unique<TickedSoundOutput>(player->mixer());
    control->sound = std::move(sound);
    control->player = std::move(player);
    return S_OK;
  });
}

HRESULT readNamedMovie(FlashControl* control) {
  return guarded([control] {
    std::vector<uint8_t> bytes;
    HRESULT hr = readLocalMovie(control->moviePath, &bytes);
    if (FAILED(hr)) return hr;
    if (!control->player->load(bytes, localMovieFiles(control->base, control->moviePath))) return E_FAIL;
    control->sound->startMovie(control->player->frameRate());
    return S_OK;
  });
}

}  // namespace

HRESULT loadNamedMovie(FlashControl* control) {
  if (!control->loadPending) return control->loadResult;
  control->loadPending = false;
  control->loadResult = readNamedMovie(control);
  if (FAILED(control->loadResult)) dropMovie(control);
  return control->loadResult;
}

FlashControl* createFlashControl() {
  FlashControl* control = new (std::nothrow) FlashControl();
  if (!control) return nullptr;
  HRESULT hr = guarded([control] {
    control->mp3 = std::make_unique<AcmMp3DecoderFactory>();
    control->player = std::make_unique<swf::MoviePlayer>(control->mp3.get());
    control->sound = std::make_unique<TickedSoundOutput>(control->player->mixer());
    return S_OK;
  });
  if (FAILED(hr)) {
    delete control;
    return nullptr;
  }
  control->IShockwaveFlash_iface.lpVtbl = &kShockwaveFlashVtbl;
  control->IOleObject_iface.lpVtbl = &kOleObjectVtbl;
  control->IOleInPlaceObjectWindowless_iface.lpVtbl = &kInPlaceObjectVtbl;
  control->IViewObjectEx_iface.lpVtbl = &kViewObjectVtbl;
  control->IOleControl_iface.lpVtbl = &kOleControlVtbl;
  control->IPersistStreamInit_iface.lpVtbl = &kPersistStreamInitVtbl;
  control->ITimerSink_iface.lpVtbl = &kTimerSinkVtbl;
  control->ref = 1;
  control->scaleMode = 0;
  control->quality = defaultQuality();
  control->windowMode = WindowMode::Window;
  control->loadResult = S_OK;
  InterlockedIncrement(&liveControls);
  return control;
}

HRESULT flashQueryInterface(FlashControl* control, REFIID iid, void** object) {
  if (!object) return E_POINTER;
  if (IsEqualIID(iid, IID_IUnknown) || IsEqualIID(iid, IID_IDispatch) || IsEqualIID(iid, IID_IShockwaveFlash))
    *object = &control->IShockwaveFlash_iface;
  else if (IsEqualIID(iid, IID_IOleObject))
    *object = &control->IOleObject_iface;
  else if (IsEqualIID(iid, IID_IOleWindow) || IsEqualIID(iid, IID_IOleInPlaceObject) ||
           IsEqualIID(iid, IID_IOleInPlaceObjectWindowless))
    *object = &control->IOleInPlaceObjectWindowless_iface;
  else if (IsEqualIID(iid, IID_IViewObject) || IsEqualIID(iid, IID_IViewObject2) || IsEqualIID(iid, IID_IViewObjectEx))
    *object = &control->IViewObjectEx_iface;
  else if (IsEqualIID(iid, IID_IOleControl))
    *object = &control->IOleControl_iface;
  else if (IsEqualIID(iid, IID_IPersist) || IsEqualIID(iid, IID_IPersistStreamInit))
    *object = &control->IPersistStreamInit_iface;
  else if (IsEqualIID(iid, IID_ITimerSink))
    *object = &control->ITimerSink_iface;
  else {
    *object = nullptr;
    return E_NOINTERFACE;
  }
  flashAddRef(control);
  return S_OK;
}

ULONG flashAddRef(FlashControl* control) { return InterlockedIncrement(&control->ref); }

ULONG flashRelease(FlashControl* control) {
  LONG ref = InterlockedDecrement(&control->ref);
  if (ref == 0) destroyFlashControl(control);
  return ref;
}

LONG flashControlCount() { return liveControls; }

void silenceMovie(FlashControl* control) {
  control->player->silence();
  control->sound->silence();
}

void requestRepaint(FlashControl* control) {
  IOleInPlaceSiteWindowless* site = control->inPlaceSite;
  if (site) site->lpVtbl->InvalidateRect(site, &control->position, control->windowMode == WindowMode::Transparent);
}

SIZEL controlExtent(FlashControl* control) {
  if (control->extent.cx > 0 && control->extent.cy > 0) return control->extent;
  loadNamedMovie(control);
  // Stage pixels at 96 per inch, 2540 HIMETRIC units per inch.
  const swf::MoviePlayer& player = *control->player;
  int width = player.loaded() ? player.stageWidthPixels() : kEmptyStageWidth;
  int height = player.loaded() ? player.stageHeightPixels() : kEmptyStageHeight;
  SIZEL size = {MulDiv(width, 2540, 96), MulDiv(height, 2540, 96)};
  return size;
}
