#include "color_transform.h"

namespace swf {
namespace {

// Keeps multipliers and offsets in a range where products cannot overflow.
int32_t bounded(int64_t v) {
  const int64_t limit = 1 << 20;
  return int32_t(v < -limit ? -limit : (v > limit ? limit : v));
}

int32_t combineMult(int32_t outer, int32_t inner) { return bounded((int64_t(outer) * inner) >> 8); }

int32_t combineAdd(int32_t outerMult, int32_t innerAdd, int32_t outerAdd) {
  return bounded(((int64_t(outerMult) * innerAdd) >> 8) + outerAdd);
}

uint8_t channel(uint8_t c, int32_t mult, int32_t add) {
  int64_t v = ((int64_t(c) * mult) >> 8) + add;
  return uint8_t(v < 0 ? 0 : (v > 255 ? 255 : v));
}

}  // namespace

ColorTransform ColorTransform::operator*(const ColorTransform& in) const {
  ColorTransform t;
  t.rMult = combineMult(rMult, in.rMult);
  t.gMult = combineMult(gMult, in.gMult);
  t.bMult = combineMult(bMult, in.bMult);
  t.aMult = combineMult(aMult, in.aMult);
  t.rAdd = combineAdd(rMult, in.rAdd, rAdd);
  t.gAdd = combineAdd(gMult, in.gAdd, gAdd);
  t.bAdd = combineAdd(bMult, in.bAdd, bAdd);
  t.aAdd = combineAdd(aMult, in.aAdd, aAdd);
  return t;
}

Rgba ColorTransform::apply(const Rgba& c) const {
  return Rgba{channel(c.r, rMult, rAdd), channel(c.g, gMult, gAdd), channel(c.b, bMult, bAdd),
              channel(c.a, aMult, aAdd)};
}

bool ColorTransform::isIdentity() const {
  return rMult == 256 && gMult == 256 && bMult == 256 && aMult == 256 && rAdd == 0 && gAdd == 0 && bAdd == 0 &&
         aAdd == 0;
}

}  // namespace swf
