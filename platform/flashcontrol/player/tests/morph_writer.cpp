#include "morph_writer.h"

namespace playertest {
namespace {

void putMatrix(Bytes& out, const Matrix& m) {
  mvqtest::BitWriter w;
  mvqtest::writeMatrix(w, m);
  mvqtest::append(out, w.bytes());
}

void putCount(Bytes& out, size_t n) {
  mvqtest::putU8(out, uint32_t(n < 0xFF ? n : 0xFF));
  if (n >= 0xFF) mvqtest::putU16(out, uint32_t(n));
}

}  // namespace

MorphWriter& MorphWriter::fill(const FillDraft& start, const FillDraft& end) {
  fills_.emplace_back(start, end);
  start_.fill(start);  // only counted: the start edges' index widths
  return *this;
}

MorphWriter& MorphWriter::line(const MorphLineDraft& l) {
  lines_.push_back(l);
  start_.line(LineDraft::solid(l.startWidth, l.startColor));
  return *this;
}

void MorphWriter::writeFill(Bytes& out, const FillDraft& s, const FillDraft& e) const {
  mvqtest::putU8(out, s.type);
  if (s.type == 0x00) {
    mvqtest::putRgba(out, s.color);
    mvqtest::putRgba(out, e.color);
    return;
  }
  if (s.type >= 0x40) mvqtest::putU16(out, s.bitmap);
  putMatrix(out, s.matrix);
  putMatrix(out, e.matrix);
  if (s.type >= 0x40) return;
  mvqtest::putU8(out, uint32_t(s.spread << 6 | s.interpolation << 4 | (s.stops.size() & 15)));
  for (size_t i = 0; i < s.stops.size(); ++i) {
    mvqtest::putU8(out, s.stops[i].ratio);
    mvqtest::putRgba(out, s.stops[i].color);
    mvqtest::putU8(out, e.stops[i].ratio);
    mvqtest::putRgba(out, e.stops[i].color);
  }
  if (s.type == 0x13) {
    mvqtest::putU16(out, uint32_t(int16_t(s.focal * 256)));
    mvqtest::putU16(out, uint32_t(int16_t(e.focal * 256)));
  }
}

Bytes MorphWriter::body(uint16_t id, const mvqtest::Rect& startBounds, const mvqtest::Rect& endBounds) const {
  Bytes out;
  mvqtest::putU16(out, id);
  mvqtest::append(out, mvqtest::rectBytes(startBounds));
  mvqtest::append(out, mvqtest::rectBytes(endBounds));
  if (version_ >= 2) {
    mvqtest::append(out, mvqtest::rectBytes(startBounds));
    mvqtest::append(out, mvqtest::rectBytes(endBounds));
    mvqtest::putU8(out, 0x01);  // scaling strokes
  }
  Bytes styles;
  putCount(styles, fills_.size());
  for (const auto& f : fills_) writeFill(styles, f.first, f.second);
  putCount(styles, lines_.size());
  for (const MorphLineDraft& l : lines_) {
    mvqtest::putU16(styles, l.startWidth);
    mvqtest::putU16(styles, l.endWidth);
    if (version_ >= 2) mvqtest::putU16(styles, 0);  // round caps and joins, colours below
    mvqtest::putRgba(styles, l.startColor);
    mvqtest::putRgba(styles, l.endColor);
  }
  Bytes startEdges = start_.records();
  mvqtest::putU32(out, uint32_t(styles.size() + startEdges.size()));
  mvqtest::append(out, styles);
  mvqtest::append(out, startEdges);
  mvqtest::append(out, end_.records());
  return out;
}

Bytes movieWithMorph(const MorphWriter& morph, uint16_t ratio, int stageW, int stageH) {
  mvqtest::SwfBuilder b;
  b.version(8).stage(mvqtest::Rect::pixels(stageW, stageH)).background(255, 255, 255);
  const mvqtest::Rect bounds = mvqtest::Rect::pixels(stageW, stageH);
  b.tag(morph.tagCode(), morph.body(1, bounds, bounds));
  mvqtest::PlaceObject2 place;
  place.character = 1;
  place.ratio = ratio;
  b.placeObject2(place).showFrame();
  return b.finish();
}

}  // namespace playertest
