#include "recording_pass.h"

#include <cmath>
#include <new>

#include "export_ids.h"
#include "export_host.h"
#include "message_boxes.h"
#include "resource_ids.h"
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

HRESULT RecordingPass::start(ExportHost& host, const ExportSettings& settings) {
  settings_ = settings;
  lock_.lock(host.window());
  fps100_ = static_cast<LONG>(host.frameRate() * 100);
  const uint64_t perSecond = settings.audioFormat.nAvgBytesPerSec;
  audioStartByte_ = fps100_ > 0 ? static_cast<uint64_t>(settings.startFrame) * perSecond * 100 / fps100_ : 0;
  audioEndByte_ = fps100_ > 0 ? (static_cast<uint64_t>(settings.endFrame) + 1) * perSecond * 100 / fps100_ : 0;
  frozenByte_ = 0;
  if (!tempVolumeHolds(audioEndByte_)) {
    errorBox(host.window(), IDS_DISK_SPACE);
    fail(host);
    return E_FAIL;
  }
  recorder_.reset(new (std::nothrow) SoundCardRecorder());
  if (!recorder_) {
    errorBox(host.window(), IDS_OUT_OF_MEMORY);
    fail(host);
    return E_FAIL;
  }
  progress_.create(host.window());
  progress_.setRange(0, static_cast<int>((settings.endFrame + 1.0) / host.frameRate()));
  if (audioStartByte_ != 0) progress_.enableButton(1, false);
  progress_.setTotalText(settings.endFrame - settings.startFrame + 1, settings.startFrame, settings.endFrame);
  progress_.setCountText(IDS_CREATING_AUDIO, 0);
  tickCount_ = 0;
  seconds_ = 0;
  if (FAILED(recorder_->open(host.recordingWavPath(), &settings.audioFormat))) {
    fail(host);
    return E_FAIL;
  }
  // The movie with its sound, from its first frame; without it the recording
  // would be silence. Asking for its length makes a control that loads from
  // its message loop load now, so that the movie, not its loading, starts with
  // the recording, and tells whether the load failed.
  long frames = 0;
  if (FAILED(host.loadMovie(host.currentMoviePath())) || FAILED(IShockwaveFlash_Play(host.flash())) ||
      FAILED(IShockwaveFlash_get_TotalFrames(host.flash(), &frames))) {
    // The progress window goes first, so that nothing of the export outlives the message.
    fail(host);
    errorBox(host.window(), IDS_RECORD_PLAY_FAILED);
    return E_FAIL;
  }
  if (FAILED(recorder_->start(audioEndByte_, nullptr))) {
    fail(host);
    return E_FAIL;
  }
  runAhead(host);
  host.setRecordingActive(true);
  host.readyForTicks();
  return S_OK;
}

void RecordingPass::fail(ExportHost& host) {
  host.setRecordingActive(false);
  if (recorder_) {
    recorder_->stop();
    recorder_->close();
    recorder_.reset();
  }
  progress_.destroy();
  IShockwaveFlash_Rewind(host.flash());
  host.stop();
  lock_.unlock();
}

void RecordingPass::dropPendingTicks(ExportHost& host) {
  while (host.takePendingTick()) {
  }
  host.readyForTicks();
}

HRESULT RecordingPass::stop(ExportHost& host) {
  HRESULT result = FAILED(recorder_->stop()) ? E_FAIL : S_OK;
  host.setRecordingActive(false);
  const bool cancelled = progress_.cancelRequested();
  if (SUCCEEDED(result) && cancelled) result = E_ABORT;
  if (SUCCEEDED(result)) {
    audioEndByte_ = frozenByte_ != 0 ? frozenByte_ : recorder_->recordedBytes();
    if (progress_.finishRequested()) {
      const uint64_t perSecond = settings_.audioFormat.nAvgBytesPerSec;
      const int64_t end = static_cast<int64_t>(static_cast<uint64_t>(fps100_) * audioEndByte_ / (perSecond * 100)) - 1;
      if (end < settings_.startFrame)
        result = E_FAIL;
      else
        settings_.endFrame = static_cast<LONG>(end);
    }
  }
  if (FAILED(result)) {
    IShockwaveFlash_Rewind(host.flash());
    lock_.unlock();
  }
  host.stop();
  recorder_->close();
  recorder_.reset();
  if (cancelled) DeleteFileA(host.recordingWavPath());
  progress_.destroy();
  return result;
}

void RecordingPass::finishWithVideo(ExportHost& host) {
  // The video pass greys the window itself and restores it at its end.
  lock_.unlock();
  host.setVideoPassActive(true);
  const DWORD rate256 = static_cast<DWORD>(std::lround(host.frameRate() * 256));
  runVideoPass(host, settings_, VideoPassSound{audioStartByte_, audioEndByte_, rate256}, splitLimit_);
  host.setVideoPassActive(false);
}

void RecordingPass::deliverPendingTicks(ExportHost& host) {
  ITimerSink* sink = host.timerSink();
  while (sink && host.takePendingTick()) {
    VARIANT now;
    VariantInit(&now);
    now.vt = VT_UI4;
    now.ulVal = timeGetTime();
    ITimerSink_OnTimer(sink, now);
  }
  host.readyForTicks();
}

// The movie starts a little ahead of the clock, so that the control holds that
// much sound in hand and a tick held up by a busy thread finds the sound card
// still playing. Where each sound lands in the recording is set by the sound
// card's steady pace once it plays without a break, not by when ticks come.
void RecordingPass::runAhead(ExportHost& host) {
  ITimerSink* sink = host.advisedTimerSink();
  const int frames = static_cast<int>(std::ceil(host.frameRate() * kRunAheadSeconds));
  for (int k = 0; sink && k < frames; ++k) {
    VARIANT now;
    VariantInit(&now);
    now.vt = VT_UI4;
    now.ulVal = timeGetTime();
    ITimerSink_OnTimer(sink, now);
  }
}

void RecordingPass::tick(ExportHost& host) {
  if (!recorder_) return;
  if (progress_.finishRequested() || progress_.cancelRequested()) {
    const bool finished = progress_.finishRequested() && !progress_.cancelRequested();
    if (SUCCEEDED(stop(host)) && finished)
      finishWithVideo(host);
    else
      host.stop();
    dropPendingTicks(host);
    return;
  }
  if (++tickCount_ >= host.frameRate()) {
    tickCount_ = 0;
    const uint64_t recorded = recorder_->recordedBytes();
    if (recorded >= audioEndByte_) {
      if (SUCCEEDED(stop(host))) finishWithVideo(host);
      dropPendingTicks(host);
      return;
    }
    ++seconds_;
    progress_.setPosition(seconds_);
    if (!recorder_) return;  // the dispatch above ran a later tick to the end
    progress_.setCountText(IDS_CREATING_AUDIO, static_cast<int>(seconds_ * host.frameRate()));
    if (audioStartByte_ != 0 && recorded > audioStartByte_) progress_.enableButton(1, true);
  }
  if (!progress_.asking()) {
    frozenByte_ = 0;
    InvalidateRect(host.previewWindow(), nullptr, FALSE);
    deliverPendingTicks(host);
  } else {
    // The movie waits while the user answers; the recording's end is this moment.
    if (frozenByte_ == 0) frozenByte_ = recorder_->recordedBytes();
    dropPendingTicks(host);
  }
}
