// One object on a display list: where the timeline put it and, for sprites,
// the movie clip instance with its own playhead.
#pragma once

#include <memory>

#include "text_field_instance.h"
#include "character.h"
#include "placement.h"

namespace swf {

class MovieClip;

struct DisplayObject {
  Placement placement;
  const Character* character = nullptr;  // nullptr: the id names nothing defined
  std::unique_ptr<MovieClip> clip;
  std::unique_ptr<TextFieldInstance> textField;  // text fields: the text they show now
  // Scripts moved it (the timeline no longer does) or made it (gotos keep it).
  bool scriptTransform = false;
  bool scripted = false;

  DisplayObject();
  DisplayObject(DisplayObject&&) noexcept;
  DisplayObject& operator=(DisplayObject&&) noexcept;
  ~DisplayObject();
};

// Buttons play their up state as a clip but take no clip events.
bool isButton(const DisplayObject& obj);

}  // namespace swf
