#include "model_mixer.h"

#include <cstring>

namespace audiotest {
namespace {

// Line ids: destination in the high word, source + 1 in the low word (0: the destination).
DWORD lineIdOf(DWORD destination, DWORD sourcePlusOne) { return destination << 16 | sourcePlusOne; }

}  // namespace

MMRESULT ModelMixer::open(HMIXER* mixer, UINT device, HWND window) {
  ++opens;
  if (!present || device != 0) return MMSYSERR_BADDEVICEID;
  if (openFails) return MMSYSERR_ALLOCATED;
  notifiedWindow = window;
  *mixer = handle();
  return MMSYSERR_NOERROR;
}

MMRESULT ModelMixer::deviceCaps(UINT device, MIXERCAPSA* caps) {
  if (device != 0 || !present) return MMSYSERR_BADDEVICEID;
  *caps = {};
  caps->cDestinations = static_cast<DWORD>(destinations.size());
  return MMSYSERR_NOERROR;
}

MMRESULT ModelMixer::lineInfo(HMIXER mixer, MIXERLINEA* line, DWORD flags) {
  if (mixer != handle()) return MMSYSERR_INVALHANDLE;
  if (line->dwDestination >= destinations.size()) return MIXERR_INVALLINE;
  const ModelDestination& destination = destinations[line->dwDestination];
  const ModelLine* model = &destination.line;
  DWORD sourcePlusOne = 0;
  if (flags == MIXER_GETLINEINFOF_SOURCE) {
    if (line->dwSource >= destination.sources.size()) return MIXERR_INVALLINE;
    model = &destination.sources[line->dwSource];
    sourcePlusOne = line->dwSource + 1;
  } else if (flags != MIXER_GETLINEINFOF_DESTINATION) {
    return MMSYSERR_INVALFLAG;
  }
  line->dwLineID = lineIdOf(line->dwDestination, sourcePlusOne);
  line->dwComponentType = model->componentType;
  line->cChannels = model->channels;
  line->cConnections = sourcePlusOne ? 0 : static_cast<DWORD>(destination.sources.size());
  line->cControls = static_cast<DWORD>(model->controls.size());
  return MMSYSERR_NOERROR;
}

ModelLine* ModelMixer::lineById(DWORD lineId) {
  const DWORD destination = lineId >> 16;
  const DWORD sourcePlusOne = lineId & 0xFFFF;
  if (destination >= destinations.size()) return nullptr;
  if (sourcePlusOne == 0) return &destinations[destination].line;
  if (sourcePlusOne > destinations[destination].sources.size()) return nullptr;
  return &destinations[destination].sources[sourcePlusOne - 1];
}

MMRESULT ModelMixer::lineControls(HMIXER mixer, MIXERLINECONTROLSA* query, DWORD flags) {
  if (mixer != handle()) return MMSYSERR_INVALHANDLE;
  if (flags != MIXER_GETLINECONTROLSF_ONEBYTYPE || query->cbmxctrl != sizeof(MIXERCONTROLA)) return MMSYSERR_INVALPARAM;
  ModelLine* line = lineById(query->dwLineID);
  if (!line) return MIXERR_INVALLINE;
  for (const ModelControl& model : line->controls) {
    if (model.type != query->dwControlType) continue;
    MIXERCONTROLA& control = *query->pamxctrl;
    std::memset(&control, 0, sizeof control);
    control.cbStruct = sizeof control;
    control.dwControlID = model.id;
    control.dwControlType = model.type;
    control.fdwControl = model.flags;
    control.cMultipleItems = model.items;
    control.Bounds.dwMinimum = model.minimum;
    control.Bounds.dwMaximum = model.maximum;
    control.Metrics.cSteps = model.steps;
    return MMSYSERR_NOERROR;
  }
  return MIXERR_INVALCONTROL;
}

ModelControl* ModelMixer::control(DWORD id) {
  for (ModelDestination& destination : destinations) {
    for (ModelControl& control : destination.line.controls) {
      if (control.id == id) return &control;
    }
    for (ModelLine& source : destination.sources) {
      for (ModelControl& control : source.controls) {
        if (control.id == id) return &control;
      }
    }
  }
  return nullptr;
}

MMRESULT ModelMixer::getDetails(HMIXER mixer, MIXERCONTROLDETAILS* details) {
  if (mixer != handle() || details->cbStruct != sizeof *details || details->cbDetails != sizeof(DWORD)) {
    return MMSYSERR_INVALPARAM;
  }
  ModelControl* model = control(details->dwControlID);
  if (!model) return MIXERR_INVALCONTROL;
  if (model->readFails) return MMSYSERR_ERROR;
  const size_t count = size_t(details->cChannels) * (details->cMultipleItems ? details->cMultipleItems : 1);
  if (count > model->values.size()) return MMSYSERR_INVALPARAM;
  std::memcpy(details->paDetails, model->values.data(), count * sizeof(DWORD));
  return MMSYSERR_NOERROR;
}

MMRESULT ModelMixer::setDetails(HMIXER mixer, MIXERCONTROLDETAILS* details) {
  if (mixer != handle() || details->cbStruct != sizeof *details) return MMSYSERR_INVALPARAM;
  ModelControl* model = control(details->dwControlID);
  if (!model) return MIXERR_INVALCONTROL;
  ++model->writes;
  if (model->writeFails) return MMSYSERR_ERROR;
  const size_t count = size_t(details->cChannels) * (details->cMultipleItems ? details->cMultipleItems : 1);
  if (count > model->values.size()) return MMSYSERR_INVALPARAM;
  std::memcpy(model->values.data(), details->paDetails, count * sizeof(DWORD));
  return MMSYSERR_NOERROR;
}

MMRESULT ModelMixer::close(HMIXER mixer) {
  if (mixer != handle()) return MMSYSERR_INVALHANDLE;
  ++closes;
  return MMSYSERR_NOERROR;
}

}  // namespace audiotest
