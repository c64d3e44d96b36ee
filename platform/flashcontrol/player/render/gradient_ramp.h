// The 256 colours a gradient runs through, ready to look up per pixel.
#pragma once

#include <array>

#include "../format/color_transform.h"
#include "../tags/shape.h"
#include "pixel.h"

namespace swf {

using GradientRamp = std::array<Bgra, 256>;

// Stops are coloured by cx first; a gradient without stops is opaque black.
GradientRamp buildGradientRamp(const Gradient& g, const ColorTransform& cx);

// Ramp index of gradient position t (0 at the start, 1 at the end) under a
// spread mode.
int rampIndex(double t, SpreadMode spread);

}  // namespace swf
