#include "recording_mixer.h"

#include <new>

RecordingMixer::RecordingMixer(OutOfMemoryReport outOfMemory, MixerApi& api) : api_(api), outOfMemory_(outOfMemory) {}

RecordingMixer::~RecordingMixer() { close(); }

bool RecordingMixer::open(HWND window, DWORD sourceType, DWORD controlType) {
  close();
  if (api_.deviceCount() == 0) return false;
  if (api_.open(&mixer_, 0, window) != MMSYSERR_NOERROR) {
    mixer_ = nullptr;
    return false;
  }
  sourceType_ = sourceType;
  controlType_ = controlType;
  MIXERLINEA destination = {};
  if (findDestination(&destination)) {
    if (destination.cControls > 0) setUpMaster(destination);
    setUpSources(destination);
  }
  if (sources_.empty()) {
    close();
    return false;
  }
  return true;
}

// The first recording destination with controls, else the first one without.
// A mixer without any has nothing to record from: its wave-output lines belong
// to playback, whose volume is not the recording level.
bool RecordingMixer::findDestination(MIXERLINEA* destination) {
  MIXERCAPSA caps = {};
  if (api_.deviceCaps(0, &caps) != MMSYSERR_NOERROR) return false;
  bool found = false;
  for (DWORD i = 0; i < caps.cDestinations; ++i) {
    MIXERLINEA line = {};
    line.cbStruct = sizeof line;
    line.dwDestination = i;
    if (api_.lineInfo(mixer_, &line, MIXER_GETLINEINFOF_DESTINATION) != MMSYSERR_NOERROR) continue;
    if (line.dwComponentType != MIXERLINE_COMPONENTTYPE_DST_WAVEIN) continue;
    if (!found || line.cControls > 0) *destination = line;
    found = true;
    if (line.cControls > 0) break;
  }
  return found;
}

bool RecordingMixer::findControl(const MIXERLINEA& line, MIXERCONTROLA* control) {
  *control = {};
  control->cbStruct = sizeof *control;
  MIXERLINECONTROLSA query = {};
  query.cbStruct = sizeof query;
  query.dwLineID = line.dwLineID;
  query.dwControlType = controlType_;
  query.cControls = 1;
  query.cbmxctrl = sizeof *control;
  query.pamxctrl = control;
  return api_.lineControls(mixer_, &query, MIXER_GETLINECONTROLSF_ONEBYTYPE) == MMSYSERR_NOERROR;
}

RecordingMixer::Entry RecordingMixer::makeEntry(const MIXERCONTROLA& control, const MIXERLINEA& line,
                                                bool* outOfMemory) {
  Entry entry(new (std::nothrow) MixerControlEntry);
  const MixerControlEntry::Setup setup = entry ? entry->setUp(control, line) : MixerControlEntry::Setup::OutOfMemory;
  *outOfMemory = setup == MixerControlEntry::Setup::OutOfMemory;
  if (*outOfMemory && outOfMemory_) outOfMemory_();
  if (setup != MixerControlEntry::Setup::Ready) entry.reset();
  return entry;
}

void RecordingMixer::takeScale(const MIXERCONTROLA& control) {
  if (scaleSet_) return;
  scale_ = MixerScale::of(control);
  scaleSet_ = true;
}

void RecordingMixer::setUpMaster(const MIXERLINEA& destination) {
  MIXERCONTROLA control;
  if (!findControl(destination, &control)) return;
  bool outOfMemory = false;
  Entry entry = makeEntry(control, destination, &outOfMemory);
  if (!entry || !entry->read(api_, mixer_)) return;
  master_ = std::move(entry);
  takeScale(control);
}

void RecordingMixer::setUpSources(const MIXERLINEA& destination) {
  for (DWORD i = 0; i < destination.cConnections; ++i) {
    MIXERLINEA line = {};
    line.cbStruct = sizeof line;
    line.dwDestination = destination.dwDestination;
    line.dwSource = i;
    if (api_.lineInfo(mixer_, &line, MIXER_GETLINEINFOF_SOURCE) != MMSYSERR_NOERROR) continue;
    if (line.dwComponentType != sourceType_ || line.cControls == 0) continue;
    MIXERCONTROLA control;
    if (!findControl(line, &control)) continue;
    bool outOfMemory = false;
    Entry entry = makeEntry(control, line, &outOfMemory);
    if (outOfMemory) return;
    if (!entry) continue;
    takeScale(control);
    if (entry->read(api_, mixer_)) sources_.push_back(std::move(entry));
  }
}

int RecordingMixer::level() const {
  const MixerControlEntry* entry = master_ ? master_.get() : sources_.empty() ? nullptr : sources_.front().get();
  return entry ? scale_.levelOf(entry->largestValue()) : 0;
}

bool RecordingMixer::setLevel(int level) {
  if (!mixer_) return false;
  const DWORD value = static_cast<DWORD>(level) * scale_.unit;
  if (master_ && !master_->write(api_, mixer_, value)) return false;
  for (const Entry& source : sources_) {
    if (!source->write(api_, mixer_, value)) return false;
  }
  return true;
}

MixerControlEntry* RecordingMixer::entryFor(DWORD controlId) const {
  if (master_ && master_->controlId() == controlId) return master_.get();
  for (const Entry& source : sources_) {
    if (source->controlId() == controlId) return source.get();
  }
  return nullptr;
}

bool RecordingMixer::onControlChange(HMIXER mixer, DWORD controlId, int* level) {
  *level = 0;
  if (!mixer_ || mixer != mixer_) return false;
  MixerControlEntry* entry = entryFor(controlId);
  if (!entry || !entry->read(api_, mixer_)) return false;
  *level = scale_.levelOf(entry->largestValue());
  return true;
}

void RecordingMixer::close() {
  master_.reset();
  sources_.clear();
  scaleSet_ = false;
  scale_ = {};
  if (mixer_) api_.close(mixer_);
  mixer_ = nullptr;
}
