#include "sound_library.h"

#include <algorithm>

#include "sound_bytes.h"
#include "sound_decoder.h"
#include "sound_format.h"
#include "upsampler.h"

namespace swf {
namespace {

constexpr size_t kMp3SeekBytes = 2;  // SeekSamples before the MP3 frames

}  // namespace

bool SoundLibrary::define(const uint8_t* body, size_t size) {
  SoundBytes bytes(body, size);
  auto sound = std::make_shared<PlayableSound>();
  sound->id = bytes.u16();
  const SoundFormat format = SoundFormat::fromByte(bytes.u8());
  const uint32_t sampleCount = bytes.u32();
  if (bytes.overrun()) return false;

  const uint8_t* data = bytes.cursor();
  size_t length = bytes.remaining();
  std::unique_ptr<Mp3Decoder> mp3;
  if (format.codec == SoundCodec::Mp3) {
    const size_t skip = std::min(length, kMp3SeekBytes);
    data += skip;
    length -= skip;
    if (mp3_) mp3 = mp3_->create(kMixRate / format.upsampleFactor(), format.channels());
  }
  std::vector<int16_t> native;
  // A count of 0 means "none" here, not "all".
  if (sampleCount != 0) decodeSoundData(format, data, length, sampleCount, mp3.get(), native);
  upsampleToStereo(native.data(), native.size() / format.channels(), format.channels(), format.upsampleFactor(),
                   sound->samples);
  sounds_[sound->id] = std::move(sound);
  return true;
}

std::shared_ptr<const PlayableSound> SoundLibrary::find(uint16_t id) const {
  const auto found = sounds_.find(id);
  return found == sounds_.end() ? nullptr : found->second;
}

}  // namespace swf
