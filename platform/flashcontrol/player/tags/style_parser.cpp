// FILLSTYLEARRAY, GRADIENT / FOCALGRADIENT and LINESTYLEARRAY (LINESTYLE2).
#include "shape_parser.h"

namespace swf {
namespace {

Rgba readColor(SwfReader& r, int shapeVersion) { return shapeVersion >= 3 ? r.rgba() : r.rgb(); }

size_t readCount(SwfReader& r, int shapeVersion) {
  size_t n = r.u8();
  if (n == 0xFF && shapeVersion >= 2) n = r.u16();
  return n;
}

void readGradient(SwfReader& r, int shapeVersion, Gradient& g) {
  uint8_t head = r.u8();
  g.spread = SpreadMode((head >> 6) & 3);
  if (uint8_t(g.spread) > 2) g.spread = SpreadMode::Pad;
  g.interpolation = ((head >> 4) & 3) == 1 ? InterpolationMode::LinearRgb : InterpolationMode::Rgb;
  unsigned count = head & 0x0F;
  for (unsigned i = 0; i < count && !r.overrun(); ++i) {
    GradientStop s;
    s.ratio = r.u8();
    s.color = readColor(r, shapeVersion);
    g.stops.push_back(s);
  }
}

bool readFillStyle(SwfReader& r, int shapeVersion, FillStyle& f) {
  uint8_t type = r.u8();
  switch (type) {
    case 0x00:
      f.kind = FillStyle::Kind::Solid;
      f.color = readColor(r, shapeVersion);
      return true;
    case 0x10:
    case 0x12:
    case 0x13:
      f.kind =
          type == 0x10 ? FillStyle::Kind::Linear : (type == 0x12 ? FillStyle::Kind::Radial : FillStyle::Kind::Focal);
      f.matrix = r.matrix();
      readGradient(r, shapeVersion, f.gradient);
      if (type == 0x13) f.gradient.focalPoint = r.fixed8();
      return true;
    case 0x40:
    case 0x41:
    case 0x42:
    case 0x43:
      f.kind = FillStyle::Kind::Bitmap;
      f.bitmapId = r.u16();
      f.bitmapRepeats = type == 0x40 || type == 0x42;
      f.bitmapSmoothed = type == 0x40 || type == 0x41;
      f.matrix = r.matrix();
      return true;
    default: return false;
  }
}

bool readLineStyle2(SwfReader& r, LineStyle& l) {
  l.width = r.u16();
  l.startCap = CapStyle(r.ubits(2) % 3);
  unsigned join = r.ubits(2);
  l.join = join > 2 ? JoinStyle::Round : JoinStyle(join);
  l.hasFill = r.flag();
  l.noHScale = r.flag();
  l.noVScale = r.flag();
  r.flag();  // pixel hinting
  r.ubits(5);
  l.noClose = r.flag();
  l.endCap = CapStyle(r.ubits(2) % 3);
  if (l.join == JoinStyle::Miter) l.miterLimit = r.fixed8();
  if (!l.hasFill) {
    l.color = r.rgba();
    return true;
  }
  return readFillStyle(r, 4, l.fill);
}

}  // namespace

bool parseFillStyles(SwfReader& r, int shapeVersion, std::vector<FillStyle>& out) {
  size_t n = readCount(r, shapeVersion);
  for (size_t i = 0; i < n; ++i) {
    FillStyle f;
    if (!readFillStyle(r, shapeVersion, f) || r.overrun()) return false;
    out.push_back(f);
  }
  return true;
}

bool parseLineStyles(SwfReader& r, int shapeVersion, std::vector<LineStyle>& out) {
  size_t n = readCount(r, shapeVersion);
  for (size_t i = 0; i < n; ++i) {
    LineStyle l;
    if (shapeVersion >= 4) {
      if (!readLineStyle2(r, l)) return false;
    } else {
      l.width = r.u16();
      l.color = readColor(r, shapeVersion);
    }
    if (r.overrun()) return false;
    out.push_back(l);
  }
  return true;
}

}  // namespace swf
