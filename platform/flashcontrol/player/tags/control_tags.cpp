#include "control_tags.h"

#include "../read/swf_reader.h"

namespace swf {

bool readBackgroundColor(const uint8_t* body, size_t size, uint32_t& rgb) {
  SwfReader r(body, size);
  Rgba c = r.rgb();
  if (r.overrun()) return false;
  rgb = uint32_t(c.r) << 16 | uint32_t(c.g) << 8 | c.b;
  return true;
}

std::string readFrameLabel(const uint8_t* body, size_t size) {
  SwfReader r(body, size);
  return r.string();
}

bool readFileAttributes(const uint8_t* body, size_t size, bool& actionScript3) {
  SwfReader r(body, size);
  uint8_t flags = r.u8();
  if (r.overrun()) return false;
  actionScript3 = (flags & 0x08) != 0;
  return true;
}

bool readCharacterId(const uint8_t* body, size_t size, uint16_t& id) {
  SwfReader r(body, size);
  uint16_t value = r.u16();
  if (r.overrun()) return false;
  id = value;
  return true;
}

}  // namespace swf
