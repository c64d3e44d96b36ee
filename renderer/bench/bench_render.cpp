// bench-render (Windows, under Wine, with the registered control):
// - ratio: frames per second of RenderFrameWithAlpha walking forward through
//   300 frames of a 720 x 480 movie, against the same control drawing the same
//   frames twice into DIB sections (over white and over black) in one walk,
//   stepped and ticked the same way (goal >= 0.8: the matte costs little);
// - backward: rendering frame 298 after 299 (a reload and 298 ticks) against
//   one forward step;
// - reopen: the second OpenMovie of a cached 20 MB compressed movie against the
//   first, which builds the copy (goal < 5 %); with the first render after the
//   second opening, where the control reads the copy, and what the control's
//   side of every opening costs on its own: naming the source, then the copy,
//   and reading the copy at its first use; and the floor the system sets
//   under any second opening: creating the hidden host window (a top-level
//   window to the system) and reading the source's stamp, against the first.
#include <windows.h>
#include <ocidl.h>

#include <algorithm>
#include <chrono>
#include <cstdio>
#include <string>

#include "atl_containment.h"
#include "bench_measure.h"
#include "frame_renderer.h"
#include "host_services.h"
#include "movie_cache.h"
#include "renderer_lock.h"
#include "shockwave_flash.h"
#include "swf_builder.h"
#include "test_files.h"

using namespace mvqtest;

