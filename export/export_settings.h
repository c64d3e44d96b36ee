// What the next export does: the frames, the rate, how the movie is advanced,
// the video compressor and where the sound comes from. Kept for the program's
// run only.
#pragma once

#include <windows.h>
#include <mmsystem.h>
#include <vfw.h>

#include "compressor_record.h"

enum class SequenceMode { SkipBackwardGotos = 0, FrameByFrame = 1, Normal = 2 };

constexpr DWORD kWavPathSize = 260;

struct ExportSettings {
  LONG startFrame;
  LONG endFrame;
  LONG frameRate100;
  SequenceMode sequenceMode;
  DWORD colorDepth;
  bool audioEnabled;
  char wavPath[kWavPathSize];  // empty while audioEnabled: record from the sound card
  WAVEFORMATEX audioFormat;
  COMPVARS* compressor;  // held by whoever made it with createCompressorRecord
  bool playAfterCreating;
  DWORD splitSizeMB;
};

ExportSettings defaultExportSettings();

// Uncompressed frames ("DIB "), a key frame every 15, 300 KB/s, default quality.
// Null when the memory cannot be had; freed by a CompressorRecord or freeCompressorRecord.
COMPVARS* createCompressorRecord();

// Bytes of sound per video frame, rounded up to whole sample frames.
DWORD soundChunkBytes(const WAVEFORMATEX& format, LONG frameRate100);
