// The export behind File > Create AVI: the settings kept for the program's
// run, the compressor record made on first use, the settings dialog and the
// pass it leads to.
#pragma once

#include <cstdint>

#include "export_hand_over.h"
#include "export_settings.h"
#include "recording_pass.h"

class ExportRun : public ExportHandOver {
 public:
  ExportRun();
  ExportRun(const ExportRun&) = delete;
  ExportRun& operator=(const ExportRun&) = delete;

  bool run(ExportHost& host) override;
  void recordingTick(ExportHost& host) override { recording_.tick(host); }
  const ExportSettings& settings() const { return settings_; }

 private:
  CompressorRecord compressor_;
  ExportSettings settings_;  // its compressor is compressor_'s
  uint64_t splitLimit_;
  RecordingPass recording_;
};
