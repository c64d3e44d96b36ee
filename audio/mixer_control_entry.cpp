#include "mixer_control_entry.h"

#include <algorithm>
#include <new>

namespace {

bool unitsUsable(DWORD units) {
  return units == MIXERCONTROL_CT_UNITS_BOOLEAN || units == MIXERCONTROL_CT_UNITS_SIGNED ||
         units == MIXERCONTROL_CT_UNITS_UNSIGNED || units == MIXERCONTROL_CT_UNITS_DECIBELS ||
         units == MIXERCONTROL_CT_UNITS_PERCENT;
}

}  // namespace

MixerControlEntry::Setup MixerControlEntry::setUp(const MIXERCONTROLA& control, const MIXERLINEA& line) {
  const DWORD units = control.dwControlType & MIXERCONTROL_CT_UNITS_MASK;
  if (!unitsUsable(units)) return Setup::UnusableUnits;
  signedValues_ = units != MIXERCONTROL_CT_UNITS_UNSIGNED && units != MIXERCONTROL_CT_UNITS_DECIBELS;

  details_ = {};
  details_.cbStruct = sizeof(MIXERCONTROLDETAILS);
  details_.dwControlID = control.dwControlID;
  details_.cChannels = (control.fdwControl & MIXERCONTROL_CONTROLF_UNIFORM) ? 1 : line.cChannels;
  details_.cMultipleItems = (control.fdwControl & MIXERCONTROL_CONTROLF_MULTIPLE) ? control.cMultipleItems : 0;
  details_.cbDetails = sizeof(DWORD);

  const uint64_t count = uint64_t(std::max<DWORD>(details_.cMultipleItems, 1)) * details_.cChannels;
  valueCount_ = 0;
  values_.reset();
  if (count == 0 || count > 0x10000000) return Setup::OutOfMemory;
  values_.reset(new (std::nothrow) DWORD[count]());
  if (!values_) return Setup::OutOfMemory;
  valueCount_ = static_cast<DWORD>(count);
  details_.paDetails = values_.get();
  return Setup::Ready;
}

bool MixerControlEntry::read(MixerApi& api, HMIXER mixer) {
  return values_ && api.getDetails(mixer, &details_) == MMSYSERR_NOERROR;
}

bool MixerControlEntry::write(MixerApi& api, HMIXER mixer, DWORD value) {
  if (!values_) return false;
  std::fill(values_.get(), values_.get() + valueCount_, value);
  return api.setDetails(mixer, &details_) == MMSYSERR_NOERROR;
}

int64_t MixerControlEntry::largestValue() const {
  int64_t largest = 0;
  for (DWORD i = 0; i < valueCount_; ++i) {
    const int64_t value = signedValues_ ? int64_t(LONG(values_[i])) : int64_t(values_[i]);
    largest = i == 0 ? value : std::max(largest, value);
  }
  return largest;
}

MixerScale MixerScale::of(const MIXERCONTROLA& control) {
  MixerScale scale;
  scale.steps = control.Metrics.cSteps;
  if (scale.steps != 0) scale.unit = (control.Bounds.dwMaximum - control.Bounds.dwMinimum) / scale.steps;
  return scale;
}

int MixerScale::levelOf(int64_t value) const { return unit == 0 ? 0 : static_cast<int>(value / int64_t(unit)); }
