// The movie's dictionary entries that the display list can place.
#pragma once

#include <cstdint>
#include <memory>
#include <unordered_map>

#include "../tags/shape.h"
#include "timeline.h"

namespace swf {

struct Character {
  // Inert characters (text, bitmaps, buttons, morph shapes, video) take a
  // depth like any other but draw nothing yet.
  enum class Kind : uint8_t { Shape, Sprite, Inert };
  Kind kind = Kind::Inert;
  std::shared_ptr<const Shape> shape;
  std::shared_ptr<const Timeline> sprite;
};

using Dictionary = std::unordered_map<uint16_t, Character>;

}  // namespace swf
