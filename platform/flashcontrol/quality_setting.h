// The control's Quality (a number) and Quality2 (a name) settings and how
// the player draws under each. The automatic ones adapt to the machine's
// speed in the real control; the stand-in is never short of time, so it
// draws both at high quality. Quality numbers only low, high and the
// automatic two: medium and best read back as high there.
#pragma once

#include "render/quality.h"

struct QualitySetting {
  const wchar_t* name;
  int number;
  swf::Quality drawn;
};

// Case-insensitive; nullptr for names the control refuses.
const QualitySetting* qualityNamed(const wchar_t* name);
// nullptr for numbers the control refuses.
const QualitySetting* qualityNumbered(int number);
// What a new control starts with: high.
const QualitySetting* defaultQuality();
