#include "recording_pass.h"

#include <cmath>
#include <new>

#include "export_ids.h"
#include "main_frame.h"
#include "message_boxes.h"
#include "resource_ids.h"
#include "tick_state.h"
#include "video_pass.h"

namespace {

bool tempVolumeHolds(uint64_t bytes) {
  char folder[MAX_PATH];
  if (!GetTempPathA(sizeof folder, folder)) return false;
  ULARGE_INTEGER available;
  if (!GetDiskFreeSpaceExA(folder, &available, nullptr, nullptr)) return false;
  return available.QuadPart > bytes;
}

}  // namespace

HRESULT RecordingPass::Start(MainFrame& frame, const ExportSettings& settings) {
  settings_ = settings;
  lock_.lock(frame.window());
  fps100_ = static_cast<LONG>(frame.frameRate() * 100);
  const uint64_t perSecond = settings.audioFormat.nAvgBytesPerSec;
  audioStartByte_ = fps100_ > 0 ? static_cast<uint64_t>(settings.startFrame) * perSecond * 100 / fps100_ : 0;
  audioEndByte_ = fps100_ > 0 ? (static_cast<uint64_t>(settings.endFrame) + 1) * perSecond * 100 / fps100_ : 0;
  frozenByte_ = 0;
  if (!tempVolumeHolds(audioEndByte_)) {
    errorBox(frame.window(), IDS_DISK_SPACE);
    fail(frame);
    return E_FAIL;
  }
  recorder_.reset(new (std::nothrow) SoundCardRecorder());
  if (!recorder_) {
    errorBox(frame.window(), IDS_OUT_OF_MEMORY);
    fail(frame);
    return E_FAIL;
  }
  progress_.Create(frame.window());
  progress_.SetRange(0, static_cast<int>((settings.endFrame + 1.0) / frame.frameRate()));
  if (audioStartByte_ != 0) progress_.EnableButton(1, false);
  progress_.SetTotalText(settings.endFrame - settings.startFrame + 1, settings.startFrame, settings.endFrame);
  progress_.SetCountText(IDS_CREATING_AUDIO, 0);
  tickCount_ = 0;
  seconds_ = 0;
  if (FAILED(recorder_->Open(frame.recordingWavPath(), &settings.audioFormat))) {
    fail(frame);
    return E_FAIL;
  }
  // The movie with its sound, from its first frame; without it the recording
  // would be silence. Asking for its length makes a control that loads from
  // its message loop load now, so that the movie, not its loading, starts with
  // the recording, and tells whether the load failed.
  long frames = 0;
  if (FAILED(frame.loadMovie(frame.currentMoviePath())) || FAILED(IShockwaveFlash_Play(frame.flash())) ||
      FAILED(IShockwaveFlash_get_TotalFrames(frame.flash(), &frames))) {
    // The progress window goes first, so that nothing of the export outlives the message.
    fail(frame);
    errorBox(frame.window(), IDS_RECORD_PLAY_FAILED);
    return E_FAIL;
  }
  if (FAILED(recorder_->Start(audioEndByte_, nullptr))) {
    fail(frame);
    return E_FAIL;
  }
  runAhead(frame);
  InterlockedExchange(&tickState.recordingActive, 1);
  InterlockedExchange(&tickState.tickReady, 1);
  return S_OK;
}

void RecordingPass::fail(MainFrame& frame) {
  InterlockedExchange(&tickState.recordingActive, 0);
  if (recorder_) {
    recorder_->Stop();
    recorder_->Close();
    recorder_.reset();
  }
  progress_.Destroy();
  IShockwaveFlash_Rewind(frame.flash());
  frame.stop();
  lock_.unlock();
}

void RecordingPass::dropPendingTicks() {
  while (tickState.pendingTicks > 0) InterlockedDecrement(&tickState.pendingTicks);
  InterlockedExchange(&tickState.tickReady, 1);
}

