// An axis-aligned rectangle in twips, as the RECT record stores it.
#pragma once

#include <cstdint>

namespace swf {

struct Rect {
  int32_t xMin = 0;
  int32_t xMax = 0;
  int32_t yMin = 0;
  int32_t yMax = 0;

  int64_t width() const { return int64_t(xMax) - xMin; }
  int64_t height() const { return int64_t(yMax) - yMin; }
};

}  // namespace swf
