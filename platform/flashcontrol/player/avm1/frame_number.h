// Frame numbers scripts pass to gotos, as the real player reads them.
#pragma once

#include <cstdint>

#include "value.h"

namespace swf {
namespace avm1 {

// The 0-based frame of a 1-based number (plus a scene bias): the number
// wraps to 32 bits as integers do, and so does the step down to 0-based;
// a negative result means the goto goes nowhere.
inline int frameIndexOf(double number, int bias = 0) {
  uint32_t n = uint32_t(toInt32(number)) + uint32_t(bias) - 1u;
  return int32_t(n);
}

}  // namespace avm1
}  // namespace swf
