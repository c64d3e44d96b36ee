#include "model_recorder_platform.h"

#include <algorithm>

namespace audiotest {
namespace {

HWAVEIN const kDevice = reinterpret_cast<HWAVEIN>(0x5150);

}  // namespace

MMRESULT ModelRecorderPlatform::openInput(HWAVEIN* device, const WAVEFORMATEX* format, DWORD_PTR callback,
                                          DWORD flags) {
  std::lock_guard<std::mutex> hold(lock_);
  ++opens_;
  format_ = *format;
  flags_ = flags;
  if (openResult != MMSYSERR_NOERROR) return openResult;
  thread_ = static_cast<DWORD>(callback);
  open_ = true;
  *device = kDevice;
  return MMSYSERR_NOERROR;
}

MMRESULT ModelRecorderPlatform::prepareHeader(HWAVEIN device, WAVEHDR* header) {
  std::lock_guard<std::mutex> hold(lock_);
  if (prepareResult != MMSYSERR_NOERROR) return prepareResult;
  header->dwFlags |= WHDR_PREPARED;
  prepared_.push_back(*header);
  return MMSYSERR_NOERROR;
}

MMRESULT ModelRecorderPlatform::unprepareHeader(HWAVEIN device, WAVEHDR* header) {
  std::lock_guard<std::mutex> hold(lock_);
  if (std::find(queue_.begin(), queue_.end(), header) != queue_.end()) return WAVERR_STILLPLAYING;
  header->dwFlags &= ~WHDR_PREPARED;
  return MMSYSERR_NOERROR;
}

MMRESULT ModelRecorderPlatform::addBuffer(HWAVEIN device, WAVEHDR* header) {
  std::lock_guard<std::mutex> hold(lock_);
  ++adds_;
  if (device != kDevice || !(header->dwFlags & WHDR_PREPARED)) return WAVERR_UNPREPARED;
  if (std::find(queue_.begin(), queue_.end(), header) != queue_.end()) return WAVERR_STILLPLAYING;
  header->dwFlags |= WHDR_INQUEUE;
  queue_.push_back(header);
  return MMSYSERR_NOERROR;
}

MMRESULT ModelRecorderPlatform::start(HWAVEIN device) {
  std::lock_guard<std::mutex> hold(lock_);
  ++starts_;
  return startResult;
}

void ModelRecorderPlatform::post(UINT message, WAVEHDR* header) {
  PostThreadMessageA(thread_, message, reinterpret_cast<WPARAM>(kDevice), reinterpret_cast<LPARAM>(header));
}

bool ModelRecorderPlatform::giveBack(DWORD bytes) {
  std::lock_guard<std::mutex> hold(lock_);
  if (queue_.empty()) return false;
  WAVEHDR* header = queue_.front();
  queue_.pop_front();
  bytes = std::min(bytes, header->dwBufferLength);
  for (DWORD i = 0; i < bytes; ++i) header->lpData[i] = static_cast<char>((patternOffset_ + i) % 251);
  patternOffset_ += bytes;
  header->dwBytesRecorded = bytes;
  header->dwFlags = (header->dwFlags & ~WHDR_INQUEUE) | WHDR_DONE;
  post(MM_WIM_DATA, header);
  return true;
}

MMRESULT ModelRecorderPlatform::reset(HWAVEIN device) {
  std::lock_guard<std::mutex> hold(lock_);
  for (WAVEHDR* header : queue_) {
    header->dwBytesRecorded = 0;
    header->dwFlags = (header->dwFlags & ~WHDR_INQUEUE) | WHDR_DONE;
    post(MM_WIM_DATA, header);
  }
  queue_.clear();
  return MMSYSERR_NOERROR;
}

MMRESULT ModelRecorderPlatform::close(HWAVEIN device) {
  std::lock_guard<std::mutex> hold(lock_);
  ++closes_;
  if (!queue_.empty()) return WAVERR_STILLPLAYING;
  post(MM_WIM_CLOSE, nullptr);
  open_ = false;
  return MMSYSERR_NOERROR;
}

bool ModelRecorderPlatform::freeBytes(const char* directory, uint64_t* bytes) {
  std::lock_guard<std::mutex> hold(lock_);
  directory_ = directory ? directory : "";
  *bytes = volumeFreeBytes;
  return true;
}

int ModelRecorderPlatform::queued() const {
  std::lock_guard<std::mutex> hold(lock_);
  return static_cast<int>(queue_.size());
}
int ModelRecorderPlatform::addCalls() const {
  std::lock_guard<std::mutex> hold(lock_);
  return adds_;
}
int ModelRecorderPlatform::startCalls() const {
  std::lock_guard<std::mutex> hold(lock_);
  return starts_;
}
int ModelRecorderPlatform::closeCalls() const {
  std::lock_guard<std::mutex> hold(lock_);
  return closes_;
}
int ModelRecorderPlatform::openCalls() const {
  std::lock_guard<std::mutex> hold(lock_);
  return opens_;
}
WAVEFORMATEX ModelRecorderPlatform::openedFormat() const {
  std::lock_guard<std::mutex> hold(lock_);
  return format_;
}
DWORD ModelRecorderPlatform::openFlags() const {
  std::lock_guard<std::mutex> hold(lock_);
  return flags_;
}
std::vector<WAVEHDR> ModelRecorderPlatform::preparedHeaders() const {
  std::lock_guard<std::mutex> hold(lock_);
  return prepared_;
}
std::string ModelRecorderPlatform::freeSpaceDirectory() const {
  std::lock_guard<std::mutex> hold(lock_);
  return directory_;
}

}  // namespace audiotest
