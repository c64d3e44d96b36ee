// The format of a sound as SWF sound tags give it in one byte: codec, rate,
// sample size and channels.
#pragma once

#include <cstdint>

namespace swf {

enum class SoundCodec : uint8_t {
  PcmNativeEndian = 0,  // written by little-endian machines: read as little-endian
  Adpcm = 1,
  Mp3 = 2,
  PcmLittleEndian = 3,
  Nellymoser16k = 4,
  Nellymoser8k = 5,
  Nellymoser = 6,
  Speex = 11,
};

struct SoundFormat {
  SoundCodec codec = SoundCodec::PcmLittleEndian;
  uint8_t rateCode = 3;  // 0: 5512.5 Hz, 1: 11025, 2: 22050, 3: 44100
  bool sixteenBit = true;
  bool stereo = false;

  // codec in the top four bits, then rate (2), size (1), type (1).
  static SoundFormat fromByte(uint8_t bits);
  int channels() const { return stereo ? 2 : 1; }
  // Output frames at 44100 Hz per source frame.
  int upsampleFactor() const { return 8 >> rateCode; }
  bool isPcm() const { return codec == SoundCodec::PcmNativeEndian || codec == SoundCodec::PcmLittleEndian; }
};

}  // namespace swf
