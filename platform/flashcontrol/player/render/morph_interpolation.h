// A morph shape at a placement's ratio: every point, colour, matrix,
// gradient stop, focal point and line width taken linearly between its
// start and end values.
#pragma once

#include <cstdint>

#include "../tags/morph_shape.h"

namespace swf {

// ratio 0 is the start, 65535 the end, as PlaceObject gives it.
void morphAt(const MorphShape& morph, uint16_t ratio, Shape& out);

}  // namespace swf
