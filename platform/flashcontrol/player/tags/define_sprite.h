// DefineSprite: a character with a timeline of its own, whose tags follow
// its header.
#pragma once

#include <cstddef>
#include <cstdint>

namespace swf {

struct SpriteTag {
  uint16_t id = 0;
  int frameCount = 1;  // a declared count of 0 plays as 1
  const uint8_t* tags = nullptr;
  size_t tagsSize = 0;
};

// False when the header does not fit in the body.
bool readDefineSprite(const uint8_t* body, size_t size, SpriteTag& out);

}  // namespace swf
