#include "morph_interpolation.h"

#include <cmath>

namespace swf {
namespace {

struct Mix {
  double t;

  int32_t operator()(int32_t a, int32_t b) const { return int32_t(std::lround(a + (double(b) - a) * t)); }
  double operator()(double a, double b) const { return a + (b - a) * t; }
  uint8_t channel(uint8_t a, uint8_t b) const { return uint8_t(std::lround(a + (double(b) - a) * t)); }
  Rgba operator()(const Rgba& a, const Rgba& b) const {
    return Rgba{channel(a.r, b.r), channel(a.g, b.g), channel(a.b, b.b), channel(a.a, b.a)};
  }
  Point operator()(const Point& a, const Point& b) const { return Point{(*this)(a.x, b.x), (*this)(a.y, b.y)}; }
  Matrix operator()(const Matrix& a, const Matrix& b) const {
    Matrix m;
    m.a = (*this)(a.a, b.a), m.b = (*this)(a.b, b.b), m.c = (*this)(a.c, b.c), m.d = (*this)(a.d, b.d);
    m.tx = (*this)(a.tx, b.tx), m.ty = (*this)(a.ty, b.ty);
    return m;
  }
};

void mixFill(const Mix& mix, const FillStyle& end, FillStyle& f) {
  f.color = mix(f.color, end.color);
  f.matrix = mix(f.matrix, end.matrix);
  f.gradient.focalPoint = mix(f.gradient.focalPoint, end.gradient.focalPoint);
  for (size_t i = 0; i < f.gradient.stops.size() && i < end.gradient.stops.size(); ++i) {
    GradientStop& s = f.gradient.stops[i];
    s.ratio = mix.channel(s.ratio, end.gradient.stops[i].ratio);
    s.color = mix(s.color, end.gradient.stops[i].color);
  }
}

}  // namespace

void morphAt(const MorphShape& morph, uint16_t ratio, Shape& out) {
  const Mix mix{ratio / 65535.0};
  out = morph.start;
  const Shape& end = morph.end;
  out.bounds.xMin = mix(out.bounds.xMin, end.bounds.xMin);
  out.bounds.xMax = mix(out.bounds.xMax, end.bounds.xMax);
  out.bounds.yMin = mix(out.bounds.yMin, end.bounds.yMin);
  out.bounds.yMax = mix(out.bounds.yMax, end.bounds.yMax);
  for (size_t i = 0; i < out.fills.size() && i < end.fills.size(); ++i) {
    mixFill(mix, end.fills[i], out.fills[i]);
  }
  for (size_t i = 0; i < out.lines.size() && i < end.lines.size(); ++i) {
    LineStyle& l = out.lines[i];
    l.width = uint16_t(mix(int32_t(l.width), int32_t(end.lines[i].width)));
    l.color = mix(l.color, end.lines[i].color);
    if (l.hasFill) mixFill(mix, end.lines[i].fill, l.fill);
  }
  for (size_t i = 0; i < out.edges.size() && i < end.edges.size(); ++i) {
    ShapeEdge& e = out.edges[i];
    e.from = mix(e.from, end.edges[i].from);
    e.control = mix(e.control, end.edges[i].control);
    e.to = mix(e.to, end.edges[i].to);
  }
}

}  // namespace swf