namespace {

constexpr int kFrames = 300, kWidth = 720, kHeight = 480;

double now() { return std::chrono::duration<double>(std::chrono::steady_clock::now().time_since_epoch()).count(); }

std::wstring widen(const std::string& text) { return std::wstring(text.begin(), text.end()); }

// Twelve rectangles, some half transparent, moving every frame.
Bytes walkingMovie() {
  SwfBuilder b;
  b.stage(Rect::pixels(kWidth, kHeight)).frameRate(30).background(20, 40, 60);
  for (uint16_t id = 1; id <= 12; ++id) {
    b.defineRectShape(id, Rect::twips(0, 0, 1200 + 100 * id, 900),
                      Rgba{uint8_t(20 * id), uint8_t(255 - 15 * id), 90, uint8_t(id % 3 ? 255 : 128)});
    b.placeObject2(id, id, Matrix::translate(400 * id, 600 * (id % 6)));
  }
  b.showFrame();
  for (int f = 1; f < kFrames; ++f) {
    for (uint16_t id = 1; id <= 12; ++id)
      b.moveObject2(id, Matrix::translate((400 * id + 37 * f * id) % 12000, (600 * (id % 6) + 23 * f) % 8000));
    b.showFrame();
  }
  return b.finish();
}

// About 20 MB that does not compress, in a tag the player skips.
Bytes bulkyCompressedMovie() {
  SwfBuilder b;
  b.stage(Rect::pixels(320, 240)).background(255, 255, 255);
  b.defineRectShape(1, Rect::twips(0, 0, 2000, 2000), Rgba{255, 0, 0});
  b.placeObject2(1, 1);
  uint32_t state = 2463534242u;
  for (int block = 0; block < 20; ++block) {
    Bytes noise(1 << 20);
    for (uint8_t& byte : noise) {
      state ^= state << 13, state ^= state >> 17, state ^= state << 5;
      byte = uint8_t(state);
    }
    b.tag(700, noise, true);
    b.showFrame();
  }
  return b.finish(Compression::Zlib, 1);
}

struct Dib {
  HBITMAP bitmap = nullptr;
  void* bits = nullptr;
  Dib(int bitCount) {
    BITMAPINFO info = {};
    info.bmiHeader.biSize = sizeof info.bmiHeader;
    info.bmiHeader.biWidth = kWidth;
    info.bmiHeader.biHeight = kHeight;
    info.bmiHeader.biPlanes = 1;
    info.bmiHeader.biBitCount = WORD(bitCount);
    bitmap = CreateDIBSection(nullptr, &info, DIB_RGB_COLORS, &bits, nullptr, 0);
  }
  ~Dib() { DeleteObject(bitmap); }
};

// The control on its own: what a render needs at the least.
double plainDrawsSeconds(const std::string& movie) {
  IUnknown* unknown = nullptr;
  if (FAILED(CoCreateInstance(CLSID_ShockwaveFlash, nullptr, 23, IID_IUnknown, (void**)&unknown))) return -1;
  IShockwaveFlash* flash = nullptr;
  unknown->QueryInterface(IID_IShockwaveFlash, (void**)&flash);
  HWND window = CreateWindowExA(0, "AtlAxWin", nullptr, WS_CHILD, 0, 0, 0, 0, GetDesktopWindow(), nullptr,
                                GetModuleHandleA(nullptr), nullptr);
  AtlAxAttachControl(unknown, window, nullptr);
  TimerServiceProvider services;
  IUnknown* host = nullptr;
  AtlAxGetHost(window, &host);
  IObjectWithSite* withSite = nullptr;
  host->QueryInterface(IID_IObjectWithSite, (void**)&withSite);
  withSite->SetSite(&services);
  BSTR path = SysAllocString(widen(movie).c_str());
  flash->put_Movie(path);
  SysFreeString(path);
  IOleInPlaceObject* inPlace = nullptr;
  flash->QueryInterface(IID_IOleInPlaceObject, (void**)&inPlace);
  const RECT rect = {0, 0, kWidth, kHeight};
  inPlace->SetObjectRects(&rect, &rect);
  IViewObjectEx* view = nullptr;
  flash->QueryInterface(IID_IViewObjectEx, (void**)&view);
  BSTR transparent = SysAllocString(L"Transparent");
  flash->put_WMode(transparent);
  SysFreeString(transparent);
  HDC dc = CreateCompatibleDC(nullptr);
  Dib white(24), black(32);
  HBRUSH whiteBrush = CreateSolidBrush(RGB(255, 255, 255)), blackBrush = CreateSolidBrush(0);

  const double start = now();
  for (int frame = 0; frame < kFrames; ++frame) {
    if (frame > 0) {
      flash->GotoFrame(frame);
      services.service.timer.tick();
    }
    HGDIOBJ previous = SelectObject(dc, white.bitmap);
    FillRect(dc, &rect, whiteBrush);
    view->Draw(DVASPECT_CONTENT, -1, nullptr, nullptr, nullptr, dc, nullptr, nullptr, nullptr, 0);
    SelectObject(dc, black.bitmap);
    FillRect(dc, &rect, blackBrush);
    view->Draw(DVASPECT_CONTENT, -1, nullptr, nullptr, nullptr, dc, nullptr, nullptr, nullptr, 0);
    SelectObject(dc, previous);
  }
  GdiFlush();
  const double seconds = now() - start;

  DeleteObject(whiteBrush);
  DeleteObject(blackBrush);
  DeleteDC(dc);
  view->Release();
  inPlace->Release();
  withSite->Release();
  host->Release();
  DestroyWindow(window);
  flash->Release();
  unknown->Release();
  return seconds;
}

// Creation only: the window lives on until the renderer's release.
double hostWindowSeconds() {
  double best = 1e30;
  for (int run = 0; run < 10; ++run) {
    const double start = now();
    HWND window = CreateWindowExA(0, "AtlAxWin", nullptr, WS_CHILD, CW_USEDEFAULT, CW_USEDEFAULT, CW_USEDEFAULT,
                                  CW_USEDEFAULT, GetDesktopWindow(), nullptr, GetModuleHandleA(nullptr), nullptr);
    best = std::min(best, now() - start);
    if (!window) return -1;
    DestroyWindow(window);
  }
  return best;
}

double stampSeconds(const std::string& source) {
  double best = 1e30;
  for (int run = 0; run < 10; ++run) {
    uint32_t size = 0;
    FILETIME time;
    const double start = now();
    if (!readSourceStamp(source.c_str(), &size, &time)) return -1;
    best = std::min(best, now() - start);
  }
  return best;
}

struct ControlLoad {
  double naming = -1, reading = -1;
};

// A fresh control given the source and then the prepared copy, as every
// opening does, then asked for something that needs the movie.
ControlLoad controlLoadSeconds(const std::string& source, const std::string& copy) {
  ControlLoad load;
  IShockwaveFlash* flash = nullptr;
  if (FAILED(CoCreateInstance(CLSID_ShockwaveFlash, nullptr, 23, IID_IShockwaveFlash, (void**)&flash))) return load;
  BSTR first = SysAllocString(widen(source).c_str()), second = SysAllocString(widen(copy).c_str());
  const double start = now();
  flash->put_Movie(first);
  const HRESULT hr = flash->put_Movie(second);
  const double named = now();
  long frames = 0;
  const HRESULT read = flash->get_TotalFrames(&frames);
  const double end = now();
  SysFreeString(first);
  SysFreeString(second);
  flash->Release();
  if (SUCCEEDED(hr) && SUCCEEDED(read)) load = {named - start, end - named};
  return load;
}

struct Renderer {
  IFrameRenderer* r = nullptr;
  ~Renderer() {
    if (r) r->lpVtbl->Release(r);
  }
  bool open(const std::string& cache, const std::string& movie) {
    return SUCCEEDED(createFrameRenderer(&r)) && SUCCEEDED(r->lpVtbl->SetCacheOptions(r, widen(cache).c_str(), 30)) &&
           SUCCEEDED(r->lpVtbl->OpenMovie(r, widen(movie).c_str()));
  }
  bool render(int frame) {
    const BITMAPINFOHEADER* header = nullptr;
    const BYTE* bits = nullptr;
    return SUCCEEDED(r->lpVtbl->RenderFrameWithAlpha(r, frame, &header, &bits));
  }
};

}  // namespace

