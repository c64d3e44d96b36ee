#include "tick_state.h"

TickState tickState;

void resetTickState() {
  tickState.window = nullptr;
  tickState.pendingTicks = 0;
  tickState.tickReady = 0;
  tickState.recordingActive = 0;
  tickState.videoPassActive = 0;
}

void postTick(TickState& state, ITimerSink** sinkSlot) {
  const LPARAM slot = reinterpret_cast<LPARAM>(sinkSlot);
  if (state.videoPassActive) return;
  if (state.recordingActive) {
    // Every tick is counted; one message at a time, when the pass is ready.
    InterlockedIncrement(&state.pendingTicks);
    if (state.tickReady) {
      state.tickReady = 0;
      PostMessageA(state.window, kAppTickMessage, 0, slot);
    }
    return;
  }
  // Preview: a tick that finds one waiting is dropped, so a busy interface
  // thread slows the movie down instead of bunching ticks up.
  if (state.pendingTicks != 0) return;
  InterlockedIncrement(&state.pendingTicks);
  PostMessageA(state.window, kAppTickMessage, 0, slot);
}

TickUse takeTick(TickState& state, ITimerSink** sinkSlot, bool stopped, DWORD now, ITimerSink** timerSink) {
  if (state.videoPassActive) return TickUse::Ignored;
  ITimerSink* sink = sinkSlot ? *sinkSlot : nullptr;
  TickUse use = TickUse::Held;
  if (sink) {
    *timerSink = sink;
    if (state.recordingActive) return TickUse::ForRecording;
    if (!stopped) {
      VARIANT time;
      VariantInit(&time);
      V_VT(&time) = VT_UI4;
      V_UI4(&time) = now;
      ITimerSink_OnTimer(sink, time);
      use = TickUse::Delivered;
    }
  }
  while (state.pendingTicks > 0) InterlockedDecrement(&state.pendingTicks);
  state.tickReady = 1;
  return use;
}
