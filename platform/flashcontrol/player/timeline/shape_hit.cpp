#include "shape_hit.h"

#include <algorithm>
#include <cmath>
#include <map>

namespace swf {
namespace {

// Curves are tested as this many straight pieces.
constexpr int kCurvePieces = 16;
// A hairline is hit within half a pixel, as wide as it is drawn.
constexpr double kHairlineHalfWidth = 10;

Vec2 pointOn(const ShapeEdge& e, double t) {
  const double u = 1 - t;
  return Vec2{u * u * e.from.x + 2 * u * t * e.control.x + t * t * e.to.x,
              u * u * e.from.y + 2 * u * t * e.control.y + t * t * e.to.y};
}

template <class F>
void forEachPiece(const ShapeEdge& e, F f) {
  if (!e.curved) {
    f(Vec2{double(e.from.x), double(e.from.y)}, Vec2{double(e.to.x), double(e.to.y)});
    return;
  }
  Vec2 a = pointOn(e, 0);
  for (int i = 1; i <= kCurvePieces; ++i) {
    Vec2 b = pointOn(e, double(i) / kCurvePieces);
    f(a, b);
    a = b;
  }
}

double distanceToSegment(Vec2 a, Vec2 b, double x, double y) {
  const double dx = b.x - a.x, dy = b.y - a.y, len = dx * dx + dy * dy;
  double t = len > 0 ? ((x - a.x) * dx + (y - a.y) * dy) / len : 0;
  t = std::max(0.0, std::min(1.0, t));
  return std::hypot(a.x + t * dx - x, a.y + t * dy - y);
}

}  // namespace

bool shapeHits(const Shape& shape, double x, double y) {
  const Rect& b = shape.bounds;
  if (x < b.xMin || x > b.xMax || y < b.yMin || y > b.yMax) return false;
  // Windings of a ray to the right, per fill: the fill on an edge's right
  // side counts its crossings one way, the fill on its left the other.
  std::map<int32_t, int> winding;
  for (const ShapeEdge& e : shape.edges) {
    if (e.line >= 0 && size_t(e.line) < shape.lines.size()) {
      const double half = std::max(kHairlineHalfWidth, shape.lines[size_t(e.line)].width / 2.0);
      bool near = false;
      forEachPiece(e, [&](Vec2 p, Vec2 q) { near = near || distanceToSegment(p, q, x, y) <= half; });
      if (near) return true;
    }
    if (e.fill0 == e.fill1) continue;
    forEachPiece(e, [&](Vec2 p, Vec2 q) {
      if ((p.y < y) == (q.y < y)) return;
      const double cx = p.x + (y - p.y) * (q.x - p.x) / (q.y - p.y);
      if (cx <= x) return;
      const int dir = q.y > p.y ? 1 : -1;
      if (e.fill1 >= 0) winding[e.fill1] += dir;
      if (e.fill0 >= 0) winding[e.fill0] -= dir;
    });
  }
  for (const auto& w : winding) {
    if (shape.nonZeroWinding ? w.second != 0 : (w.second & 1) != 0) return true;
  }
  return false;
}

}  // namespace swf
