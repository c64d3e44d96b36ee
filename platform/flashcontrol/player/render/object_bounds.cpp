#include "object_bounds.h"

#include <algorithm>
#include <cmath>

#include "../timeline/movie_clip.h"
#include "filter_renderer.h"

namespace swf {
namespace {

// Anti-aliasing and lines kept a pixel wide reach a little past the bounds.
constexpr int kEdgeMargin = 2;

int clampCoord(double v) { return int(std::max(-double(1 << 28), std::min(double(1 << 28), v))); }

PixelBox boxOfRect(const Rect& r, const Matrix& m, int margin) {
  const Vec2 corners[4] = {m.apply(r.xMin, r.yMin), m.apply(r.xMax, r.yMin), m.apply(r.xMin, r.yMax),
                           m.apply(r.xMax, r.yMax)};
  double x0 = corners[0].x, x1 = x0, y0 = corners[0].y, y1 = y0;
  for (const Vec2& c : corners) {
    x0 = std::min(x0, c.x), x1 = std::max(x1, c.x);
    y0 = std::min(y0, c.y), y1 = std::max(y1, c.y);
  }
  return grow(PixelBox{clampCoord(std::floor(x0)), clampCoord(std::floor(y0)), clampCoord(std::ceil(x1)),
                       clampCoord(std::ceil(y1))},
              margin, margin);
}

PixelBox contentBounds(const DisplayObject& obj, const Matrix& m, double scale, Extent extent) {
  return std::visit(Overloaded{
                        [&](const ShapeCharacter& c) {
                          return boxOfRect(c.shape->bounds, m, extent == Extent::Drawn ? kEdgeMargin : 0);
                        },
                        [&](const SpriteCharacter&) {
                          PixelBox box;
                          if (!obj.clip) return box;
                          for (const auto& entry : obj.clip->children()) {
                            const DisplayObject& child = entry.second;
                            if (!child.character || child.placement.clipDepth > 0 || !child.placement.visible) continue;
                            box = unite(box, pixelBoundsOf(child, m, scale, extent));
                          }
                          return box;
                        },
                        [](const BitmapCharacter&) { return PixelBox{}; },
                        [](const InertCharacter&) { return PixelBox{}; },
                    },
                    *obj.character);
}

}  // namespace

PixelBox unite(PixelBox a, PixelBox b) {
  if (a.empty()) return b;
  if (b.empty()) return a;
  return PixelBox{std::min(a.x0, b.x0), std::min(a.y0, b.y0), std::max(a.x1, b.x1), std::max(a.y1, b.y1)};
}

PixelBox intersect(PixelBox a, PixelBox b) {
  return PixelBox{std::max(a.x0, b.x0), std::max(a.y0, b.y0), std::min(a.x1, b.x1), std::min(a.y1, b.y1)};
}

PixelBox grow(PixelBox b, int dx, int dy) {
  if (b.empty()) return b;
  auto add = [](int v, int d) { return int(std::max(-(1 << 28), std::min(1 << 28, v + d))); };
  return PixelBox{add(b.x0, -dx), add(b.y0, -dy), add(b.x1, dx), add(b.y1, dy)};
}

PixelBox pixelBoundsOf(const DisplayObject& obj, const Matrix& toPixels, double scale, Extent extent) {
  if (!obj.character) return PixelBox{};
  PixelBox box = contentBounds(obj, toPixels * obj.placement.matrix, scale, extent);
  if (extent == Extent::Drawn && obj.placement.filters) {
    FilterReach r = FilterRenderer::reach(*obj.placement.filters, scale);
    box = grow(box, r.x, r.y);
  }
  return box;
}

}  // namespace swf
