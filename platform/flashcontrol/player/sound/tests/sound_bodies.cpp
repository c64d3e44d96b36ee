#include "sound_bodies.h"

namespace soundtest {

using mvqtest::putU16;
using mvqtest::putU32;
using mvqtest::putU8;

namespace {

uint8_t pcmFormatByte(uint8_t rateCode, bool stereo) { return uint8_t(3 << 4 | rateCode << 2 | 2 | (stereo ? 1 : 0)); }

}  // namespace

Bytes pcmBlock(const std::vector<int16_t>& samples) {
  Bytes out;
  for (int16_t s : samples) putU16(out, static_cast<uint16_t>(s));
  return out;
}

Bytes defineSoundBody(uint16_t id, const std::vector<int16_t>& samples, bool stereo, uint8_t rateCode) {
  Bytes out;
  putU16(out, id);
  putU8(out, pcmFormatByte(rateCode, stereo));
  putU32(out, static_cast<uint32_t>(samples.size() / (stereo ? 2 : 1)));
  mvqtest::append(out, pcmBlock(samples));
  return out;
}

Bytes startSoundBody(uint16_t id, const swf::SoundInfo& info) {
  Bytes out;
  putU16(out, id);
  const bool loops = info.loopCount != 1;
  putU8(out, (info.syncStop ? 0x20 : 0) | (info.syncNoMultiple ? 0x10 : 0) | (info.envelope.empty() ? 0 : 0x08) |
                 (loops ? 0x04 : 0) | (info.hasOutPoint ? 0x02 : 0) | (info.hasInPoint ? 0x01 : 0));
  if (info.hasInPoint) putU32(out, info.inPoint);
  if (info.hasOutPoint) putU32(out, info.outPoint);
  if (loops) putU16(out, info.loopCount);
  if (!info.envelope.empty()) {
    putU8(out, static_cast<uint32_t>(info.envelope.size()));
    for (const swf::EnvelopePoint& point : info.envelope) {
      putU32(out, point.position44);
      putU16(out, point.left);
      putU16(out, point.right);
    }
  }
  return out;
}

Bytes streamHeadBody(uint8_t rateCode, bool stereo, uint16_t samplesPerBlock) {
  Bytes out;
  putU8(out, pcmFormatByte(rateCode, stereo) & 0x0F);
  putU8(out, pcmFormatByte(rateCode, stereo));
  putU16(out, samplesPerBlock);
  return out;
}

}  // namespace soundtest
