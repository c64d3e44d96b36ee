#include "recorder_platform.h"

namespace {

class SystemRecorderPlatform : public RecorderPlatform {
 public:
  MMRESULT openInput(HWAVEIN* device, const WAVEFORMATEX* format, DWORD_PTR callback, DWORD flags) override {
    return waveInOpen(device, WAVE_MAPPER, format, callback, 0, flags);
  }
  MMRESULT prepareHeader(HWAVEIN device, WAVEHDR* header) override {
    return waveInPrepareHeader(device, header, sizeof *header);
  }
  MMRESULT unprepareHeader(HWAVEIN device, WAVEHDR* header) override {
    return waveInUnprepareHeader(device, header, sizeof *header);
  }
  MMRESULT addBuffer(HWAVEIN device, WAVEHDR* header) override {
    return waveInAddBuffer(device, header, sizeof *header);
  }
  MMRESULT start(HWAVEIN device) override { return waveInStart(device); }
  MMRESULT reset(HWAVEIN device) override { return waveInReset(device); }
  MMRESULT close(HWAVEIN device) override { return waveInClose(device); }
  bool freeBytes(const char* directory, uint64_t* bytes) override {
    ULARGE_INTEGER available;
    if (!GetDiskFreeSpaceExA(directory, &available, nullptr, nullptr)) return false;
    *bytes = available.QuadPart;
    return true;
  }
};

}  // namespace

RecorderPlatform& systemRecorderPlatform() {
  static SystemRecorderPlatform platform;
  return platform;
}