int main() {
  if (!rendererLoad()) {
    std::fprintf(stderr, "bench-render: the renderer could not be set up\n");
    return 1;
  }
  TempDir dir, cache;
  const std::string walking = dir.write("walking.swf", walkingMovie());
  bool ok = true;

  // The forward walk and the plain draws, taken in turns (the machine is
  // shared), each the best of five.
  double alphaSeconds = 1e30, stepSeconds = 1e30, backwardSeconds = 1e30, plainSeconds = 1e30;
  for (int run = 0; run < 5 && ok; ++run) {
    Renderer renderer;
    ok = renderer.open(cache.path(), walking) && renderer.render(0);
    const double start = now();
    for (int frame = 1; ok && frame < kFrames; ++frame) ok = renderer.render(frame);
    alphaSeconds = std::min(alphaSeconds, now() - start);
    const double back = now();
    ok = ok && renderer.render(kFrames - 2);
    backwardSeconds = std::min(backwardSeconds, now() - back);
    const double step = now();
    ok = ok && renderer.render(kFrames - 1);
    stepSeconds = std::min(stepSeconds, now() - step);
    const double plain = plainDrawsSeconds(walking);
    ok = ok && plain >= 0;
    plainSeconds = std::min(plainSeconds, plain);
  }

  // First and second opening of a big compressed movie.
  const std::string bulky = dir.write("bulky.swf", bulkyCompressedMovie());
  double firstOpen = 1e30, secondOpen = 1e30, firstRender = 1e30, naming = 1e30, reading = 1e30;
  for (int run = 0; run < 3 && ok; ++run) {
    clearMovieCache();
    {
      RendererLock lock;
      setCacheOptions(widen(cache.path()).c_str(), 30);
    }
    Renderer first;
    ok = SUCCEEDED(createFrameRenderer(&first.r));
    double start = now();
    ok = ok && SUCCEEDED(first.r->lpVtbl->OpenMovie(first.r, widen(bulky).c_str()));
    firstOpen = std::min(firstOpen, now() - start);
    first.r->lpVtbl->Release(first.r);
    first.r = nullptr;
    Renderer second;
    ok = ok && SUCCEEDED(createFrameRenderer(&second.r));
    start = now();
    ok = ok && SUCCEEDED(second.r->lpVtbl->OpenMovie(second.r, widen(bulky).c_str()));
    secondOpen = std::min(secondOpen, now() - start);
    start = now();
    ok = ok && second.render(0);
    firstRender = std::min(firstRender, now() - start);
    // What any opening pays the control: naming the source, then the copy, and
    // reading the copy at its first use.
    char copy[kCachePathSize];
    {
      RendererLock lock;
      ok = ok && acquireCachedMovie(bulky.c_str(), copy, false);
    }
    const ControlLoad load = ok ? controlLoadSeconds(bulky, copy) : ControlLoad();
    ok = ok && load.naming >= 0;
    naming = std::min(naming, load.naming);
    reading = std::min(reading, load.reading);
  }
  const double hostWindow = ok ? hostWindowSeconds() : -1, stamp = ok ? stampSeconds(bulky) : -1;
  ok = ok && hostWindow >= 0 && stamp >= 0;
  rendererUnload();
  if (!ok) {
    std::fprintf(stderr, "bench-render: a render or an opening failed\n");
    return 1;
  }
  const double alphaFps = (kFrames - 1) / alphaSeconds, plainFps = kFrames / plainSeconds;
  const double stepAverage = alphaSeconds / (kFrames - 1);
  std::printf(
      "bench render ratio=%.2f alpha_fps=%.1f plain_draws_fps=%.1f backward_ratio=%.1f "
      "backward_ms=%.1f step_ms=%.2f last_step_ms=%.2f reopen_ratio=%.3f first_open_ms=%.0f "
      "second_open_ms=%.1f first_render_after_ms=%.0f control_naming_ms=%.1f "
      "control_reading_ms=%.0f host_window_ms=%.1f stamp_ms=%.2f reopen_floor=%.3f movie_mb=%.1f\n",
      alphaFps / plainFps, alphaFps, plainFps, backwardSeconds / stepAverage, backwardSeconds * 1e3, stepAverage * 1e3,
      stepSeconds * 1e3, secondOpen / firstOpen, firstOpen * 1e3, secondOpen * 1e3, firstRender * 1e3, naming * 1e3,
      reading * 1e3, hostWindow * 1e3, stamp * 1e3, (hostWindow + stamp) / firstOpen,
      readFile(bulky).size() / 1048576.0);
  return 0;
}
