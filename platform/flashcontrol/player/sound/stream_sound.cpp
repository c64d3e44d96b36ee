#include "stream_sound.h"

#include <algorithm>
#include <vector>

#include "sound_bytes.h"
#include "sound_decoder.h"
#include "upsampler.h"

namespace swf {
namespace {

constexpr size_t kMp3BlockHeaderBytes = 4;  // SampleCount, SeekSamples

}  // namespace

bool parseStreamHead(const uint8_t* body, size_t size, StreamHead* head) {
  SoundBytes bytes(body, size);
  bytes.u8();  // the playback format is only advice
  StreamHead parsed;
  parsed.format = SoundFormat::fromByte(bytes.u8());
  parsed.samplesPerBlock = bytes.u16();
  if (parsed.format.codec == SoundCodec::Mp3) parsed.latencySeek = bytes.s16();
  if (bytes.overrun()) return false;
  *head = parsed;
  return true;
}

StreamSound::StreamSound(const StreamHead& head, Mp3DecoderFactory* mp3) : head_(head) {
  if (head.format.codec == SoundCodec::Mp3 && mp3) {
    mp3_ = mp3->create(kMixRate / head.format.upsampleFactor(), head.format.channels());
  }
}

void StreamSound::addBlock(const uint8_t* body, size_t size) {
  if (head_.format.codec == SoundCodec::Mp3) {
    if (size < kMp3BlockHeaderBytes) return;
    body += kMp3BlockHeaderBytes;
    size -= kMp3BlockHeaderBytes;
  }
  std::vector<int16_t> native;
  decodeSoundData(head_.format, body, size, 0, mp3_.get(), native);
  std::vector<int16_t> stereo;
  const int channels = head_.format.channels();
  upsampleToStereo(native.data(), native.size() / channels, channels, head_.format.upsampleFactor(), stereo);
  queue_.insert(queue_.end(), stereo.begin(), stereo.end());
  if (queue_.size() > 2 * kMaxQueuedFrames) queue_.erase(queue_.begin(), queue_.end() - 2 * kMaxQueuedFrames);
}

size_t StreamSound::mixInto(int32_t* mix, size_t frames) {
  const size_t available = std::min(frames, queuedFrames());
  for (size_t i = 0; i < 2 * available; ++i) mix[i] += queue_[i];
  queue_.erase(queue_.begin(), queue_.begin() + 2 * available);
  return available;
}

}  // namespace swf
