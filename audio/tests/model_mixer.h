// A modelled mixer device for the recording mixer tests: destination lines with
// their source lines, each with controls holding values per channel and item.
#pragma once

#include "mixer_api.h"

#include <vector>

namespace audiotest {

struct ModelControl {
  DWORD id = 0;
  DWORD type = MIXERCONTROL_CONTROLTYPE_VOLUME;
  DWORD flags = 0;  // MIXERCONTROL_CONTROLF_UNIFORM, _MULTIPLE
  DWORD items = 0;  // cMultipleItems
  DWORD minimum = 0;
  DWORD maximum = 65535;
  DWORD steps = 100;
  std::vector<DWORD> values;  // channels (x items), as the details carry them
  bool readFails = false;
  bool writeFails = false;
  int writes = 0;
};

struct ModelLine {
  DWORD componentType = 0;
  DWORD channels = 2;
  std::vector<ModelControl> controls;
};

struct ModelDestination {
  ModelLine line;
  std::vector<ModelLine> sources;
};

class ModelMixer : public MixerApi {
 public:
  UINT deviceCount() override { return present ? 1 : 0; }
  MMRESULT open(HMIXER* mixer, UINT device, HWND window) override;
  MMRESULT deviceCaps(UINT device, MIXERCAPSA* caps) override;
  MMRESULT lineInfo(HMIXER mixer, MIXERLINEA* line, DWORD flags) override;
  MMRESULT lineControls(HMIXER mixer, MIXERLINECONTROLSA* controls, DWORD flags) override;
  MMRESULT getDetails(HMIXER mixer, MIXERCONTROLDETAILS* details) override;
  MMRESULT setDetails(HMIXER mixer, MIXERCONTROLDETAILS* details) override;
  MMRESULT close(HMIXER mixer) override;

  ModelControl* control(DWORD id);

  bool present = true;
  bool openFails = false;
  std::vector<ModelDestination> destinations;
  HWND notifiedWindow = nullptr;
  int opens = 0;
  int closes = 0;
  static HMIXER handle() { return reinterpret_cast<HMIXER>(0x4d58); }

 private:
  ModelLine* lineById(DWORD lineId);
};

}  // namespace audiotest
