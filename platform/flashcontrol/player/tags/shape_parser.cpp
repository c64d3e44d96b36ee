// SHAPEWITHSTYLE records: style changes and straight or curved edges.
#include "shape_parser.h"

namespace swf {

int32_t clampCoord(int64_t v) { return int32_t(v < -kCoordLimit ? -kCoordLimit : (v > kCoordLimit ? kCoordLimit : v)); }

void readEdgeGeometry(SwfReader& r, Point& pen, ShapeEdge& e) {
  e.from = pen;
  bool straight = r.flag();
  unsigned n = r.ubits(4) + 2;
  if (straight) {
    int32_t dx = 0, dy = 0;
    if (r.flag()) {
      dx = r.sbits(n);
      dy = r.sbits(n);
    } else if (r.flag()) {
      dy = r.sbits(n);
    } else {
      dx = r.sbits(n);
    }
    e.to = Point{clampCoord(int64_t(pen.x) + dx), clampCoord(int64_t(pen.y) + dy)};
    e.control = e.to;
  } else {
    int32_t cdx = r.sbits(n), cdy = r.sbits(n);
    int32_t adx = r.sbits(n), ady = r.sbits(n);
    e.control = Point{clampCoord(int64_t(pen.x) + cdx), clampCoord(int64_t(pen.y) + cdy)};
    e.to = Point{clampCoord(int64_t(e.control.x) + adx), clampCoord(int64_t(e.control.y) + ady)};
    e.curved = true;
  }
  pen = e.to;
}

namespace {

class ShapeRecordReader {
 public:
  ShapeRecordReader(SwfReader& r, int version, Shape& shape) : r_(r), version_(version), shape_(shape) {}

  void run() {
    startGroup();
    fillBits_ = r_.ubits(4);
    lineBits_ = r_.ubits(4);
    while (!r_.overrun()) {
      if (r_.flag()) {
        readEdge();
      } else if (!readStyleChange()) {
        return;
      }
    }
  }

 private:
  void startGroup() {
    StyleGroup g;
    g.firstFill = int32_t(groupFillStart_);
    g.fillCount = int32_t(shape_.fills.size() - groupFillStart_);
    g.firstLine = int32_t(groupLineStart_);
    g.lineCount = int32_t(shape_.lines.size() - groupLineStart_);
    shape_.groups.push_back(g);
  }

  int32_t fillIndex(uint32_t raw) const {
    const StyleGroup& g = shape_.groups.back();
    return raw == 0 || int32_t(raw) > g.fillCount ? -1 : g.firstFill + int32_t(raw) - 1;
  }

  int32_t lineIndex(uint32_t raw) const {
    const StyleGroup& g = shape_.groups.back();
    return raw == 0 || int32_t(raw) > g.lineCount ? -1 : g.firstLine + int32_t(raw) - 1;
  }

  // False at the end record or when new styles cannot be read.
  bool readStyleChange() {
    unsigned flags = r_.ubits(5);
    if (flags == 0) return false;
    if (flags & 1) {
      unsigned n = r_.ubits(5);
      int32_t x = r_.sbits(n);
      int32_t y = r_.sbits(n);
      pen_ = Point{clampCoord(x), clampCoord(y)};
    }
    bool hasFill0 = flags & 2, hasFill1 = flags & 4, hasLine = flags & 8;
    uint32_t rawFill0 = hasFill0 ? r_.ubits(fillBits_) : 0;
    uint32_t rawFill1 = hasFill1 ? r_.ubits(fillBits_) : 0;
    uint32_t rawLine = hasLine ? r_.ubits(lineBits_) : 0;
    if ((flags & 16) && version_ >= 2) {
      if (!readNewStyles()) return false;
      fill0_ = fill1_ = line_ = -1;
    }
    if (hasFill0) fill0_ = fillIndex(rawFill0);
    if (hasFill1) fill1_ = fillIndex(rawFill1);
    if (hasLine) line_ = lineIndex(rawLine);
    return true;
  }

  bool readNewStyles() {
    groupFillStart_ = shape_.fills.size();
    groupLineStart_ = shape_.lines.size();
    if (!parseFillStyles(r_, version_, shape_.fills)) return false;
    if (!parseLineStyles(r_, version_, shape_.lines)) return false;
    startGroup();
    fillBits_ = r_.ubits(4);
    lineBits_ = r_.ubits(4);
    return true;
  }

  void readEdge() {
    ShapeEdge e;
    readEdgeGeometry(r_, pen_, e);
    if (r_.overrun()) return;
    e.fill0 = fill0_;
    e.fill1 = fill1_;
    e.line = line_;
    bool drawsSomething = e.fill0 >= 0 || e.fill1 >= 0 || e.line >= 0;
    if (drawsSomething && shape_.edges.size() < kMaxShapeEdges) shape_.edges.push_back(e);
  }

  SwfReader& r_;
  int version_;
  Shape& shape_;
  unsigned fillBits_ = 0, lineBits_ = 0;
  size_t groupFillStart_ = 0, groupLineStart_ = 0;
  Point pen_;
  int32_t fill0_ = -1, fill1_ = -1, line_ = -1;
};

}  // namespace

bool parseShape(const uint8_t* body, size_t length, int shapeVersion, Shape& out) {
  SwfReader r(body, length);
  out = Shape{};
  out.id = r.u16();
  out.bounds = r.rect();
  if (shapeVersion >= 4) {
    r.rect();  // edge bounds
    uint8_t flags = r.u8();
    out.nonZeroWinding = (flags & 0x04) != 0;
  }
  if (r.overrun()) return false;
  if (parseFillStyles(r, shapeVersion, out.fills) && parseLineStyles(r, shapeVersion, out.lines)) {
    ShapeRecordReader(r, shapeVersion, out).run();
  }
  return true;
}

// A glyph's SHAPE: records only, painted with the one fill its edges name.
void parseGlyphShape(const uint8_t* body, size_t length, Shape& out) {
  SwfReader r(body, length);
  out = Shape{};
  out.fills.resize(1);
  ShapeRecordReader(r, 1, out).run();
}

}  // namespace swf
