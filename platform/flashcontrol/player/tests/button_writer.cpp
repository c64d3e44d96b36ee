#include "button_writer.h"

#include <algorithm>

#include "bit_writer.h"

namespace playertest {
namespace {

void putRecords(Bytes& out, const std::vector<ButtonRecordDraft>& records, int version) {
  for (const ButtonRecordDraft& r : records) {
    mvqtest::putU8(out, uint32_t(r.states | (r.blendMode ? 0x20 : 0)));
    mvqtest::putU16(out, r.character);
    mvqtest::putU16(out, r.depth);
    mvqtest::BitWriter w;
    mvqtest::writeMatrix(w, r.matrix);
    if (version >= 2) {
      w.align();
      mvqtest::writeColorTransform(w, r.cx);
    }
    mvqtest::append(out, w.bytes());
    if (version >= 2 && r.blendMode) mvqtest::putU8(out, *r.blendMode);
  }
  mvqtest::putU8(out, 0);
}

}  // namespace

Bytes buttonBody(uint16_t id, const std::vector<ButtonRecordDraft>& records, const Bytes& actions) {
  Bytes out;
  mvqtest::putU16(out, id);
  putRecords(out, records, 1);
  mvqtest::append(out, actions);
  return out;
}

Bytes button2Body(uint16_t id, const std::vector<ButtonRecordDraft>& records,
                  const std::vector<ButtonActionDraft>& actions, bool trackAsMenu) {
  Bytes out;
  mvqtest::putU16(out, id);
  mvqtest::putU8(out, trackAsMenu ? 1 : 0);
  Bytes recs;
  putRecords(recs, records, 2);
  mvqtest::putU16(out, actions.empty() ? 0 : uint32_t(recs.size() + 2));
  mvqtest::append(out, recs);
  for (size_t i = 0; i < actions.size(); ++i) {
    const ButtonActionDraft& a = actions[i];
    bool last = i + 1 == actions.size();
    mvqtest::putU16(out, last ? 0 : uint32_t(a.actions.size() + 4));
    mvqtest::putU8(out, uint32_t(a.conditions >> 8));
    mvqtest::putU8(out, uint32_t(a.conditions & 0xFF));
    mvqtest::append(out, a.actions);
  }
  return out;
}

Bytes buttonCxformBody(uint16_t id, const mvqtest::ColorTransform& cx) {
  Bytes out;
  mvqtest::putU16(out, id);
  int n = 2;
  for (int v : {cx.multR, cx.multG, cx.multB, cx.addR, cx.addG, cx.addB}) {
    n = std::max(n, mvqtest::BitWriter::signedBits(v));
  }
  mvqtest::BitWriter w;
  w.writeUnsigned(1, 1).writeUnsigned(1, 1).writeUnsigned(uint32_t(n), 4);
  for (int v : {cx.multR, cx.multG, cx.multB, cx.addR, cx.addG, cx.addB}) w.writeSigned(v, n);
  mvqtest::append(out, w.bytes());
  return out;
}

}  // namespace playertest
