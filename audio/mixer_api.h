// The system's audio mixer functions, as the recording mixer uses them. Tests put a
// modelled mixer behind it: the real mixers of a machine cannot be steered.
#pragma once

#include <windows.h>
#include <mmsystem.h>

class MixerApi {
 public:
  virtual ~MixerApi() = default;
  virtual UINT deviceCount() = 0;
  // Opens the device with control-change notifications sent to window.
  virtual MMRESULT open(HMIXER* mixer, UINT device, HWND window) = 0;
  virtual MMRESULT deviceCaps(UINT device, MIXERCAPSA* caps) = 0;
  virtual MMRESULT lineInfo(HMIXER mixer, MIXERLINEA* line, DWORD flags) = 0;
  virtual MMRESULT lineControls(HMIXER mixer, MIXERLINECONTROLSA* controls, DWORD flags) = 0;
  virtual MMRESULT getDetails(HMIXER mixer, MIXERCONTROLDETAILS* details) = 0;
  virtual MMRESULT setDetails(HMIXER mixer, MIXERCONTROLDETAILS* details) = 0;
  virtual MMRESULT close(HMIXER mixer) = 0;
};

MixerApi& systemMixerApi();
