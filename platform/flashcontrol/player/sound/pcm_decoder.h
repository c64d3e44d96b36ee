// Uncompressed SWF sound: 8-bit unsigned or 16-bit little-endian samples,
// channels interleaved.
#pragma once

#include <cstddef>
#include <cstdint>
#include <vector>

#include "sound_format.h"

namespace swf {

// Appends at most maxFrames whole frames (all of them when maxFrames is 0) as
// 16-bit interleaved samples; a partial frame at the end is dropped.
void decodePcm(const SoundFormat& format, const uint8_t* data, size_t size, size_t maxFrames,
               std::vector<int16_t>& out);

}  // namespace swf
