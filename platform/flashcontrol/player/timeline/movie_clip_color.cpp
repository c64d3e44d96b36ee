// A clip's color transform as Color objects read and write it: percent
// multipliers over the format's 8.8 fixed point, whole offsets; and the
// blend mode it is drawn with.
#include <algorithm>
#include <cmath>

#include "movie_clip.h"

namespace swf {
namespace {

int32_t fixedMultiplier(double percent) {
  if (!std::isfinite(percent)) return 0;
  return int32_t(std::max(-32768.0, std::min(32767.0, std::trunc(percent * 256 / 100))));
}

int32_t wholeOffset(double v) {
  if (!std::isfinite(v)) return 0;
  return int32_t(std::max(-32768.0, std::min(32767.0, std::trunc(v))));
}

}  // namespace

void MovieClip::colorTransform(double out[8]) {
  DisplayObject* s = slot();
  const ColorTransform& c = (s ? s->placement : rootPlacement_).colorTransform;
  const int32_t mult[] = {c.rMult, c.gMult, c.bMult, c.aMult};
  const int32_t add[] = {c.rAdd, c.gAdd, c.bAdd, c.aAdd};
  for (int i = 0; i < 4; ++i) {
    out[i] = mult[i] * 100.0 / 256;
    out[4 + i] = add[i];
  }
}

void MovieClip::setColorTransform(const double in[8]) {
  DisplayObject* s = slot();
  if (s) s->scriptTransform = true;
  ColorTransform& c = (s ? s->placement : rootPlacement_).colorTransform;
  int32_t* mult[] = {&c.rMult, &c.gMult, &c.bMult, &c.aMult};
  int32_t* add[] = {&c.rAdd, &c.gAdd, &c.bAdd, &c.aAdd};
  for (int i = 0; i < 4; ++i) {
    *mult[i] = fixedMultiplier(in[i]);
    *add[i] = wholeOffset(in[4 + i]);
  }
}

int MovieClip::blendMode() {
  DisplayObject* s = slot();
  int mode = (s ? s->placement : rootPlacement_).blendMode;
  return std::max(1, mode);
}

void MovieClip::setBlendMode(int mode) {
  DisplayObject* s = slot();
  (s ? s->placement : rootPlacement_).blendMode = uint8_t(mode);
}

}  // namespace swf
