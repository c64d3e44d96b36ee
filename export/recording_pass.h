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

class ExportHost;

class RecordingPass {
 public:
  explicit RecordingPass(uint64_t splitLimit) : splitLimit_(splitLimit) {}

  // S_OK when recording has begun (the rest happens in tick()), E_FAIL otherwise.
  HRESULT start(ExportHost& host, const ExportSettings& settings);
  // One kAppTickMessage while recordingActive is set.
  void tick(ExportHost& host);

 private:
  HRESULT stop(ExportHost& host);
  void fail(ExportHost& host);
  void finishWithVideo(ExportHost& host);
  void runAhead(ExportHost& host);
  void deliverPendingTicks(ExportHost& host);
  static void dropPendingTicks(ExportHost& host);

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
