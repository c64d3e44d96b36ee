#include "sound_decoder.h"

#include "adpcm_decoder.h"
#include "pcm_decoder.h"

namespace swf {

void decodeSoundData(const SoundFormat& format, const uint8_t* data, size_t size, size_t maxFrames, Mp3Decoder* mp3,
                     std::vector<int16_t>& out) {
  switch (format.codec) {
    case SoundCodec::PcmNativeEndian:
    case SoundCodec::PcmLittleEndian: decodePcm(format, data, size, maxFrames, out); break;
    case SoundCodec::Adpcm: decodeAdpcm(data, size, format.channels(), maxFrames, out); break;
    case SoundCodec::Mp3:
      if (mp3) {
        const size_t before = out.size();
        mp3->decode(data, size, out);
        const size_t limit = before + maxFrames * size_t(format.channels());
        if (maxFrames != 0 && out.size() > limit) out.resize(limit);
        out.resize(before + (out.size() - before) / format.channels() * format.channels());
      }
      break;
    default: break;
  }
}

}  // namespace swf
