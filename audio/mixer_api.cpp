#include "mixer_api.h"

namespace {

HMIXEROBJ object(HMIXER mixer) { return reinterpret_cast<HMIXEROBJ>(mixer); }

class SystemMixerApi : public MixerApi {
 public:
  UINT deviceCount() override { return mixerGetNumDevs(); }
  MMRESULT open(HMIXER* mixer, UINT device, HWND window) override {
    return mixerOpen(mixer, device, reinterpret_cast<DWORD_PTR>(window), 0, CALLBACK_WINDOW);
  }
  MMRESULT deviceCaps(UINT device, MIXERCAPSA* caps) override { return mixerGetDevCapsA(device, caps, sizeof *caps); }
  MMRESULT lineInfo(HMIXER mixer, MIXERLINEA* line, DWORD flags) override {
    return mixerGetLineInfoA(object(mixer), line, flags | MIXER_OBJECTF_HMIXER);
  }
  MMRESULT lineControls(HMIXER mixer, MIXERLINECONTROLSA* controls, DWORD flags) override {
    return mixerGetLineControlsA(object(mixer), controls, flags | MIXER_OBJECTF_HMIXER);
  }
  MMRESULT getDetails(HMIXER mixer, MIXERCONTROLDETAILS* details) override {
    return mixerGetControlDetailsA(object(mixer), details, MIXER_GETCONTROLDETAILSF_VALUE | MIXER_OBJECTF_HMIXER);
  }
  MMRESULT setDetails(HMIXER mixer, MIXERCONTROLDETAILS* details) override {
    return mixerSetControlDetails(object(mixer), details, MIXER_SETCONTROLDETAILSF_VALUE | MIXER_OBJECTF_HMIXER);
  }
  MMRESULT close(HMIXER mixer) override { return mixerClose(mixer); }
};

}  // namespace

MixerApi& systemMixerApi() {
  static SystemMixerApi api;
  return api;
}
