// bench preview: the preview clock with the Flash control, as the program runs
// it. Plays a 30 fps movie for 10 s and counts the ticks delivered to the
// control per second (ratio against 30), then holds the interface thread busy
// for 1 s and counts how many of the timer's ticks in that second were dropped.
#include <windows.h>

#include <cstdio>
#include <string>

#include "atl_containment.h"
#include "host_timer.h"
#include "timer_site.h"
#include "bstr_text.h"
#include "preview_host.h"
#include "preview_painter.h"
#include "swf_builder.h"
#include "test_files.h"
#include "tick_state.h"

namespace {

constexpr double kMovieRate = 30.0;
constexpr DWORD kPlayMs = 10000;
constexpr DWORD kBusyMs = 1000;

// The system's timer, with every tick of the timer thread counted on the way.
class CountingTimer final : public MultimediaTimer {
 public:
  MMRESULT getCaps(TIMECAPS* caps) override { return system_.getCaps(caps); }
  MMRESULT beginPeriod(UINT period) override { return system_.beginPeriod(period); }
  UINT setEvent(UINT delay, UINT resolution, LPTIMECALLBACK callback, DWORD_PTR user, UINT flags) override {
    forward = callback;
    interval = delay;
    return system_.setEvent(delay, resolution, &CountingTimer::counted, user, flags);
  }
  MMRESULT killEvent(UINT id) override { return system_.killEvent(id); }
  DWORD now() override { return system_.now(); }

  static volatile LONG fired;
  UINT interval = 0;

 private:
  static void CALLBACK counted(UINT id, UINT message, DWORD_PTR user, DWORD_PTR a, DWORD_PTR b) {
    InterlockedIncrement(&fired);
    forward(id, message, user, a, b);
  }
  static LPTIMECALLBACK forward;
  MultimediaTimer& system_ = systemMultimediaTimer();
};

volatile LONG CountingTimer::fired = 0;
LPTIMECALLBACK CountingTimer::forward = nullptr;

struct Bench {
  CountingTimer clock;
  HostTimer timer;
  TimerSite site;
  PreviewPainter painter;
  ITimerSink* noted = nullptr;
  long delivered = 0;
};

Bench* bench = nullptr;

LRESULT CALLBACK frameProc(HWND window, UINT message, WPARAM wParam, LPARAM lParam) {
  if (message == kAppTickMessage) {
    if (takeTick(tickState, reinterpret_cast<ITimerSink**>(lParam), false, timeGetTime(), &bench->noted) ==
        TickUse::Delivered)
      ++bench->delivered;
    return 0;
  }
  return DefWindowProcA(window, message, wParam, lParam);
}

void pumpFor(DWORD milliseconds) {
  const DWORD start = GetTickCount();
  MSG message;
  for (DWORD now = start; now - start < milliseconds; now = GetTickCount()) {
    MsgWaitForMultipleObjects(0, nullptr, FALSE, milliseconds - (now - start), QS_ALLINPUT);
    while (PeekMessageA(&message, nullptr, 0, 0, PM_REMOVE)) DispatchMessageA(&message);
  }
}

HWND createFrame() {
  WNDCLASSA windowClass = {};
  windowClass.lpfnWndProc = frameProc;
  windowClass.hInstance = GetModuleHandleA(nullptr);
  windowClass.lpszClassName = "MvqBenchPreview";
  RegisterClassA(&windowClass);
  return CreateWindowExA(0, "MvqBenchPreview", "bench preview", WS_OVERLAPPEDWINDOW | WS_VISIBLE, 0, 0, 400, 300,
                         nullptr, nullptr, windowClass.hInstance, nullptr);
}

std::string writeMovie(const mvqtest::TempDir& folder) {
  mvqtest::SwfBuilder movie;
  movie.stage(mvqtest::Rect::pixels(320, 240)).frameRate(kMovieRate).background(255, 255, 255);
  for (int k = 0; k < 30; ++k) {
    movie.defineRectShape(static_cast<uint16_t>(k + 1), mvqtest::Rect::pixels(320, 240),
                          mvqtest::Rgba{static_cast<uint8_t>(8 * k), 100, 200});
    if (k > 0) movie.removeObject2(1);
    movie.placeObject2(static_cast<uint16_t>(k + 1), 1);
    movie.showFrame();
  }
  return folder.write("bench.swf", movie.finish());
}

}  // namespace

int main() {
  CoInitialize(nullptr);
  AtlAxWinInit();
  resetTickState();
  Bench state;
  bench = &state;
  initHostTimer(&state.timer, state.clock);
  initTimerSite(&state.site, &state.timer.ITimer_iface);

  HWND frame = createFrame();
  tickState.window = frame;
  RECT client;
  GetClientRect(frame, &client);
  HWND host = createPreviewHost(frame, client);
  PreviewControl control;
  if (!host || !attachPreviewControl(host, &state.site.IServiceProvider_iface, &control)) {
    std::printf("bench preview failed: no Flash control\n");
    return 1;
  }
  state.painter.subclass(host);
  mvqtest::TempDir folder;
  {
    BstrText movie(writeMovie(folder).c_str());
    IShockwaveFlash_put_Movie(control.flash.get(), movie.get());
  }
  IShockwaveFlash_Play(control.flash.get());

  pumpFor(500);  // settle
  long before = state.delivered;
  DWORD start = timeGetTime();
  pumpFor(kPlayMs);
  const double seconds = (timeGetTime() - start) / 1000.0;
  const double perSecond = (state.delivered - before) / seconds;

  // The interface thread busy for a second: ticks keep firing, one waits.
  const LONG firedBefore = CountingTimer::fired;
  before = state.delivered;
  Sleep(kBusyMs);
  const LONG firedBusy = CountingTimer::fired - firedBefore;
  pumpFor(state.clock.interval / 2);  // the one waiting tick is taken
  const long deliveredBusy = state.delivered - before;
  const double dropped = firedBusy > 0 ? double(firedBusy - deliveredBusy) / firedBusy : 0.0;

  std::printf(
      "bench preview ratio=%.3f ticks_per_second=%.2f target=%.0f interval_ms=%u seconds=%.1f "
      "busy_fired=%ld busy_delivered=%ld dropped_share=%.3f\n",
      perSecond / kMovieRate, perSecond, kMovieRate, state.clock.interval, seconds, firedBusy, deliveredBusy, dropped);

  IShockwaveFlash_Stop(control.flash.get());
  state.painter.restore();
  DestroyWindow(host);
  control.flash.reset();
  control.object.reset();
  DestroyWindow(frame);
  AtlAxWinTerm();
  CoUninitialize();
  return deliveredBusy >= 1 && perSecond > 0 ? 0 : 1;
}
