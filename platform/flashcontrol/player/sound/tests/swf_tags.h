// A test-only walk over a SWF file's tags (plain or zlib-compressed), with the
// nested tags of its sprites, for driving the sound code without the player.
#pragma once

#include <cstddef>
#include <cstdint>
#include <map>
#include <vector>

namespace soundtest {

struct Tag {
  uint16_t code = 0;
  const uint8_t* body = nullptr;
  size_t size = 0;
};

struct SwfTags {
  std::vector<uint8_t> file;  // uncompressed; the tags point into it
  double frameRate = 0;
  std::vector<Tag> root;
  std::map<uint16_t, std::vector<Tag>> sprites;  // DefineSprite id -> nested tags
};

// False when the bytes are not a movie; tags up to the first damaged one otherwise.
bool readSwfTags(const std::vector<uint8_t>& bytes, SwfTags* tags);

}  // namespace soundtest
