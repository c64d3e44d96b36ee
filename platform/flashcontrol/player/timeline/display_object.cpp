#include "display_object.h"

#include "movie_clip.h"

namespace swf {

DisplayObject::DisplayObject() = default;
DisplayObject::DisplayObject(DisplayObject&&) noexcept = default;
DisplayObject& DisplayObject::operator=(DisplayObject&&) noexcept = default;
DisplayObject::~DisplayObject() = default;

bool isButton(const DisplayObject& obj) {
  return obj.character && std::holds_alternative<ButtonCharacter>(*obj.character);
}

}  // namespace swf
