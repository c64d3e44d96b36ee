// BUTTONRECORDs up to their end flag, then DefineButton's one action list or
// DefineButton2's BUTTONCONDACTIONs, each sized by its offset field.
#include "../read/swf_reader.h"
#include "button.h"
#include "filter_parser.h"

namespace swf {
namespace {

// Records beyond this many are dropped: no real button comes near it.
constexpr size_t kMaxButtonRecords = 4096;

bool readRecord(SwfReader& r, int version, ButtonRecord& out) {
  uint8_t flags = r.u8();
  if (flags == 0 || r.overrun()) return false;
  out.states = flags & 0x0F;
  out.characterId = r.u16();
  out.depth = r.u16();
  out.matrix = r.matrix();
  if (version < 2) return !r.overrun();
  out.colorTransform = r.colorTransform(true);
  if (flags & 0x10) {
    if (!parseFilterList(r, out.filters)) return false;
  }
  if (flags & 0x20) out.blendMode = r.u8();
  return !r.overrun();
}

void readConditionActions(const uint8_t* body, size_t length, size_t at, Button& out) {
  while (at + 4 <= length) {
    size_t next = body[at] | body[at + 1] << 8;
    ButtonAction a;
    a.conditions = uint16_t(body[at + 2] << 8 | body[at + 3]);
    a.actions = body + at + 4;
    size_t end = next == 0 || at + next > length ? length : at + next;
    if (end < at + 4) return;
    a.size = end - (at + 4);
    out.actions.push_back(a);
    if (next == 0 || at + next >= length) return;
    at += next;
  }
}

}  // namespace

bool parseButton(const uint8_t* body, size_t length, int buttonVersion, Button& out) {
  SwfReader r(body, length);
  out = Button{};
  out.id = r.u16();
  out.version = buttonVersion;
  size_t actionsAt = 0;
  if (buttonVersion >= 2) {
    out.trackAsMenu = (r.u8() & 1) != 0;
    size_t offset = r.u16();
    if (offset) actionsAt = r.position() - 2 + offset;
  }
  if (r.overrun()) return false;
  ButtonRecord record;
  while (out.records.size() < kMaxButtonRecords && readRecord(r, buttonVersion, record)) {
    out.records.push_back(record);
    record = ButtonRecord{};
  }
  if (buttonVersion < 2) {
    if (!r.overrun()) out.actions.push_back(ButtonAction{OverDownToOverUp, r.cursor(), r.remaining()});
  } else if (actionsAt) {
    readConditionActions(body, length, actionsAt, out);
  }
  return true;
}

bool parseButtonCxform(const uint8_t* body, size_t length, uint16_t& buttonId, ColorTransform& out) {
  SwfReader r(body, length);
  buttonId = r.u16();
  out = r.colorTransform(false);
  return !r.overrun();
}

}  // namespace swf
