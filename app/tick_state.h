// The preview clock's shared state and its two halves: the multimedia-timer
// callback that posts kAppTickMessage, and the main window's use of that message.
// The timer thread touches pendingTicks only with interlocked operations.
#pragma once

#include <windows.h>
#include <ocmm.h>

constexpr UINT kAppTickMessage = WM_APP + 100;

struct TickState {
  HWND window;  // the main window, the target of kAppTickMessage
  volatile LONG pendingTicks;
  volatile LONG tickReady;
  volatile LONG recordingActive;
  volatile LONG videoPassActive;
};

extern TickState tickState;

void resetTickState();

// What the multimedia timer's callback does with one tick.
void postTick(TickState& state, ITimerSink** sinkSlot);

enum class TickUse {
  Ignored,       // during the video pass, nothing at all
  Delivered,     // the sink's OnTimer was called
  Held,          // stopped, or no sink: not delivered
  ForRecording,  // the recording pass must handle it, including the counters
};

// The main window's kAppTickMessage: notes the slot's sink in *timerSink and
// delivers the tick with the time now unless stopped.
TickUse takeTick(TickState& state, ITimerSink** sinkSlot, bool stopped, DWORD now, ITimerSink** timerSink);
