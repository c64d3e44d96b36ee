#include "host_timer.h"

#include <gtest/gtest.h>

#include <vector>

#include "fake_timer_sink.h"
#include "timer_site.h"
#include "shockwave_flash.h"
#include "tick_state.h"

namespace {

// Stands in for the system's timer: records what the HostTimer asks for.
class FakeMultimediaTimer final : public MultimediaTimer {
 public:
  MMRESULT getCaps(TIMECAPS* caps) override {
    ++capsQueries;
    if (!capsAvailable) return TIMERR_NOCANDO;
    caps->wPeriodMin = 10;
    caps->wPeriodMax = 100;
    return TIMERR_NOERROR;
  }
  MMRESULT beginPeriod(UINT period) override {
    periods.push_back(period);
    return TIMERR_NOERROR;
  }
  UINT setEvent(UINT delay, UINT resolution, LPTIMECALLBACK callback, DWORD_PTR user, UINT flags) override {
    delays.push_back(delay);
    lastResolution = resolution;
    lastCallback = callback;
    lastUser = user;
    lastFlags = flags;
    return nextEvent;
  }
  MMRESULT killEvent(UINT id) override {
    killed.push_back(id);
    return TIMERR_NOERROR;
  }
  DWORD now() override { return clock; }

  bool capsAvailable = true;
  int capsQueries = 0;
  std::vector<UINT> periods, delays, killed;
  UINT lastResolution = 99, lastFlags = 0, nextEvent = 41;
  LPTIMECALLBACK lastCallback = nullptr;
  DWORD_PTR lastUser = 0;
  DWORD clock = 1000;
};

VARIANT milliseconds(ULONG value) {
  VARIANT v;
  VariantInit(&v);
  V_VT(&v) = VT_UI4;
  V_UI4(&v) = value;
  return v;
}

class HostTimerTest : public ::testing::Test {
 protected:
  void SetUp() override {
    resetTickState();
    initHostTimer(&timer_, clock_);
    initFakeTimerSink(&sink_);
  }
  HRESULT advise(ULONG interval, DWORD* cookie) {
    VARIANT none;
    VariantInit(&none);
    return ITimer_Advise(&timer_.ITimer_iface, none, none, milliseconds(interval), 0, &sink_.ITimerSink_iface, cookie);
  }

