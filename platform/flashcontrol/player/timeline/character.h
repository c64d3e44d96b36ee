// The movie's dictionary entries that the display list can place: one
// struct per kind, held in a variant. To add a kind, add its struct here
// and to Character; the compiler then names every visit that must handle
// it (visits list each kind, with no catch-all).
#pragma once

#include <cstdint>
#include <memory>
#include <unordered_map>
#include <variant>

#include "../images/decoded_image.h"
#include "../tags/shape.h"
#include "timeline.h"

namespace swf {

struct ShapeCharacter {
  std::shared_ptr<const Shape> shape;
};

struct SpriteCharacter {
  std::shared_ptr<const Timeline> timeline;
};

// Placed on its own a bitmap draws nothing yet; shapes show it through
// their bitmap fills.
struct BitmapCharacter {
  std::shared_ptr<const DecodedImage> image;
};

// Kinds read no further than their id (text, fonts, buttons, morph shapes,
// video, bitmaps that fail to decode): they take a depth like any other
// but draw nothing.
struct InertCharacter {};

using Character = std::variant<InertCharacter, ShapeCharacter, SpriteCharacter, BitmapCharacter>;

using Dictionary = std::unordered_map<uint16_t, Character>;

// std::visit(Overloaded{[](const ShapeCharacter&) {...}, ...}, character)
template <class... Fs>
struct Overloaded : Fs... {
  using Fs::operator()...;
};
template <class... Fs>
Overloaded(Fs...) -> Overloaded<Fs...>;

}  // namespace swf
