#include "text_layout.h"

namespace swf {
namespace {

Shape makeUnitSquare() {
  Shape s;
  s.fills.resize(1);
  s.groups.push_back(StyleGroup{0, 1, 0, 0});
  const Point corners[] = {{0, 0}, {1, 0}, {1, 1}, {0, 1}};
  for (int i = 0; i < 4; ++i) {
    ShapeEdge e;
    e.from = corners[i];
    e.to = e.control = corners[(i + 1) % 4];
    e.fill1 = 0;
    s.edges.push_back(e);
  }
  return s;
}

}  // namespace

const Shape& unitSquare() {
  static const Shape kSquare = makeUnitSquare();
  return kSquare;
}

PlacedGlyph placedRect(double x0, double y0, double x1, double y1, const Rgba& color) {
  Matrix m;
  m.a = x1 - x0;
  m.d = y1 - y0;
  m.tx = x0;
  m.ty = y0;
  return PlacedGlyph{&unitSquare(), m, color};
}

}  // namespace swf
