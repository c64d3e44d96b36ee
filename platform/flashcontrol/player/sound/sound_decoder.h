// Any SWF sound data to 16-bit samples at its own rate: PCM and ADPCM here, MP3
// through the platform's decoder (silent without one); Nellymoser and Speex are
// not decoded and play as silence.
#pragma once

#include <cstddef>
#include <cstdint>
#include <vector>

#include "mp3_decoder.h"
#include "sound_format.h"

namespace swf {

// Appends at most maxFrames frames (all when 0) of interleaved samples.
void decodeSoundData(const SoundFormat& format, const uint8_t* data, size_t size, size_t maxFrames, Mp3Decoder* mp3,
                     std::vector<int16_t>& out);

}  // namespace swf
