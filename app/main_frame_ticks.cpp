// The tick flags as the export passes see them: the window's kAppTickMessage
// handling reads them, the multimedia timer's thread counts pending ticks.
#include "main_frame.h"
#include "tick_state.h"

void MainFrame::setRecordingActive(bool active) { InterlockedExchange(&tickState.recordingActive, active ? 1 : 0); }

void MainFrame::setVideoPassActive(bool active) { InterlockedExchange(&tickState.videoPassActive, active ? 1 : 0); }

bool MainFrame::takePendingTick() {
  // The timer thread only adds; this thread alone takes.
  if (tickState.pendingTicks <= 0) return false;
  InterlockedDecrement(&tickState.pendingTicks);
  return true;
}

void MainFrame::readyForTicks() { InterlockedExchange(&tickState.tickReady, 1); }
