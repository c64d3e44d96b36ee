#include "clip_actions.h"

namespace swf {

void readClipActions(SwfReader& r, int swfVersion, std::vector<ClipActionRecord>& out) {
  const bool wide = swfVersion >= 6;
  r.u16();  // reserved
  if (wide) {
    r.u32();  // all events
  } else {
    r.u16();
  }
  while (!r.overrun() && r.remaining() > 0) {
    ClipActionRecord rec;
    rec.events = wide ? r.u32() : r.u16();
    if (rec.events == 0 || r.overrun()) return;
    uint32_t size = r.u32();
    if (r.overrun() || size > r.remaining()) return;
    if (wide && (rec.events & 0x20000)) {  // key press: a key code first
      if (size < 1) return;
      rec.keyCode = r.u8();
      --size;
    }
    rec.code = r.cursor();
    rec.size = size;
    r.skip(size);
    out.push_back(rec);
  }
}

}  // namespace swf
