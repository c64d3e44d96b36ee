#include "export_run.h"

#include <cstdlib>

#include "export_settings_dialog.h"
#include "export_host.h"
#include "message_boxes.h"
#include "resource_ids.h"
#include "video_pass.h"

namespace {

// Tests shorten the split limit (bytes) through the environment; the dialog has no control for it.
uint64_t splitLimitFor(const ExportSettings& settings) {
  char text[32];
  const DWORD length = GetEnvironmentVariableA("MVQ_SPLIT_LIMIT_BYTES", text, sizeof text);
  if (length > 0 && length < sizeof text) {
    const unsigned long long limit = std::strtoull(text, nullptr, 10);
    if (limit > 0) return limit;
  }
  return static_cast<uint64_t>(settings.splitSizeMB) * 1048576;
}

}  // namespace

ExportRun::ExportRun()
    : settings_(defaultExportSettings()), splitLimit_(splitLimitFor(settings_)), recording_(splitLimit_) {}

bool ExportRun::run(ExportHost& host) {
  if (!compressor_.get()) {
    compressor_ = CompressorRecord(createCompressorRecord());
    settings_.compressor = compressor_.get();
    if (!settings_.compressor) {
      errorBox(host.window(), IDS_OUT_OF_MEMORY);
      return false;
    }
  }
  ExportSettings edited = settings_;
  edited.startFrame = 0;
  edited.endFrame = host.frameCount() - 1;
  edited.frameRate100 = static_cast<LONG>(host.frameRate() * 100);
  RECT client;
  GetClientRect(host.window(), &client);
  if (showExportSettingsDialog(GetActiveWindow(), &edited, client.right, client.bottom) == IDCANCEL) return false;
  // The program may have been closed while the dialog was up.
  if (!IsWindow(host.window()) || !host.flash()) return false;
  host.sizeToMovie(client.right, client.bottom, host.keepAspectChecked());
  settings_ = edited;
  // The movie's own sound: recorded first, in real time; the video pass follows from the ticks.
  if (settings_.audioEnabled && !settings_.wavPath[0]) return SUCCEEDED(recording_.start(host, settings_));
  host.setVideoPassActive(true);
  runVideoPass(host, settings_, VideoPassSound{0, 0, 0}, splitLimit_);
  host.setVideoPassActive(false);
  return true;
}
