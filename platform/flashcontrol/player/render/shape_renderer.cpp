#include "shape_renderer.h"

#include <cmath>

#include "stroke_builder.h"

namespace swf {
namespace {

Vec2 toPixel(const Matrix& m, const Point& p) { return m.apply(p.x, p.y); }

// Lines thinner than a pixel are drawn a pixel wide, as hairlines are.
double strokeHalfWidth(const LineStyle& l, const Matrix& toPixels, double viewScale) {
  double scale = (l.noHScale || l.noVScale) ? viewScale : std::sqrt(std::fabs(toPixels.determinant()));
  double width = l.width * scale;
  return width < 1 ? 0.5 : width / 2;
}

void appendEdge(StrokePath& path, const ShapeEdge& e, const Matrix& m) {
  Vec2 a = toPixel(m, e.from), b = toPixel(m, e.to);
  if (path.points.empty()) {
    path.points.push_back(a);
    path.corner.push_back(true);
  }
  if (e.curved) {
    Vec2 c = toPixel(m, e.control);
    int n = quadSteps(a, c, b);
    for (int i = 1; i < n; ++i) {
      double t = double(i) / n, u = 1 - t;
      path.points.push_back(Vec2{u * u * a.x + 2 * u * t * c.x + t * t * b.x,
                                 u * u * a.y + 2 * u * t * c.y + t * t * b.y});
      path.corner.push_back(false);
    }
  }
  path.points.push_back(b);
  path.corner.push_back(true);
}

}  // namespace

void ShapeRenderer::draw(const Shape& shape, const Matrix& toPixels, const ColorTransform& cx,
                         double viewScale, const Canvas& target, PixelBox clip) {
  if (clip.empty() || shape.edges.empty()) return;
  sortEdgesByFill(shape);
  for (const StyleGroup& g : shape.groups) {
    for (int32_t f = g.firstFill; f < g.firstFill + g.fillCount; ++f) {
      drawFill(shape, f, toPixels, cx, target, clip);
    }
    for (int32_t l = g.firstLine; l < g.firstLine + g.lineCount; ++l) {
      drawLine(shape, l, toPixels, cx, viewScale, target, clip);
    }
  }
}

// An edge with the same fill on both sides bounds nothing of it.
void ShapeRenderer::sortEdgesByFill(const Shape& shape) {
  byFill_.resize(shape.fills.size());
  for (auto& list : byFill_) list.clear();
  for (size_t i = 0; i < shape.edges.size(); ++i) {
    const ShapeEdge& e = shape.edges[i];
    if (e.fill0 == e.fill1) continue;
    if (e.fill0 >= 0) byFill_[size_t(e.fill0)].push_back(SidedEdge{uint32_t(i), -1});
    if (e.fill1 >= 0) byFill_[size_t(e.fill1)].push_back(SidedEdge{uint32_t(i), 1});
  }
}

void ShapeRenderer::drawFill(const Shape& shape, int32_t fill, const Matrix& toPixels,
                             const ColorTransform& cx, const Canvas& target, PixelBox clip) {
  const FillStyle& style = shape.fills[size_t(fill)];
  if (style.kind == FillStyle::Kind::Bitmap || byFill_[size_t(fill)].empty()) return;
  Paint paint = Paint::forFill(style, cx, toPixels);
  if (paint.invisible()) return;
  edges_.clear();
  for (const SidedEdge& s : byFill_[size_t(fill)]) {
    const ShapeEdge& e = shape.edges[s.edge];
    Vec2 a = toPixel(toPixels, e.from), b = toPixel(toPixels, e.to);
    if (e.curved) {
      edges_.addQuad(a, toPixel(toPixels, e.control), b, s.winding);
    } else {
      edges_.addLine(a, b, s.winding);
    }
  }
  composite(paint, target, clip, shape.nonZeroWinding ? FillRule::NonZero : FillRule::EvenOdd);
}

void ShapeRenderer::drawLine(const Shape& shape, int32_t line, const Matrix& toPixels,
                             const ColorTransform& cx, double viewScale, const Canvas& target,
                             PixelBox clip) {
  const LineStyle& style = shape.lines[size_t(line)];
  Paint paint = Paint::solid(cx.apply(style.color));
  if (paint.invisible()) return;
  StrokeStyle stroke;
  stroke.halfWidth = strokeHalfWidth(style, toPixels, viewScale);
  stroke.startCap = style.startCap;
  stroke.endCap = style.endCap;
  stroke.join = style.join;
  stroke.miterLimit = style.miterLimit;

  edges_.clear();
  StrokePath path;
  Point start, pen;
  auto flush = [&] {
    if (path.points.empty()) return;
    path.closed = start == pen && !style.noClose;
    addStroke(path, stroke, edges_);
    path = StrokePath{};
  };
  for (const ShapeEdge& e : shape.edges) {
    if (e.line != line) continue;
    if (!path.points.empty() && e.from != pen) flush();
    if (path.points.empty()) start = e.from;
    appendEdge(path, e, toPixels);
    pen = e.to;
  }
  flush();
  composite(paint, target, clip, FillRule::NonZero);
}

void ShapeRenderer::composite(const Paint& paint, const Canvas& target, PixelBox clip, FillRule rule) {
  raster_.fill(edges_, clip, rule, [&](int y, int x, int count, const uint16_t* coverage) {
    uint8_t* row = target.pixels + size_t(y) * size_t(target.stride) + size_t(x) * 4;
    if (paint.isSolid()) {
      const Bgra c = paint.color();
      for (int i = 0; i < count; ++i) {
        uint32_t cov = coverage[i];
        uint8_t* d = row + size_t(i) * 4;
        if (cov == 256 && c.a == 255) {
          d[0] = c.b, d[1] = c.g, d[2] = c.r, d[3] = 255;
        } else if (cov) {
          blendPixel(d, c, cov);
        }
      }
      return;
    }
    if (shade_.size() < size_t(count)) shade_.resize(size_t(count));
    paint.shade(x, y, count, shade_.data());
    for (int i = 0; i < count; ++i) {
      if (coverage[i]) blendPixel(row + size_t(i) * 4, shade_[size_t(i)], coverage[i]);
    }
  });
}

}  // namespace swf
