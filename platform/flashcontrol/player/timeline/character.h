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
#include "../tags/button.h"
#include "../tags/morph_shape.h"
#include "../tags/edit_text.h"
#include "../tags/shape.h"
#include "../text/text_layout.h"
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

// Drawn in its up state, played as a sprite of one frame; the parsed button
// keeps its actions and conditions for the script engine.
struct ButtonCharacter {
  std::shared_ptr<const Button> button;
  std::shared_ptr<const Timeline> upState;
};

// Drawn at the ratio of its placement.
struct MorphCharacter {
  std::shared_ptr<const MorphShape> morph;
};

// Static text, laid out when defined (its fonts come before it).
struct StaticTextCharacter {
  std::shared_ptr<const TextLayout> layout;
};

// A text field: each placement lays out its own text (DisplayObject::textField).
struct EditTextCharacter {
  std::shared_ptr<const EditText> definition;
};

// Kinds read no further than their id (video, bitmaps that fail to decode):
// they take a depth like any other but draw nothing.
struct InertCharacter {};

using Character = std::variant<InertCharacter, ShapeCharacter, SpriteCharacter, BitmapCharacter, ButtonCharacter,
                               MorphCharacter, StaticTextCharacter, EditTextCharacter>;

using Dictionary = std::unordered_map<uint16_t, Character>;

// std::visit(Overloaded{[](const ShapeCharacter&) {...}, ...}, character)
template <class... Fs>
struct Overloaded : Fs... {
  using Fs::operator()...;
};
template <class... Fs>
Overloaded(Fs...) -> Overloaded<Fs...>;

}  // namespace swf