  FakeMultimediaTimer clock_;
  HostTimer timer_;
  FakeTimerSink sink_;
};

TEST_F(HostTimerTest, AdviseStartsAPeriodicEventAtTheInterval) {
  tickState.pendingTicks = 5;
  DWORD cookie = 0;
  ASSERT_EQ(S_OK, advise(40, &cookie));
  EXPECT_EQ(41u, cookie);
  EXPECT_EQ((std::vector<UINT>{40}), clock_.delays);
  EXPECT_EQ((std::vector<UINT>{40}), clock_.periods);
  EXPECT_EQ(0u, clock_.lastResolution);
  EXPECT_EQ(static_cast<UINT>(TIME_PERIODIC), clock_.lastFlags & TIME_PERIODIC);
  EXPECT_EQ(&pacedTickCallback, clock_.lastCallback);
  EXPECT_EQ(reinterpret_cast<DWORD_PTR>(&timer_), clock_.lastUser);
  EXPECT_EQ(&sink_.ITimerSink_iface, timer_.sink);
  EXPECT_EQ(0, tickState.pendingTicks);
}

TEST_F(HostTimerTest, TheResolutionIsClampedButTheDelayIsNot) {
  DWORD cookie;
  advise(5, &cookie);
  advise(500, &cookie);
  EXPECT_EQ((std::vector<UINT>{10, 100}), clock_.periods);
  EXPECT_EQ((std::vector<UINT>{5, 500}), clock_.delays);
  EXPECT_EQ(1, clock_.capsQueries);
}

TEST_F(HostTimerTest, CapabilitiesAreAskedForAgainUntilObtained) {
  clock_.capsAvailable = false;
  DWORD cookie;
  advise(40, &cookie);
  EXPECT_EQ((std::vector<UINT>{0}), clock_.periods);  // zero capabilities clamp to 0
  clock_.capsAvailable = true;
  advise(40, &cookie);
  advise(40, &cookie);
  EXPECT_EQ(2, clock_.capsQueries);
  EXPECT_EQ(40u, clock_.periods.back());
}

// The recording pass counts every tick; the callback is fired as the system would.
int ticksInRecording(FakeMultimediaTimer& clock, HostTimer& timer, int seconds) {
  tickState.recordingActive = 1;
  tickState.tickReady = 0;  // nothing posted, every tick counted
  const DWORD start = clock.clock;
  for (clock.clock += clock.delays.back(); clock.clock - start <= DWORD(seconds) * 1000;
       clock.clock += clock.delays.back())
    clock.lastCallback(clock.nextEvent, 0, clock.lastUser, 0, 0);
  return tickState.pendingTicks;
}

TEST_F(HostTimerTest, TheOpenedMoviesRateIsKeptExactlyThoughTheIntervalIsWholeMilliseconds) {
  timer_.movieFrameRate = 30;
  DWORD cookie;
  advise(33, &cookie);
  EXPECT_EQ(33u, clock_.delays.back());
  EXPECT_EQ(1800, ticksInRecording(clock_, timer_, 60));  // not 1818

  resetTickState();
  timer_.movieFrameRate = 24;
  advise(42, &cookie);
  EXPECT_EQ(41u, clock_.delays.back());
  EXPECT_EQ(1440, ticksInRecording(clock_, timer_, 60));  // not 1428
}

TEST_F(HostTimerTest, AnIntervalOfItsOwnIsKeptAsTheControlAsked) {
  timer_.movieFrameRate = 30;
  DWORD cookie;
  advise(50, &cookie);
  EXPECT_EQ(50u, clock_.delays.back());
  EXPECT_EQ(20, ticksInRecording(clock_, timer_, 1));
}

TEST_F(HostTimerTest, InThePreviewTheCallbackPostsOneTickAtATime) {
  tickState.window = CreateWindowExA(0, "Static", nullptr, 0, 0, 0, 0, 0, HWND_MESSAGE, nullptr, nullptr, nullptr);
  DWORD cookie;
  advise(40, &cookie);
  clock_.clock += 400;  // ten ticks due at once
  clock_.lastCallback(41, 0, clock_.lastUser, 0, 0);
  EXPECT_EQ(1, tickState.pendingTicks);
  MSG message;
  int queued = 0;
  while (PeekMessageA(&message, tickState.window, kAppTickMessage, kAppTickMessage, PM_REMOVE)) {
    ++queued;
    EXPECT_EQ(reinterpret_cast<LPARAM>(&timer_.sink), message.lParam);
  }
  EXPECT_EQ(1, queued);
  DestroyWindow(tickState.window);
  resetTickState();
}

TEST_F(HostTimerTest, AnEventThatCannotStartFails) {
  clock_.nextEvent = 0;
  DWORD cookie = 77;
  tickState.pendingTicks = 2;
  EXPECT_EQ(E_FAIL, advise(40, &cookie));
  EXPECT_EQ(77u, cookie);
  EXPECT_EQ(0, tickState.pendingTicks);
}

TEST_F(HostTimerTest, UnadviseKillsTheEventAndEmptiesTheOneSlot) {
  DWORD first, second;
  advise(40, &first);
  clock_.nextEvent = 42;
  FakeTimerSink other;
  initFakeTimerSink(&other);
  VARIANT none;
  VariantInit(&none);
  ITimer_Advise(&timer_.ITimer_iface, none, none, milliseconds(20), 0, &other.ITimerSink_iface, &second);
  EXPECT_EQ(&other.ITimerSink_iface, timer_.sink);
  EXPECT_EQ(S_OK, ITimer_Unadvise(&timer_.ITimer_iface, first));
  EXPECT_EQ((std::vector<UINT>{41}), clock_.killed);
  EXPECT_EQ(nullptr, timer_.sink);
}

TEST_F(HostTimerTest, FreezeHoldsTheTime) {
  VARIANT time;
  ASSERT_EQ(S_OK, ITimer_GetTime(&timer_.ITimer_iface, &time));
  EXPECT_EQ(VT_UI4, V_VT(&time));
  EXPECT_EQ(1000u, V_UI4(&time));
  ITimer_Freeze(&timer_.ITimer_iface, TRUE);
  clock_.clock = 2500;
  ITimer_GetTime(&timer_.ITimer_iface, &time);
  EXPECT_EQ(1000u, V_UI4(&time));
  ITimer_Freeze(&timer_.ITimer_iface, FALSE);
  ITimer_GetTime(&timer_.ITimer_iface, &time);
  EXPECT_EQ(2500u, V_UI4(&time));
}

TEST_F(HostTimerTest, ReferenceCountingNeverFreesTheTimer) {
  void* out = nullptr;
  ASSERT_EQ(S_OK, ITimer_QueryInterface(&timer_.ITimer_iface, IID_ITimer, &out));
  EXPECT_EQ(&timer_.ITimer_iface, out);
  EXPECT_EQ(2, timer_.ref);
  ASSERT_EQ(S_OK, ITimer_QueryInterface(&timer_.ITimer_iface, IID_IUnknown, &out));
  EXPECT_EQ(3, timer_.ref);
  EXPECT_EQ(E_NOINTERFACE, ITimer_QueryInterface(&timer_.ITimer_iface, IID_ITimerService, &out));
  EXPECT_EQ(nullptr, out);
  EXPECT_EQ(2u, ITimer_Release(&timer_.ITimer_iface));
  EXPECT_EQ(1u, ITimer_Release(&timer_.ITimer_iface));
  EXPECT_EQ(0u, ITimer_Release(&timer_.ITimer_iface));
  EXPECT_EQ(static_cast<ULONG>(-1), ITimer_Release(&timer_.ITimer_iface));
}

TEST_F(HostTimerTest, TheServicesLeadTheControlToTheTimer) {
  TimerSite site;
  initTimerSite(&site, &timer_.ITimer_iface);

  ITimerService* timerService = nullptr;
  const GUID anyService = {0x12345678, 1, 2, {3, 4, 5, 6, 7, 8, 9, 10}};
  ASSERT_EQ(S_OK, IServiceProvider_QueryService(&site.IServiceProvider_iface, anyService, IID_ITimerService,
                                                reinterpret_cast<void**>(&timerService)));
  EXPECT_EQ(&site.ITimerService_iface, timerService);

  ITimer* created = nullptr;
  ASSERT_EQ(S_OK, ITimerService_CreateTimer(timerService, nullptr, &created));
  EXPECT_EQ(&timer_.ITimer_iface, created);
  EXPECT_EQ(2, timer_.ref);

  HostTimer reference;
  initHostTimer(&reference, clock_);
  ASSERT_EQ(S_OK, ITimerService_CreateTimer(timerService, &reference.ITimer_iface, &created));
  EXPECT_EQ(&reference.ITimer_iface, created);
  EXPECT_EQ(2, reference.ref);

  EXPECT_EQ(E_NOTIMPL, ITimerService_GetNamedTimer(timerService, anyService, &created));
  EXPECT_EQ(E_NOTIMPL, ITimerService_SetNamedTimerReference(timerService, anyService, created));
}

TEST_F(HostTimerTest, TheProviderOffersNothingElse) {
  TimerSite site;
  initTimerSite(&site, &timer_.ITimer_iface);
  void* untouched = reinterpret_cast<void*>(0x1);
  EXPECT_EQ(E_NOINTERFACE,
            IServiceProvider_QueryService(&site.IServiceProvider_iface, IID_ITimerService, IID_ITimer, &untouched));
  EXPECT_EQ(reinterpret_cast<void*>(0x1), untouched);

  void* out = nullptr;
  EXPECT_EQ(S_OK, IServiceProvider_QueryInterface(&site.IServiceProvider_iface, IID_IServiceProvider, &out));
  EXPECT_EQ(&site.IServiceProvider_iface, out);
  EXPECT_EQ(E_NOINTERFACE, IServiceProvider_QueryInterface(&site.IServiceProvider_iface, IID_ITimerService, &out));
  EXPECT_EQ(nullptr, out);
  EXPECT_EQ(S_OK, ITimerService_QueryInterface(&site.ITimerService_iface, IID_IUnknown, &out));
  EXPECT_EQ(E_NOINTERFACE, ITimerService_QueryInterface(&site.ITimerService_iface, IID_ITimer, &out));
  EXPECT_EQ(1u, IServiceProvider_AddRef(&site.IServiceProvider_iface));
  EXPECT_EQ(1u, IServiceProvider_Release(&site.IServiceProvider_iface));
  EXPECT_EQ(1u, ITimerService_Release(&site.ITimerService_iface));
}

// With the system's timer: however long the thread is busy, one tick waits.
TEST(HostTimerWithSystemClock, ABusyThreadFindsOneTickWaiting) {
  resetTickState();
  tickState.window = CreateWindowExA(0, "Static", nullptr, 0, 0, 0, 0, 0, HWND_MESSAGE, nullptr, nullptr, nullptr);
  HostTimer timer;
  initHostTimer(&timer, systemMultimediaTimer());
  FakeTimerSink sink;
  initFakeTimerSink(&sink);
  VARIANT none;
  VariantInit(&none);
  DWORD cookie = 0;
  ASSERT_EQ(S_OK, ITimer_Advise(&timer.ITimer_iface, none, none, milliseconds(5), 0, &sink.ITimerSink_iface, &cookie));
  // Busy until the timer has surely fired, however loaded the machine is; then
  // many more periods go by.
  MSG message;
  for (int waited = 0;
       waited < 5000 && !PeekMessageA(&message, tickState.window, kAppTickMessage, kAppTickMessage, PM_NOREMOVE);
       waited += 10)
    Sleep(10);
  Sleep(300);
  int queued = 0;
  ITimerSink* noted = nullptr;
  while (PeekMessageA(&message, tickState.window, kAppTickMessage, kAppTickMessage, PM_REMOVE)) {
    ++queued;
    EXPECT_EQ(TickUse::Delivered,
              takeTick(tickState, reinterpret_cast<ITimerSink**>(message.lParam), false, timeGetTime(), &noted));
  }
  EXPECT_EQ(1, queued);
  EXPECT_EQ(1, sink.calls);
  ITimer_Unadvise(&timer.ITimer_iface, cookie);
  DestroyWindow(tickState.window);
  resetTickState();
}

}  // namespace
