#include "sound_card_recorder.h"

#include <cstdlib>
#include <new>

namespace {

// Posted by Stop behind the buffers the reset returned; the thread answers it.
constexpr UINT kDrainMessage = WM_APP + 1;
// Bounds every wait on the capture thread, which only ever writes to a file.
constexpr DWORD kThreadWaitMs = 10000;

WAVEFORMATEX recordingFormat(const WAVEFORMATEX& given) {
  WAVEFORMATEX format = given;
  if (format.wFormatTag == WAVE_FORMAT_PCM) {
    format.cbSize = 0;
    format.nBlockAlign = static_cast<WORD>(format.wBitsPerSample * format.nChannels / 8);
    format.nAvgBytesPerSec = format.nSamplesPerSec * format.nBlockAlign;
  }
  return format;
}

std::string directoryOf(const char* path) {
  char drive[_MAX_DRIVE] = "";
  char dir[_MAX_DIR] = "";
  _splitpath(path, drive, dir, nullptr, nullptr);
  return std::string(drive) + dir;
}

}  // namespace

SoundCardRecorder::SoundCardRecorder(RecorderPlatform& platform) : platform_(platform) {}

SoundCardRecorder::~SoundCardRecorder() {
  if (FAILED(close())) abandonDevice();
}

HRESULT SoundCardRecorder::open(const char* path, const WAVEFORMATEX* format) {
  if (!path || !format) return E_INVALIDARG;
  if (device_ || running_) return E_FAIL;
  const WAVEFORMATEX wanted = recordingFormat(*format);
  if (wanted.nBlockAlign == 0 || wanted.nBlockAlign > kBufferBytes) return E_INVALIDARG;
  // The recorder keeps 18 bytes of format: extra format bytes would be read from beyond them.
  if (wanted.cbSize != 0) return E_INVALIDARG;
  buffers_.reset(new (std::nothrow) BYTE[kBufferCount * kBufferBytes]);
  if (!buffers_) return E_OUTOFMEMORY;
  format_ = wanted;
  if (!startCaptureThread()) {
    buffers_.reset();
    return E_FAIL;
  }
  if (platform_.openInput(&device_, &format_, threadId_, CALLBACK_THREAD) != MMSYSERR_NOERROR) {
    device_ = nullptr;
    endCaptureThread();
    buffers_.reset();
    return E_FAIL;
  }
  if (!prepareHeaders() || FAILED(file_.open(path, WavFile::WriteMode, &format_))) {
    abandonDevice();
    return E_FAIL;
  }
  directory_ = directoryOf(path);
  return S_OK;
}

bool SoundCardRecorder::startCaptureThread() {
  threadReady_ = CreateEventA(nullptr, TRUE, FALSE, nullptr);
  drained_ = CreateEventA(nullptr, FALSE, FALSE, nullptr);
  if (threadReady_ && drained_) thread_ = CreateThread(nullptr, 0, captureThreadMain, this, 0, &threadId_);
  const bool ready = thread_ && WaitForSingleObject(threadReady_, kThreadWaitMs) == WAIT_OBJECT_0;
  if (!ready) endCaptureThread();
  return ready;
}

// The thread ends on the device's close notification, or on the quit that Close
// posts after it (the only notice when the device never opened).
void SoundCardRecorder::endCaptureThread() {
  if (thread_) {
    PostThreadMessageA(threadId_, WM_QUIT, 0, 0);
    WaitForSingleObject(thread_, kThreadWaitMs);
    CloseHandle(thread_);
  }
  thread_ = nullptr;
  threadId_ = 0;
  if (threadReady_) CloseHandle(threadReady_);
  if (drained_) CloseHandle(drained_);
  threadReady_ = drained_ = nullptr;
}

DWORD WINAPI SoundCardRecorder::captureThreadMain(void* self) {
  static_cast<SoundCardRecorder*>(self)->captureLoop();
  return 0;
}

void SoundCardRecorder::captureLoop() {
  MSG message;
  PeekMessageA(&message, nullptr, WM_USER, WM_USER, PM_NOREMOVE);  // creates the queue
  SetEvent(threadReady_);
  while (GetMessageA(&message, nullptr, 0, 0) > 0) {
    if (message.message == MM_WIM_DATA) {
      handleBuffer(reinterpret_cast<HWAVEIN>(message.wParam), reinterpret_cast<WAVEHDR*>(message.lParam));
    } else if (message.message == kDrainMessage) {
      SetEvent(drained_);
    } else if (message.message == MM_WIM_CLOSE) {
      break;
    }
  }
}

