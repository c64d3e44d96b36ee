#include "video_pass.h"

#include <mmsystem.h>
#include <shellapi.h>

#include <memory>
#include <new>
#include <string>

#include "avi_output.h"
#include "bstr_text.h"
#include "export_ids.h"
#include "export_host.h"
#include "message_boxes.h"
#include "resource_ids.h"
#include "numbered_file_name.h"
#include "progress_window.h"
#include "wav_file.h"
#include "window_lock.h"

namespace {

bool fileExists(const char* path) { return GetFileAttributesA(path) != INVALID_FILE_ATTRIBUTES; }

class VideoPass {
 public:
  VideoPass(ExportHost& host, const ExportSettings& settings, VideoPassSound sound, uint64_t splitLimit)
      : host_(host), s_(settings), sound_(sound), splitLimit_(splitLimit), flash_(host.flash()) {}

  HRESULT run();

 private:
  HRESULT setUp();
  bool openSound();
  void makeFrameFormat();
  void showProgress();
  void step();
  void tick();
  void paint();
  bool captureFrames();
  bool writeFrame();
  bool writeSound();
  bool split();
  void reportWriteFailure();
  void end();
  void deleteOutputs();
  std::string firstFileName() const;
  bool soundGoesOn() const { return s_.audioEnabled && lastReadBytes_ == chunkBytes_; }

