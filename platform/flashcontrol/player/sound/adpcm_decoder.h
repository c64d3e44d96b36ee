// SWF's own ADPCM: a 2-bit code size (2 to 5 bits per sample), then packets of
// 4096 frames, each opening with every channel's 16-bit sample and 6-bit step
// index, followed by 4095 codes per channel, interleaved. Bits run MSB first.
#pragma once

#include <cstddef>
#include <cstdint>
#include <vector>

namespace swf {

// Appends at most maxFrames frames (all when 0); stops where the bits run out.
void decodeAdpcm(const uint8_t* data, size_t size, int channels, size_t maxFrames, std::vector<int16_t>& out);

}  // namespace swf