void SoundCardRecorder::handleBuffer(HWAVEIN device, WAVEHDR* header) {
  if (!device || !header || header->dwBufferLength == 0) return;
  const uint64_t recorded = recordedBytes_.load();
  const uint64_t limit = limitBytes_.load();
  if (recorded >= limit) return;
  const DWORD bytes = header->dwBytesRecorded;
  if (recorded + bytes >= limit) {
    const DWORD rest = static_cast<DWORD>(limit - recorded);
    if (FAILED(file_.write(header->lpData, rest))) return;
    recordedBytes_.store(limit);
    if (HANDLE event = limitEvent_.load()) SetEvent(event);
    return;
  }
  if (FAILED(file_.write(header->lpData, bytes))) return;
  recordedBytes_.store(recorded + bytes);
  std::lock_guard<std::mutex> hold(queueLock_);
  if (running_) {
    header->dwFlags &= ~WHDR_DONE;
    platform_.addBuffer(device, header);
  }
}

bool SoundCardRecorder::prepareHeaders() {
  const DWORD length = kBufferBytes - kBufferBytes % format_.nBlockAlign;
  for (int i = 0; i < kBufferCount; ++i) {
    WAVEHDR& header = headers_[i];
    header = {};
    header.lpData = reinterpret_cast<LPSTR>(buffers_.get() + i * kBufferBytes);
    header.dwBufferLength = length;
    header.dwUser = static_cast<DWORD_PTR>(i);
    if (platform_.prepareHeader(device_, &header) != MMSYSERR_NOERROR) return false;
    preparedHeaders_ = i + 1;
  }
  return true;
}

HRESULT SoundCardRecorder::start(uint64_t limit, HANDLE event) {
  if (running_) return S_OK;
  if (!device_) return E_FAIL;
  uint64_t freeBytes = 0;
  if (!platform_.freeBytes(directory_.empty() ? nullptr : directory_.c_str(), &freeBytes) ||
      freeBytes <= kMinimumFreeBytes) {
    freeBytes = 0;
  }
  if (freeBytes == 0) return E_FAIL;
  limitBytes_ = freeBytes;
  if (limit != 0) {
    if (limit >= freeBytes) return E_FAIL;
    limitBytes_ = limit;
    limitEvent_ = event;
  }
  recordedBytes_.store(0);
  if (!queueBuffers()) {
    platform_.reset(device_);
    waitForCaptureThread();
    return E_FAIL;
  }
  running_ = true;
  if (platform_.start(device_) != MMSYSERR_NOERROR) {
    stop();
    close();
    return E_FAIL;
  }
  return S_OK;
}

bool SoundCardRecorder::queueBuffers() {
  for (WAVEHDR& header : headers_) {
    header.dwFlags &= ~WHDR_DONE;
    header.dwBytesRecorded = 0;
    if (platform_.addBuffer(device_, &header) != MMSYSERR_NOERROR) return false;
  }
  return true;
}

HRESULT SoundCardRecorder::stop() {
  if (!running_) return S_OK;
  {
    std::lock_guard<std::mutex> hold(queueLock_);
    running_ = false;
  }
  const MMRESULT reset = platform_.reset(device_);
  limitEvent_ = nullptr;
  if (!waitForCaptureThread()) return E_FAIL;
  return reset == MMSYSERR_NOERROR ? S_OK : E_FAIL;
}

// Thread messages arrive in order, so once the drain message is answered the
// buffers posted before it have been written.
bool SoundCardRecorder::waitForCaptureThread() {
  if (!thread_ || !PostThreadMessageA(threadId_, kDrainMessage, 0, 0)) return false;
  return WaitForSingleObject(drained_, kThreadWaitMs) == WAIT_OBJECT_0;
}

HRESULT SoundCardRecorder::close() {
  if (!device_) return S_OK;
  if (running_ && FAILED(stop())) return E_FAIL;
  while (preparedHeaders_ > 0) {
    if (platform_.unprepareHeader(device_, &headers_[preparedHeaders_ - 1]) != MMSYSERR_NOERROR) return E_FAIL;
    --preparedHeaders_;
  }
  const bool deviceClosed = platform_.close(device_) == MMSYSERR_NOERROR;
  device_ = nullptr;
  endCaptureThread();
  releaseBuffers(deviceClosed);
  const bool fileClosed = SUCCEEDED(file_.close());
  return deviceClosed && fileClosed ? S_OK : E_FAIL;
}

// Gives up on the device whatever it answers: used when opening fails half-way
// and when a failed Close is all that destruction gets.
void SoundCardRecorder::abandonDevice() {
  if (device_) {
    running_ = false;
    platform_.reset(device_);
    waitForCaptureThread();
    while (preparedHeaders_ > 0) {
      platform_.unprepareHeader(device_, &headers_[preparedHeaders_ - 1]);
      --preparedHeaders_;
    }
    const bool deviceClosed = platform_.close(device_) == MMSYSERR_NOERROR;
    device_ = nullptr;
    releaseBuffers(deviceClosed);
  }
  endCaptureThread();
  file_.close();
}

// A device that did not close may still write into its buffers: they are left to it.
void SoundCardRecorder::releaseBuffers(bool deviceClosed) {
  if (deviceClosed) {
    buffers_.reset();
  } else {
    (void)buffers_.release();
  }
}
