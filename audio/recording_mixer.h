// The recording level of what the sound card plays: the volume control of the
// recording destination line (the master) and of its wave-output source lines, on
// mixer device 0, in the steps of a trackbar. Changes made elsewhere arrive as the
// mixer's control-change notifications to the window given to Open.
#pragma once

#include <windows.h>
#include <mmsystem.h>

#include <memory>
#include <vector>

#include "mixer_api.h"
#include "mixer_control_entry.h"

class RecordingMixer {
 public:
  // Shows that memory ran out (the program's "Out of Memory" box); may be null.
  using OutOfMemoryReport = void (*)();

  explicit RecordingMixer(OutOfMemoryReport outOfMemory, MixerApi& api = systemMixerApi());
  ~RecordingMixer();
  RecordingMixer(const RecordingMixer&) = delete;
  RecordingMixer& operator=(const RecordingMixer&) = delete;

  // The program passes MIXERLINE_COMPONENTTYPE_SRC_WAVEOUT and MIXERCONTROL_CONTROLTYPE_VOLUME.
  // False without a source line of that type carrying the control.
  bool open(HWND window, DWORD sourceType, DWORD controlType);
  DWORD steps() const { return scale_.steps; }
  int level() const;
  bool setLevel(int level);
  // True when the notification is about one of this mixer's controls; level is then
  // the control's newly read level (0 when it cannot be read, with false).
  bool onControlChange(HMIXER mixer, DWORD controlId, int* level);
  void close();

  bool hasMaster() const { return master_ != nullptr; }
  size_t sourceCount() const { return sources_.size(); }

 private:
  using Entry = std::unique_ptr<MixerControlEntry>;
  bool findControl(const MIXERLINEA& line, MIXERCONTROLA* control);
  bool findDestination(MIXERLINEA* destination);
  void setUpMaster(const MIXERLINEA& destination);
  void setUpSources(const MIXERLINEA& destination);
  Entry makeEntry(const MIXERCONTROLA& control, const MIXERLINEA& line, bool* outOfMemory);
  void takeScale(const MIXERCONTROLA& control);
  MixerControlEntry* entryFor(DWORD controlId) const;

  MixerApi& api_;
  OutOfMemoryReport outOfMemory_;
  HMIXER mixer_ = nullptr;
  DWORD sourceType_ = 0;
  DWORD controlType_ = 0;
  Entry master_;
  std::vector<Entry> sources_;
  bool scaleSet_ = false;
  MixerScale scale_;
};