HRESULT RecordingPass::Stop(MainFrame& frame) {
  HRESULT result = FAILED(recorder_->Stop()) ? E_FAIL : S_OK;
  InterlockedExchange(&tickState.recordingActive, 0);
  const bool cancelled = progress_.cancelRequested();
  if (SUCCEEDED(result) && cancelled) result = E_ABORT;
  if (SUCCEEDED(result)) {
    audioEndByte_ = frozenByte_ != 0 ? frozenByte_ : recorder_->RecordedBytes();
    if (progress_.finishRequested()) {
      const uint64_t perSecond = settings_.audioFormat.nAvgBytesPerSec;
      const int64_t end =
          static_cast<int64_t>(static_cast<uint64_t>(fps100_) * audioEndByte_ / (perSecond * 100)) - 1;
      if (end < settings_.startFrame) result = E_FAIL;
      else settings_.endFrame = static_cast<LONG>(end);
    }
  }
  if (FAILED(result)) {
    IShockwaveFlash_Rewind(frame.flash());
    lock_.unlock();
  }
  frame.stop();
  recorder_->Close();
  recorder_.reset();
  if (cancelled) DeleteFileA(frame.recordingWavPath());
  progress_.Destroy();
  return result;
}

void RecordingPass::finishWithVideo(MainFrame& frame) {
  // The video pass greys the window itself and restores it at its end.
  lock_.unlock();
  InterlockedExchange(&tickState.videoPassActive, 1);
  const DWORD rate256 = static_cast<DWORD>(std::lround(frame.frameRate() * 256));
  runVideoPass(frame, settings_, VideoPassSound{audioStartByte_, audioEndByte_, rate256}, splitLimit_);
  InterlockedExchange(&tickState.videoPassActive, 0);
}

void RecordingPass::deliverPendingTicks(MainFrame& frame) {
  ITimerSink* sink = frame.timerSink();
  while (sink && tickState.pendingTicks > 0) {
    VARIANT now;
    VariantInit(&now);
    now.vt = VT_UI4;
    now.ulVal = timeGetTime();
    ITimerSink_OnTimer(sink, now);
    InterlockedDecrement(&tickState.pendingTicks);
  }
  InterlockedExchange(&tickState.tickReady, 1);
}

// The movie starts a little ahead of the clock, so that the control holds that
// much sound in hand and a tick held up by a busy thread finds the sound card
// still playing. Where each sound lands in the recording is set by the sound
// card's steady pace once it plays without a break, not by when ticks come.
void RecordingPass::runAhead(MainFrame& frame) {
  ITimerSink* sink = frame.advisedTimerSink();
  const int frames = static_cast<int>(std::ceil(frame.frameRate() * kRunAheadSeconds));
  for (int k = 0; sink && k < frames; ++k) {
    VARIANT now;
    VariantInit(&now);
    now.vt = VT_UI4;
    now.ulVal = timeGetTime();
    ITimerSink_OnTimer(sink, now);
  }
}

void RecordingPass::tick(MainFrame& frame) {
  if (!recorder_) return;
  if (progress_.finishRequested() || progress_.cancelRequested()) {
    const bool finished = progress_.finishRequested() && !progress_.cancelRequested();
    if (SUCCEEDED(Stop(frame)) && finished) finishWithVideo(frame);
    else frame.stop();
    dropPendingTicks();
    return;
  }
  if (++tickCount_ >= frame.frameRate()) {
    tickCount_ = 0;
    const uint64_t recorded = recorder_->RecordedBytes();
    if (recorded >= audioEndByte_) {
      if (SUCCEEDED(Stop(frame))) finishWithVideo(frame);
      dropPendingTicks();
      return;
    }
    ++seconds_;
    progress_.SetPosition(seconds_);
    if (!recorder_) return;  // the dispatch above ran a later tick to the end
    progress_.SetCountText(IDS_CREATING_AUDIO, static_cast<int>(seconds_ * frame.frameRate()));
    if (audioStartByte_ != 0 && recorded > audioStartByte_) progress_.EnableButton(1, true);
  }
  if (!progress_.asking()) {
    frozenByte_ = 0;
    InvalidateRect(frame.painter().host, nullptr, FALSE);
    deliverPendingTicks(frame);
  } else {
    // The movie waits while the user answers; the recording's end is this moment.
    if (frozenByte_ == 0) frozenByte_ = recorder_->RecordedBytes();
    dropPendingTicks();
  }
}
