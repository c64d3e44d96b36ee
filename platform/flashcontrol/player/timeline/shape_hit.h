// Whether a point lies on what a shape draws: inside one of its fills or on
// one of its lines (hitTest with the shape flag).
#pragma once

#include "../tags/shape.h"

namespace swf {

// x and y in the shape's twips.
bool shapeHits(const Shape& shape, double x, double y);

}  // namespace swf
