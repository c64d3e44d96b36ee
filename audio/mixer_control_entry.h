// One mixer control that the recording mixer drives: its details record, the values
// of all its channels and items as last read or written, and how the largest of
// them is read (signed or unsigned by the control's units).
#pragma once

#include <windows.h>
#include <mmsystem.h>

#include <cstdint>
#include <memory>

#include "mixer_api.h"

class MixerControlEntry {
 public:
  enum class Setup { Ready, UnusableUnits, OutOfMemory };

  Setup setUp(const MIXERCONTROLA& control, const MIXERLINEA& line);

  DWORD controlId() const { return details_.dwControlID; }
  bool read(MixerApi& api, HMIXER mixer);
  // Sets every channel and item to value.
  bool write(MixerApi& api, HMIXER mixer, DWORD value);
  int64_t largestValue() const;

 private:
  MIXERCONTROLDETAILS details_ = {};
  std::unique_ptr<DWORD[]> values_;
  DWORD valueCount_ = 0;
  bool signedValues_ = false;
};

// Steps and unit of a control: unit = (maximum - minimum) / steps, 0 without steps.
struct MixerScale {
  DWORD steps = 0;
  DWORD unit = 0;
  static MixerScale of(const MIXERCONTROLA& control);
  int levelOf(int64_t value) const;
};
