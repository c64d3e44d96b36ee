// CXFORM: per channel c' = c * mult / 256 + add, clamped to 0..255.
#pragma once

#include <cstdint>

#include "color.h"

namespace swf {

struct ColorTransform {
  int32_t rMult = 256, gMult = 256, bMult = 256, aMult = 256;
  int32_t rAdd = 0, gAdd = 0, bAdd = 0, aAdd = 0;

  // this * inner: inner is applied first (a child's transform inside its parent's).
  ColorTransform operator*(const ColorTransform& inner) const;
  Rgba apply(const Rgba& c) const;
  bool isIdentity() const;
};

}  // namespace swf
