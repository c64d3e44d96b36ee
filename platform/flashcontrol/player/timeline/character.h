// The movie's dictionary entries that the display list can place.
#pragma once

#include <cstdint>
#include <memory>
#include <unordered_map>

#include "../images/decoded_image.h"
#include "../tags/edit_text.h"
#include "../tags/shape.h"
#include "../text/text_layout.h"
#include "timeline.h"

namespace swf {

struct Character {
  // Inert characters (buttons, morph shapes, video) take a depth like any
  // other but draw nothing yet; nor do bitmaps placed on their own, which
  // shapes show through their bitmap fills. Static text is laid out when
  // defined; each placed text field lays out its own text.
  enum class Kind : uint8_t { Shape, Sprite, Bitmap, Text, EditText, Inert };
  Kind kind = Kind::Inert;
  std::shared_ptr<const Shape> shape;
  std::shared_ptr<const Timeline> sprite;
  std::shared_ptr<const DecodedImage> bitmap;
  std::shared_ptr<const TextLayout> text;
  std::shared_ptr<const EditText> editText;
};

using Dictionary = std::unordered_map<uint16_t, Character>;

}  // namespace swf
