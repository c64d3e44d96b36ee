// What a button shows in one of its states, as a one-frame timeline: every
// record of that state placed at its depth with its matrix, colour transform
// and blend mode. A button instance plays it like a sprite, so clips in it
// animate as they do anywhere.
#pragma once

#include <cstdint>
#include <memory>

#include "../tags/button.h"
#include "timeline.h"

namespace swf {

// state is one ButtonState bit.
std::shared_ptr<const Timeline> buttonStateTimeline(const Button& button, uint8_t state);

}  // namespace swf
