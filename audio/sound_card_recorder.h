// Records the default wave input (the wave mapper) into a WAV file until a byte
// limit is reached or it is stopped. Filled buffers come back as thread messages to
// a capture thread of the recorder's own, which appends them to the file and queues
// them again; the calling thread only starts, stops and polls the byte count.
#pragma once

#include <windows.h>
#include <mmsystem.h>

#include <atomic>
#include <cstdint>
#include <memory>
#include <mutex>
#include <string>

#include "recorder_platform.h"
#include "wav_file.h"

class SoundCardRecorder {
 public:
  static constexpr int kBufferCount = 4;
  static constexpr DWORD kBufferBytes = 64000;
  // Free space at or below this counts as none.
  static constexpr uint64_t kMinimumFreeBytes = 102399;

  explicit SoundCardRecorder(RecorderPlatform& platform = systemRecorderPlatform());
  ~SoundCardRecorder();
  SoundCardRecorder(const SoundCardRecorder&) = delete;
  SoundCardRecorder& operator=(const SoundCardRecorder&) = delete;

  HRESULT open(const char* path, const WAVEFORMATEX* format);
  // limit 0: as much as the volume holds; event (optional) is signalled at the limit.
  HRESULT start(uint64_t limit, HANDLE event);
  // When it returns, every buffer the device gave back has been written and counted.
  HRESULT stop();
  uint64_t recordedBytes() const { return recordedBytes_.load(); }
  HRESULT close();

  bool running() const { return running_.load(); }

 private:
  static DWORD WINAPI captureThreadMain(void* self);
  void captureLoop();
  void handleBuffer(HWAVEIN device, WAVEHDR* header);
  bool startCaptureThread();
  void endCaptureThread();
  bool waitForCaptureThread();
  bool prepareHeaders();
  bool queueBuffers();
  void abandonDevice();
  void releaseBuffers(bool deviceClosed);

  RecorderPlatform& platform_;
  HWAVEIN device_ = nullptr;
  std::atomic<bool> running_{false};
  std::mutex queueLock_;  // running_ and re-queueing change together
  WAVEFORMATEX format_ = {};
  std::unique_ptr<BYTE[]> buffers_;
  WAVEHDR headers_[kBufferCount] = {};
  int preparedHeaders_ = 0;
  WavFile file_;
  std::string directory_;
  std::atomic<uint64_t> recordedBytes_{0};
  // Set by Start and Stop, read by the capture thread.
  std::atomic<uint64_t> limitBytes_{0};
  std::atomic<HANDLE> limitEvent_{nullptr};
  HANDLE thread_ = nullptr;
  DWORD threadId_ = 0;
  HANDLE threadReady_ = nullptr;  // the thread has its message queue
  HANDLE drained_ = nullptr;      // the thread has handled everything posted before
};
