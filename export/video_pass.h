// The export itself: steps the movie frame by frame, paints the control into
// the frame surface, writes each picture as a key frame, interleaves one
// frame's worth of sound, continues in numbered files past the split limit.
#pragma once

#include <windows.h>

#include <cstdint>

#include "export_settings.h"

class ExportHost;

struct VideoPassSound {
  // The recorded range in recordingWavPath; ignored when the settings name a WAV file.
  uint64_t audioStartByte;
  uint64_t audioEndByte;
  // A recording's movie rate × 256 (its header's 8.8 value): the rate it was
  // recorded at; 0 without a recording.
  DWORD recordedRate256;
};

// S_OK (also after Finish or a failed write), a set-up failure, or E_ABORT
// after Cancel. The caller sets videoPassActive around it. splitLimit in bytes.
HRESULT runVideoPass(ExportHost& host, const ExportSettings& settings, VideoPassSound sound, uint64_t splitLimit);
