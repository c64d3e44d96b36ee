// DefineMorphShape (46) and DefineMorphShape2 (84): MORPHFILLSTYLE and
// MORPHLINESTYLE(2) arrays, then the start edges and, at the offset the tag
// gives, the end edges, which hold only moves and edges.
#include <algorithm>

#include "../read/swf_reader.h"
#include "morph_shape.h"
#include "shape_parser.h"

namespace swf {
namespace {

size_t readCount(SwfReader& r) {
  size_t n = r.u8();
  return n == 0xFF ? r.u16() : n;
}

void readMorphGradient(SwfReader& r, Gradient& start, Gradient& end) {
  uint8_t head = r.u8();
  SpreadMode spread = SpreadMode((head >> 6) & 3);
  if (uint8_t(spread) > 2) spread = SpreadMode::Pad;
  InterpolationMode interpolation = ((head >> 4) & 3) == 1 ? InterpolationMode::LinearRgb : InterpolationMode::Rgb;
  start.spread = end.spread = spread;
  start.interpolation = end.interpolation = interpolation;
  for (unsigned i = 0, n = head & 0x0F; i < n && !r.overrun(); ++i) {
    GradientStop s, e;
    s.ratio = r.u8();
    s.color = r.rgba();
    e.ratio = r.u8();
    e.color = r.rgba();
    start.stops.push_back(s);
    end.stops.push_back(e);
  }
}

bool readMorphFill(SwfReader& r, FillStyle& start, FillStyle& end) {
  uint8_t type = r.u8();
  switch (type) {
    case 0x00:
      start.kind = end.kind = FillStyle::Kind::Solid;
      start.color = r.rgba();
      end.color = r.rgba();
      return true;
    case 0x10:
    case 0x12:
    case 0x13:
      start.kind = end.kind =
          type == 0x10 ? FillStyle::Kind::Linear : (type == 0x12 ? FillStyle::Kind::Radial : FillStyle::Kind::Focal);
      start.matrix = r.matrix();
      end.matrix = r.matrix();
      readMorphGradient(r, start.gradient, end.gradient);
      if (type == 0x13) {
        start.gradient.focalPoint = r.fixed8();
        end.gradient.focalPoint = r.fixed8();
      }
      return true;
    case 0x40:
    case 0x41:
    case 0x42:
    case 0x43:
      start.kind = end.kind = FillStyle::Kind::Bitmap;
      start.bitmapId = end.bitmapId = r.u16();
      start.bitmapRepeats = end.bitmapRepeats = type == 0x40 || type == 0x42;
      start.bitmapSmoothed = end.bitmapSmoothed = type == 0x40 || type == 0x41;
      start.matrix = r.matrix();
      end.matrix = r.matrix();
      return true;
    default: return false;
  }
}

bool readMorphLine(SwfReader& r, int version, LineStyle& start, LineStyle& end) {
  start.width = r.u16();
  end.width = r.u16();
  if (version < 2) {
    start.color = r.rgba();
    end.color = r.rgba();
    return true;
  }
  LineStyle flags;
  flags.startCap = CapStyle(r.ubits(2) % 3);
  unsigned join = r.ubits(2);
  flags.join = join > 2 ? JoinStyle::Round : JoinStyle(join);
  flags.hasFill = r.flag();
  flags.noHScale = r.flag();
  flags.noVScale = r.flag();
  r.flag();  // pixel hinting
  r.ubits(5);
  flags.noClose = r.flag();
  flags.endCap = CapStyle(r.ubits(2) % 3);
  if (flags.join == JoinStyle::Miter) flags.miterLimit = r.fixed8();
  for (LineStyle* l : {&start, &end}) {
    uint16_t width = l->width;
    *l = flags;
    l->width = width;
  }
  if (flags.hasFill) return readMorphFill(r, start.fill, end.fill);
  start.color = r.rgba();
  end.color = r.rgba();
  return true;
}

bool readStyles(SwfReader& r, int version, MorphShape& m) {
  for (size_t i = 0, n = readCount(r); i < n; ++i) {
    FillStyle s, e;
    if (!readMorphFill(r, s, e) || r.overrun()) return false;
    m.start.fills.push_back(s);
    m.end.fills.push_back(e);
  }
  for (size_t i = 0, n = readCount(r); i < n; ++i) {
    LineStyle s, e;
    if (!readMorphLine(r, version, s, e) || r.overrun()) return false;
    m.start.lines.push_back(s);
    m.end.lines.push_back(e);
  }
  return true;
}

// Every edge of one SHAPE record list, in order, whether it draws or not:
// the start and end lists pair up by position.
class EdgeReader {
 public:
  EdgeReader(SwfReader& r, const Shape& styles) : r_(r), styles_(styles) {}

