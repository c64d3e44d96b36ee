// Bodies of sound tags for the tests, byte by byte.
#pragma once

#include <cstdint>
#include <vector>

#include "byte_writer.h"
#include "sound_info.h"

namespace soundtest {

using mvqtest::Bytes;

// DefineSound with 16-bit little-endian PCM at rate code 3 (44100 Hz) unless given.
Bytes defineSoundBody(uint16_t id, const std::vector<int16_t>& samples, bool stereo = false, uint8_t rateCode = 3);
// StartSound with the fields of info (in and out points, loops, envelope as set).
Bytes startSoundBody(uint16_t id, const swf::SoundInfo& info);
// SoundStreamHead for 16-bit PCM.
Bytes streamHeadBody(uint8_t rateCode, bool stereo, uint16_t samplesPerBlock);
Bytes pcmBlock(const std::vector<int16_t>& samples);

}  // namespace soundtest
