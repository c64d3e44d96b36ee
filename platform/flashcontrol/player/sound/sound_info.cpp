#include "sound_info.h"

#include "sound_bytes.h"

namespace swf {

bool parseStartSound(const uint8_t* body, size_t size, StartSoundCommand* command) {
  SoundBytes bytes(body, size);
  StartSoundCommand parsed;
  parsed.soundId = bytes.u16();
  const uint8_t flags = bytes.u8();
  SoundInfo& info = parsed.info;
  info.syncStop = flags & 0x20;
  info.syncNoMultiple = flags & 0x10;
  info.hasInPoint = flags & 0x01;
  info.hasOutPoint = flags & 0x02;
  if (info.hasInPoint) info.inPoint = bytes.u32();
  if (info.hasOutPoint) info.outPoint = bytes.u32();
  if (flags & 0x04) info.loopCount = bytes.u16();
  if (flags & 0x08) {
    const uint8_t points = bytes.u8();
    for (int i = 0; i < points && !bytes.overrun(); ++i) {
      EnvelopePoint point;
      point.position44 = bytes.u32();
      point.left = bytes.u16();
      point.right = bytes.u16();
      info.envelope.push_back(point);
    }
  }
  if (bytes.overrun()) return false;
  *command = parsed;
  return true;
}

}  // namespace swf
