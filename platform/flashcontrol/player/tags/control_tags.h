// The small tags that steer the movie rather than define characters:
// SetBackgroundColor, FrameLabel, FileAttributes, and the id that starts
// every definition the player keeps without reading further.
#pragma once

#include <cstddef>
#include <cstdint>
#include <string>

namespace swf {

// 0xRRGGBB; false when the body is short.
bool readBackgroundColor(const uint8_t* body, size_t size, uint32_t& rgb);
// The label; a missing terminator ends it at the body's end.
std::string readFrameLabel(const uint8_t* body, size_t size);
// Whether the movie declares ActionScript 3; false when the body is empty.
bool readFileAttributes(const uint8_t* body, size_t size, bool& actionScript3);
// The character id a definition tag starts with; false when the body is short.
bool readCharacterId(const uint8_t* body, size_t size, uint16_t& id);

}  // namespace swf
