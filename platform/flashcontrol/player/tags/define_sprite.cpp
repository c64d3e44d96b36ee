#include "define_sprite.h"

#include "../read/swf_reader.h"

namespace swf {

bool readDefineSprite(const uint8_t* body, size_t size, SpriteTag& out) {
  SwfReader r(body, size);
  SpriteTag t;
  t.id = r.u16();
  int declared = r.u16();
  if (r.overrun()) return false;
  t.frameCount = declared > 0 ? declared : 1;
  t.tags = r.cursor();
  t.tagsSize = r.remaining();
  out = t;
  return true;
}

}  // namespace swf
