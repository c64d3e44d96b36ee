// What the sound-card recorder asks of the system: the wave input device and the
// free space of a volume. Tests put a modelled device or volume behind it.
#pragma once

#include <windows.h>
#include <mmsystem.h>

#include <cstdint>

class RecorderPlatform {
 public:
  virtual ~RecorderPlatform() = default;
  virtual MMRESULT openInput(HWAVEIN* device, const WAVEFORMATEX* format, DWORD_PTR callback, DWORD flags) = 0;
  virtual MMRESULT prepareHeader(HWAVEIN device, WAVEHDR* header) = 0;
  virtual MMRESULT unprepareHeader(HWAVEIN device, WAVEHDR* header) = 0;
  virtual MMRESULT addBuffer(HWAVEIN device, WAVEHDR* header) = 0;
  virtual MMRESULT start(HWAVEIN device) = 0;
  virtual MMRESULT reset(HWAVEIN device) = 0;
  virtual MMRESULT close(HWAVEIN device) = 0;
  // Bytes the user may still write on the volume holding directory; false when unknown.
  virtual bool freeBytes(const char* directory, uint64_t* bytes) = 0;
};

// The wave mapper and the real volume.
RecorderPlatform& systemRecorderPlatform();
