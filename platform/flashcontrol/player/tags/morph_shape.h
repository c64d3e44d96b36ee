// A parsed DefineMorphShape or DefineMorphShape2: the shape at its start and
// at its end, with the same styles and the same edges in the same order, so
// that any ratio between them is a plain interpolation.
#pragma once

#include <cstddef>
#include <cstdint>

#include "shape.h"

namespace swf {

struct MorphShape {
  uint16_t id = 0;
  Shape start;  // start.edges[i] becomes end.edges[i]; both are curved or both straight
  Shape end;
};

// False when the tag is too damaged to give a character id; otherwise out
// holds whatever could be read (edges only where both ends were read).
bool parseMorphShape(const uint8_t* body, size_t length, int morphVersion, MorphShape& out);

}  // namespace swf
