// The first of two passes when the sound is the movie's own: the movie plays in
// real time with its sound while the sound card's output is recorded; then the
// video pass exports from the silent copy with that recording as its sound.
#pragma once

#include <windows.h>

#include <cstdint>
#include <memory>

#include "export_settings.h"
#include "progress_window.h"
#include "sound_card_recorder.h"
#include "window_lock.h"

class MainFrame;

class RecordingPass {
 public:
  explicit RecordingPass(uint64_t splitLimit) : splitLimit_(splitLimit) {}

  // S_OK when recording has begun (the rest happens in tick()), E_FAIL otherwise.
  HRESULT Start(MainFrame& frame, const ExportSettings& settings);
  // One WM_APP_TICK while recordingActive is set.
  void tick(MainFrame& frame);

 private:
  HRESULT Stop(MainFrame& frame);
  void fail(MainFrame& frame);
  void finishWithVideo(MainFrame& frame);
  void runAhead(MainFrame& frame);
  void deliverPendingTicks(MainFrame& frame);
  static void dropPendingTicks();

  static constexpr double kRunAheadSeconds = 0.2;

  uint64_t splitLimit_;
  ExportSettings settings_ = {};
  LONG fps100_ = 0;
  uint64_t audioStartByte_ = 0;
  uint64_t audioEndByte_ = 0;
  uint64_t frozenByte_ = 0;
  DWORD tickCount_ = 0;
  int seconds_ = 0;
  std::unique_ptr<SoundCardRecorder> recorder_;
  ProgressWindow progress_;
  WindowLock lock_;
};
