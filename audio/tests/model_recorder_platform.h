// A modelled wave input device and volume for the recorder tests: buffers are
// given back when the test says so, with as many bytes as it says, the way a
// driver posts them to the recorder's capture thread.
#pragma once

#include "recorder_platform.h"

#include <deque>
#include <mutex>
#include <string>
#include <vector>

namespace audiotest {

class ModelRecorderPlatform : public RecorderPlatform {
 public:
  MMRESULT openInput(HWAVEIN* device, const WAVEFORMATEX* format, DWORD_PTR callback, DWORD flags) override;
  MMRESULT prepareHeader(HWAVEIN device, WAVEHDR* header) override;
  MMRESULT unprepareHeader(HWAVEIN device, WAVEHDR* header) override;
  MMRESULT addBuffer(HWAVEIN device, WAVEHDR* header) override;
  MMRESULT start(HWAVEIN device) override;
  MMRESULT reset(HWAVEIN device) override;
  MMRESULT close(HWAVEIN device) override;
  bool freeBytes(const char* directory, uint64_t* bytes) override;

  // The oldest queued buffer comes back holding bytes bytes of the pattern
  // (byte i of the recording is i mod 251); false when none is queued.
  bool giveBack(DWORD bytes);

  // What the test sets up.
  MMRESULT openResult = MMSYSERR_NOERROR;
  MMRESULT prepareResult = MMSYSERR_NOERROR;
  MMRESULT startResult = MMSYSERR_NOERROR;
  uint64_t volumeFreeBytes = 1ull << 40;

  // What the recorder did.
  int queued() const;  // buffers queued now
  int addCalls() const;
  int startCalls() const;
  int closeCalls() const;
  int openCalls() const;
  WAVEFORMATEX openedFormat() const;
  DWORD openFlags() const;
  std::vector<WAVEHDR> preparedHeaders() const;
  std::string freeSpaceDirectory() const;

 private:
  void post(UINT message, WAVEHDR* header);

  mutable std::mutex lock_;
  DWORD thread_ = 0;
  bool open_ = false;
  WAVEFORMATEX format_ = {};
  DWORD flags_ = 0;
  std::deque<WAVEHDR*> queue_;
  std::vector<WAVEHDR> prepared_;
  uint64_t patternOffset_ = 0;
  int adds_ = 0;
  int starts_ = 0;
  int closes_ = 0;
  int opens_ = 0;
  std::string directory_;
};

// Polls until condition holds (at most a few seconds); its last answer.
template <class Condition>
bool waitUntil(Condition condition) {
  for (int waited = 0; waited < 5000; waited += 5) {
    if (condition()) return true;
    Sleep(5);
  }
  return condition();
}

}  // namespace audiotest