  void run(std::vector<ShapeEdge>& out) {
    fillBits_ = r_.ubits(4);
    lineBits_ = r_.ubits(4);
    while (!r_.overrun() && out.size() < kMaxShapeEdges) {
      if (r_.flag()) {
        readEdge(out);
      } else if (!readStyleChange()) {
        return;
      }
    }
  }

 private:
  int32_t index(uint32_t raw, size_t count) const { return raw == 0 || raw > count ? -1 : int32_t(raw) - 1; }

  bool readStyleChange() {
    unsigned flags = r_.ubits(5);
    if (flags == 0 || (flags & 16)) return false;  // the end, or new styles, which morphs cannot have
    if (flags & 1) {
      unsigned n = r_.ubits(5);
      int32_t x = r_.sbits(n);
      int32_t y = r_.sbits(n);
      pen_ = Point{clampCoord(x), clampCoord(y)};
    }
    if (flags & 2) fill0_ = index(r_.ubits(fillBits_), styles_.fills.size());
    if (flags & 4) fill1_ = index(r_.ubits(fillBits_), styles_.fills.size());
    if (flags & 8) line_ = index(r_.ubits(lineBits_), styles_.lines.size());
    return true;
  }

  void readEdge(std::vector<ShapeEdge>& out) {
    ShapeEdge e;
    readEdgeGeometry(r_, pen_, e);
    if (r_.overrun()) return;
    e.fill0 = fill0_;
    e.fill1 = fill1_;
    e.line = line_;
    out.push_back(e);
  }

  SwfReader& r_;
  const Shape& styles_;
  unsigned fillBits_ = 0, lineBits_ = 0;
  Point pen_;
  int32_t fill0_ = -1, fill1_ = -1, line_ = -1;
};

// A straight edge paired with a curve becomes a curve through its midpoint.
void promoteToCurve(ShapeEdge& e) {
  e.control = Point{int32_t((int64_t(e.from.x) + e.to.x) / 2), int32_t((int64_t(e.from.y) + e.to.y) / 2)};
  e.curved = true;
}

// Keeps the pairs whose start edge draws something; the end edges take
// their styles from the start.
void pairEdges(std::vector<ShapeEdge>& start, std::vector<ShapeEdge>& end, MorphShape& m) {
  size_t n = std::min(start.size(), end.size());
  for (size_t i = 0; i < n; ++i) {
    ShapeEdge s = start[i], e = end[i];
    if (s.fill0 < 0 && s.fill1 < 0 && s.line < 0) continue;
    if (s.curved != e.curved) promoteToCurve(s.curved ? e : s);
    e.fill0 = s.fill0, e.fill1 = s.fill1, e.line = s.line;
    m.start.edges.push_back(s);
    m.end.edges.push_back(e);
  }
}

}  // namespace

bool parseMorphShape(const uint8_t* body, size_t length, int morphVersion, MorphShape& out) {
  SwfReader r(body, length);
  out = MorphShape{};
  out.id = r.u16();
  out.start.id = out.end.id = out.id;
  out.start.bounds = r.rect();
  out.end.bounds = r.rect();
  if (morphVersion >= 2) {
    r.rect();  // edge bounds
    r.rect();
    r.u8();  // stroke scaling hints
  }
  uint32_t offset = r.u32();
  if (r.overrun()) return false;
  const size_t endAt = r.position() + size_t(offset);
  StyleGroup group;
  if (!readStyles(r, morphVersion, out) || endAt > length) return true;
  group.fillCount = int32_t(out.start.fills.size());
  group.lineCount = int32_t(out.start.lines.size());
  out.start.groups.push_back(group);
  out.end.groups.push_back(group);
  std::vector<ShapeEdge> startEdges, endEdges;
  EdgeReader(r, out.start).run(startEdges);
  SwfReader endReader(body + endAt, length - endAt);
  EdgeReader(endReader, out.start).run(endEdges);
  pairEdges(startEdges, endEdges, out);
  return true;
}

}  // namespace swf
