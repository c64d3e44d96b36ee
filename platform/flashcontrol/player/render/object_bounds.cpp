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

PixelBox childBounds(const DisplayObject& obj, const Matrix& m, double scale, Extent extent) {
  PixelBox box;
  if (!obj.clip) return box;
  if (const Drawing* d = obj.clip->drawing())
    if (!d->empty()) box = boxOfRect(d->shape().bounds, m, extent == Extent::Drawn ? kEdgeMargin : 0);
  for (const auto& entry : obj.clip->children()) {
    const DisplayObject& child = entry.second;
    if ((!child.character && !child.clip) || child.placement.clipDepth > 0 || !child.placement.visible) continue;
    box = unite(box, pixelBoundsOf(child, m, scale, extent));
  }
  return box;
}

PixelBox contentBounds(const DisplayObject& obj, const Matrix& m, double scale, Extent extent) {
  if (!obj.character) return childBounds(obj, m, scale, extent);  // an empty clip scripts made
  return std::visit(Overloaded{
                        [&](const ShapeCharacter& c) {
                          return boxOfRect(c.shape->bounds, m, extent == Extent::Drawn ? kEdgeMargin : 0);
                        },
                        [&](const MorphCharacter& c) {
                          // Every ratio lies between the two ends' boxes.
                          int margin = extent == Extent::Drawn ? kEdgeMargin : 0;
                          return unite(boxOfRect(c.morph->start.bounds, m, margin),
                                       boxOfRect(c.morph->end.bounds, m, margin));
                        },
                        [&](const SpriteCharacter&) { return childBounds(obj, m, scale, extent); },
                        [&](const ButtonCharacter&) { return childBounds(obj, m, scale, extent); },
                        [&](const StaticTextCharacter& c) {
                          return boxOfRect(c.layout->bounds, m, extent == Extent::Drawn ? kEdgeMargin : 0);
                        },
                        [&](const EditTextCharacter&) {
                          if (!obj.textField) return PixelBox{};
                          const Rect& r = obj.textField->layout().bounds;
                          return boxOfRect(r, m, extent == Extent::Drawn ? kEdgeMargin : 0);
                        },
                        [](const BitmapCharacter&) { return PixelBox{}; },
                        [](const InertCharacter&) { return PixelBox{}; },
                    },
                    *obj.character);
}

void extendCorner(const Rect& r, const Matrix& m, Vec2& corner, bool& found) {
  for (const Vec2& c :
       {m.apply(r.xMin, r.yMin), m.apply(r.xMax, r.yMin), m.apply(r.xMin, r.yMax), m.apply(r.xMax, r.yMax)}) {
    corner = found ? Vec2{std::min(corner.x, c.x), std::min(corner.y, c.y)} : c;
    found = true;
  }
}

void contentCorner(const DisplayObject& obj, const Matrix& m, Vec2& corner, bool& found) {
  auto children = [&] {
    if (!obj.clip) return;
    if (const Drawing* d = obj.clip->drawing())
      if (!d->empty()) extendCorner(d->shape().bounds, m, corner, found);
    for (const auto& entry : obj.clip->children()) {
      const DisplayObject& child = entry.second;
      if ((!child.character && !child.clip) || child.placement.clipDepth > 0 || !child.placement.visible) continue;
      contentCorner(child, m * child.placement.matrix, corner, found);
    }
  };
  if (!obj.character) {
    children();
    return;
  }
  std::visit(Overloaded{
                 [&](const ShapeCharacter& c) { extendCorner(c.shape->bounds, m, corner, found); },
                 [&](const MorphCharacter& c) {
                   extendCorner(c.morph->start.bounds, m, corner, found);
                   extendCorner(c.morph->end.bounds, m, corner, found);
                 },
                 [&](const SpriteCharacter&) { children(); },
                 [&](const ButtonCharacter&) { children(); },
                 [&](const StaticTextCharacter& c) { extendCorner(c.layout->bounds, m, corner, found); },
                 [&](const EditTextCharacter&) {
                   if (obj.textField) extendCorner(obj.textField->layout().bounds, m, corner, found);
                 },
                 [](const BitmapCharacter&) {},
                 [](const InertCharacter&) {},
             },
             *obj.character);
}

}  // namespace

bool boundsCornerOf(const DisplayObject& obj, const Matrix& toPixels, Vec2& corner) {
  bool found = false;
  if (obj.character || obj.clip) contentCorner(obj, toPixels * obj.placement.matrix, corner, found);
  return found && std::isfinite(corner.x) && std::isfinite(corner.y);
}

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
  if (!obj.character && !obj.clip) return PixelBox{};
  PixelBox box = contentBounds(obj, toPixels * obj.placement.matrix, scale, extent);
  if (extent == Extent::Drawn && obj.placement.filters) {
    FilterReach r = FilterRenderer::reach(*obj.placement.filters, scale);
    box = grow(box, r.x, r.y);
  }
  return box;
}

}  // namespace swf