  ExportHost& host_;
  const ExportSettings& s_;
  VideoPassSound sound_;
  uint64_t splitLimit_;
  IShockwaveFlash* flash_;
  WindowLock lock_;
  ProgressWindow progress_;
  AviOutput output_;
  AviOutputFormat format_ = {};
  WavFile source_;
  std::unique_ptr<BYTE[]> buffer_;
  HRESULT result_ = S_OK;
  bool cancelled_ = false;
  bool writeFailed_ = false;
  LONG movieFrame_ = -1;
  LONG fileFrameIndex_ = 0;
  DWORD chunkBytes_ = 0;
  DWORD lastReadBytes_ = 0;
  uint64_t soundPosition_ = 0;  // bytes of the recorded range read so far
  uint64_t bytesInFile_ = 0;
  unsigned fileCount_ = 0;
};

HRESULT VideoPass::run() {
  result_ = setUp();
  if (SUCCEEDED(result_)) {
    for (LONG frame = 0; frame < s_.startFrame; ++frame) {
      step();
      tick();
    }
    captureFrames();
  }
  end();
  return result_;
}

bool VideoPass::openSound() {
  if (s_.wavPath[0]) {
    if (FAILED(source_.open(s_.wavPath, WavFile::ReadMode))) return false;
    sound_.audioStartByte = 0;
    sound_.audioEndByte = source_.dataSize();
    return true;
  }
  return SUCCEEDED(source_.open(host_.recordingWavPath(), WavFile::ReadMode));
}

void VideoPass::makeFrameFormat() {
  // The preview fills the client area as it was before the frame lost its
  // sizing border; the pictures have the preview's size.
  RECT client;
  GetClientRect(host_.previewWindow(), &client);
  BITMAPINFOHEADER& f = format_.frame;
  f.biSize = sizeof f;
  f.biWidth = client.right;
  f.biHeight = client.bottom;
  f.biPlanes = 1;
  f.biBitCount = static_cast<WORD>(s_.colorDepth);
  f.biCompression = BI_RGB;
  f.biSizeImage = static_cast<DWORD>(frameSurfaceStride(f.biWidth, f.biBitCount) * f.biHeight);
  format_.videoRate = static_cast<DWORD>(s_.frameRate100);
  format_.videoScale = 100;
  // A recording is the movie played at its header's rate; stamped at that rate
  // truncated to hundredths (29.96 for 29.96875), the pictures would fall
  // behind the sound, 50 ms in three minutes.
  const DWORD recorded = sound_.recordedRate256;
  if (recorded != 0 && recorded * 100 % 256 != 0 && static_cast<DWORD>(s_.frameRate100) == recorded * 100 / 256) {
    format_.videoRate = recorded;
    format_.videoScale = 256;
  }
  format_.compressor = s_.compressor;
  format_.frameRate100ForSound = s_.frameRate100;
}

void VideoPass::showProgress() {
  progress_.create(host_.window());
  progress_.setCaption(IDS_CONVERTING);
  progress_.setRange(s_.startFrame, s_.endFrame);
  progress_.setTotalText(s_.endFrame - s_.startFrame + 1, s_.startFrame, s_.endFrame);
  progress_.setCountText(IDS_CREATING_VIDEO, 0);
}

HRESULT VideoPass::setUp() {
  lock_.lock(host_.window());
  if (s_.audioEnabled && !openSound()) return E_FAIL;
  makeFrameFormat();
  showProgress();
  DeleteFileA(host_.outputPath());
  // Numbered files of an earlier export under this name would mix with this one's.
  deleteNumberedFiles(host_.outputPath());
  Sleep(1000);

  if (s_.audioEnabled) {
    format_.sound = source_.format();
    chunkBytes_ = soundChunkBytes(*format_.sound, s_.frameRate100);
    lastReadBytes_ = chunkBytes_;
  }
  const UINT failure = output_.open(host_.outputPath(), format_, s_.audioEnabled);
  if (failure) {
    errorBox(host_.window(), failure);
    return E_FAIL;
  }
  if (s_.audioEnabled) {
    buffer_.reset(new (std::nothrow) BYTE[chunkBytes_]);
    if (!buffer_) {
      errorBox(host_.window(), IDS_OUT_OF_MEMORY);
      return E_OUTOFMEMORY;
    }
    // Whole sample frames only, so that channels stay in place.
    const WORD align = format_.sound->nBlockAlign ? format_.sound->nBlockAlign : 1;
    sound_.audioStartByte -= sound_.audioStartByte % align;
    if (sound_.audioStartByte != 0 && source_.seek(static_cast<LONG>(sound_.audioStartByte), SEEK_CUR) == -1)
      return E_FAIL;
    soundPosition_ = sound_.audioStartByte;
  }
  if (fileExists(host_.workingCopyPath())) {
    host_.loadMovie(host_.workingCopyPath());
    IShockwaveFlash_Play(flash_);
  }
  return S_OK;
}

void VideoPass::step() {
  if (s_.sequenceMode == SequenceMode::SkipBackwardGotos) {
    const BstrText root(L"/");
    long current = -1;
    IShockwaveFlash_TCurrentFrame(flash_, root.get(), &current);
    // A stop or a backward jump of the main timeline is overridden with the next frame.
    if (current <= movieFrame_) {
      current = movieFrame_ + 1;
      IShockwaveFlash_GotoFrame(flash_, current);
    }
    movieFrame_ = current;
  } else if (s_.sequenceMode == SequenceMode::FrameByFrame) {
    ++movieFrame_;
    IShockwaveFlash_GotoFrame(flash_, movieFrame_);
  }
}

void VideoPass::tick() {
  // An export started right after loading may come before the first tick message.
  ITimerSink* sink = host_.advisedTimerSink();
  if (!sink) sink = host_.timerSink();
  if (!sink) return;
  VARIANT now;
  VariantInit(&now);
  now.vt = VT_UI4;
  now.ulVal = timeGetTime();
  ITimerSink_OnTimer(sink, now);
}

void VideoPass::paint() {
  HWND preview = host_.previewWindow();
  InvalidateRect(preview, nullptr, FALSE);
  SendMessageA(preview, WM_PAINT, 0, 0);
}

bool VideoPass::writeFrame() {
  const FrameSurface& surface = host_.previewSurface();
  LONG bytes = 0;
  // A surface of another size than the format would be read past its end.
  const bool fits = surface.bits() && surface.header().biWidth == format_.frame.biWidth &&
                    surface.header().biHeight == format_.frame.biHeight;
  const HRESULT written =
      fits ? output_.writeFrame(fileFrameIndex_, surface.bits(), format_.frame.biSizeImage, &bytes) : E_FAIL;
  bytesInFile_ += static_cast<DWORD>(bytes);
  if (FAILED(written)) {
    reportWriteFailure();
    return false;
  }
  return true;
}

// Once per export: a failed write is usually followed by a failed close.
void VideoPass::reportWriteFailure() {
  if (writeFailed_) return;
  writeFailed_ = true;
  errorBox(host_.window(), IDS_WRITE_STREAM_FAILED);
}

bool VideoPass::writeSound() {
  if (!s_.audioEnabled || lastReadBytes_ != chunkBytes_) return true;
  const uint64_t left = sound_.audioEndByte > soundPosition_ ? sound_.audioEndByte - soundPosition_ : 0;
  const DWORD wanted = left < chunkBytes_ ? static_cast<DWORD>(left) : chunkBytes_;
  DWORD read = 0;
  if (wanted) {
    const HRESULT status = source_.read(buffer_.get(), wanted, &read);
    if (FAILED(status)) {
      result_ = status;
      return false;
    }
  }
  lastReadBytes_ = read;
  soundPosition_ += read;
  const WORD align = format_.sound->nBlockAlign;
  const LONG samples = static_cast<LONG>(read / align);
  if (samples == 0) return true;
  LONG bytes = 0;
  const HRESULT written = output_.writeSound(buffer_.get(), samples, static_cast<LONG>(samples * align), &bytes);
  bytesInFile_ += static_cast<DWORD>(bytes);
  if (FAILED(written)) {
    reportWriteFailure();
    return false;
  }
  return true;
}

bool VideoPass::split() {
  if (!output_.close()) {
    reportWriteFailure();
    return false;
  }
  const std::string output = host_.outputPath();
  if (fileCount_ == 0) {
    MoveFileExA(output.c_str(), numberedFileName(output, 0).c_str(), MOVEFILE_REPLACE_EXISTING);
    fileCount_ = 1;
  }
  const std::string next = numberedFileName(output, fileCount_++);
  UINT failure = output_.open(next.c_str(), format_, false);
  if (!failure && soundGoesOn()) failure = output_.createSoundStream(format_);
  if (failure) {
    errorBox(host_.window(), failure);
    return false;
  }
  bytesInFile_ = 0;
  fileFrameIndex_ = -1;  // the loop's advance makes the next frame sample 0
  return true;
}

bool VideoPass::captureFrames() {
  // 64-bit: an end frame of the largest LONG must still end the loop.
  for (int64_t n = s_.startFrame; n <= s_.endFrame; ++n, ++fileFrameIndex_) {
    const LONG frameNumber = static_cast<LONG>(n);
    step();
    paint();
    tick();
    if (!writeFrame() || !writeSound()) return false;
    // Not after the last frame: that would leave a numbered file of no frames.
    if (bytesInFile_ > splitLimit_ && n < s_.endFrame && !split()) return false;
    progress_.setCountText(IDS_CREATING_VIDEO, frameNumber - s_.startFrame + 1);
    if (progress_.finishRequested() || progress_.cancelRequested()) break;
    progress_.setPosition(frameNumber);
  }
  return true;
}

void VideoPass::deleteOutputs() {
  const std::string output = host_.outputPath();
  // The first file keeps the plain name when its rename failed.
  DeleteFileA(output.c_str());
  for (unsigned number = 0; number < fileCount_; ++number) DeleteFileA(numberedFileName(output, number).c_str());
}

std::string VideoPass::firstFileName() const {
  return fileCount_ ? numberedFileName(host_.outputPath(), 0) : std::string(host_.outputPath());
}

void VideoPass::end() {
  cancelled_ = progress_.cancelRequested();
  progress_.destroy();
  if (!output_.close() && !cancelled_) reportWriteFailure();
  source_.close();
  buffer_.reset();
  DeleteFileA(host_.recordingWavPath());
  if (cancelled_) {
    deleteOutputs();
    result_ = E_ABORT;
  }
  host_.loadMovie(host_.currentMoviePath());
  host_.stop();
  lock_.unlock();
  if (SUCCEEDED(result_) && s_.playAfterCreating)
    ShellExecuteA(nullptr, "open", firstFileName().c_str(), nullptr, nullptr, SW_SHOWNORMAL);
}

}  // namespace

HRESULT runVideoPass(ExportHost& host, const ExportSettings& settings, VideoPassSound sound, uint64_t splitLimit) {
  VideoPass pass(host, settings, sound, splitLimit);
  return pass.run();
}
