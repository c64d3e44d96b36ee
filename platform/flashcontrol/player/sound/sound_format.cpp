#include "sound_format.h"

namespace swf {

SoundFormat SoundFormat::fromByte(uint8_t bits) {
  SoundFormat format;
  format.codec = static_cast<SoundCodec>(bits >> 4);
  format.rateCode = (bits >> 2) & 3;
  format.sixteenBit = (bits & 2) != 0;
  format.stereo = (bits & 1) != 0;
  return format;
}

}  // namespace swf
