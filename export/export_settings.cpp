#include "export_settings.h"

#include <cstdlib>

ExportSettings defaultExportSettings() {
  ExportSettings settings = {};
  settings.sequenceMode = SequenceMode::Normal;
  settings.colorDepth = 24;
  settings.audioEnabled = true;
  settings.audioFormat = WAVEFORMATEX{WAVE_FORMAT_PCM, 2, 44100, 176400, 4, 16, 0};
  settings.splitSizeMB = 2000;
  return settings;
}

COMPVARS* createCompressorRecord() {
  auto* record = static_cast<COMPVARS*>(std::calloc(1, sizeof(COMPVARS)));
  if (!record) return nullptr;
  record->cbSize = sizeof(COMPVARS);
  record->dwFlags = ICMF_COMPVARS_VALID;
  const DWORD dib = mmioFOURCC('D', 'I', 'B', ' ');
  record->hic = ICOpen(ICTYPE_VIDEO, dib, ICMODE_COMPRESS);
  record->fccType = 0;
  record->fccHandler = dib;
  record->lKey = 15;
  record->lDataRate = 300;
  record->lQ = ICQUALITY_DEFAULT;
  return record;
}

DWORD soundChunkBytes(const WAVEFORMATEX& format, LONG frameRate100) {
  if (frameRate100 <= 0) return 0;
  const unsigned long long scaled = static_cast<unsigned long long>(format.nSamplesPerSec) * 100;
  const unsigned long long frames = (scaled + frameRate100 - 1) / frameRate100;
  return static_cast<DWORD>(frames * format.nBlockAlign);
}
