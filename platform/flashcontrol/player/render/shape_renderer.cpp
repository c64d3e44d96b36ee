#include "shape_renderer.h"

#include <algorithm>
#include <cmath>

#include "stroke_builder.h"

namespace swf {
namespace {

Vec2 toPixel(const Matrix& m, const Point& p) { return m.apply(p.x, p.y); }

// Where a line's outline is built: in the shape's twips when the line scales
// with its object (a stretched shape gets a stretched line, as in Flash), in
// stage pixels when it does not.
struct LineSpace {
  Matrix toPath;        // twips to the outline's space
  Matrix pathToPixels;  // the outline's space to pixels
  double pixelsPerUnit = 1;
  double halfWidth = 0;  // in the outline's space
};

// The least a transform stretches any direction (its smaller singular value).
double leastStretch(const Matrix& m) {
  double sum = m.a * m.a + m.b * m.b + m.c * m.c + m.d * m.d;
  double det = m.determinant();
  double disc = sum * sum - 4 * det * det;
  return std::sqrt(std::max(0.0, (sum - std::sqrt(std::max(0.0, disc))) / 2));
}

// Lines that would come out thinner than a pixel anywhere are drawn as
// hairlines: a pixel wide in stage pixels. A line that scales in neither
// direction keeps its stage width where its object is stretched least and
// is stretched with the object elsewhere, as the real player draws it; one
// that only refuses one direction keeps its stage width all round.
LineSpace lineSpaceOf(const LineStyle& l, const Matrix& toPixels, double viewScale) {
  LineSpace s;
  const bool scales = !(l.noHScale || l.noVScale);
  const bool stretches = scales || (l.noHScale && l.noVScale);
  const double least = leastStretch(toPixels);
  const double pixels = scales ? l.width * least : l.width * viewScale;
  if (stretches && pixels >= 1 && least > 0) {
    s.pathToPixels = toPixels;
    s.pixelsPerUnit = std::sqrt(std::fabs(toPixels.determinant()));
    s.halfWidth = pixels / least / 2.0;
  } else {
    s.toPath = toPixels;
    s.halfWidth = std::max(pixels, 1.0) / 2;
  }
  return s;
}

// Points of an edge in the stroke's own space (local twips, or pixels for
// lines that do not scale); curves are cut finely enough for the pixels.
void appendEdge(StrokePath& path, const ShapeEdge& e, const Matrix& toPath, const Matrix& toPixels) {
  Vec2 a = toPixel(toPath, e.from), b = toPixel(toPath, e.to);
  if (path.points.empty()) {
    path.points.push_back(a);
    path.corner.push_back(true);
  }
  if (e.curved) {
    Vec2 c = toPixel(toPath, e.control);
    int n = quadSteps(toPixel(toPixels, e.from), toPixel(toPixels, e.control), toPixel(toPixels, e.to));
    for (int i = 1; i < n; ++i) {
      double t = double(i) / n, u = 1 - t;
      path.points.push_back(
          Vec2{u * u * a.x + 2 * u * t * c.x + t * t * b.x, u * u * a.y + 2 * u * t * c.y + t * t * b.y});
      path.corner.push_back(false);
    }
  }
  path.points.push_back(b);
  path.corner.push_back(true);
}

}  // namespace

void ShapeRenderer::draw(const Shape& shape, const Matrix& toPixels, const ColorTransform& cx, double viewScale,
                         const Canvas& target, PixelBox clip, const MaskLayer* mask) {
  clip = prepare(shape, clip, mask);
  if (clip.empty()) return;
  for (const StyleGroup& g : shape.groups) {
    int drawn = 0;
    for (int32_t f = g.firstFill; f < g.firstFill + g.fillCount; ++f) drawn += drawsFill(shape, f);
    FillLayer* layer = drawn > 1 ? &layer_ : nullptr;
    if (layer) layer->begin(clip);
    for (int32_t f = g.firstFill; f < g.firstFill + g.fillCount; ++f) {
      if (drawsFill(shape, f)) drawFill(shape, f, toPixels, cx, target, clip, layer);
    }
    if (layer) layer->drawOnto(target);
    for (int32_t l = g.firstLine; l < g.firstLine + g.lineCount; ++l) {
      drawLine(shape, l, toPixels, cx, viewScale, target, clip);
    }
  }
}

// A group's fills are rasterized together: an edge between two of them is
// added once for each side with opposite windings, which cancel exactly, so
// what remains is the outline of their union and no seam shows along it.
void ShapeRenderer::cover(const Shape& shape, const Matrix& toPixels, double viewScale, PixelBox clip,
                          const MaskLayer* mask, MaskLayer& into) {
  clip = prepare(shape, clip, mask);
  if (clip.empty()) return;
  const FillRule rule = shape.nonZeroWinding ? FillRule::NonZero : FillRule::EvenOdd;
  for (const StyleGroup& g : shape.groups) {
    edges_.clear();
    for (int32_t f = g.firstFill; f < g.firstFill + g.fillCount; ++f) addFillEdges(shape, f, toPixels);
    coverInto(into, clip, rule);
    for (int32_t l = g.firstLine; l < g.firstLine + g.lineCount; ++l) {
      edges_.clear();
      addLineEdges(shape, l, toPixels, viewScale);
      coverInto(into, clip, FillRule::NonZero);
    }
  }
}

void ShapeRenderer::setQuality(Quality q) {
  quality_ = q;
  raster_.setQuality(q);
}

ReducedBitmaps* ShapeRenderer::reducing() { return quality_ == Quality::Low ? nullptr : &reduced_; }

PixelBox ShapeRenderer::prepare(const Shape& shape, PixelBox clip, const MaskLayer* mask) {
  mask_ = mask;
  if (mask) {
    PixelBox m = mask->bounds();
    clip = PixelBox{std::max(clip.x0, m.x0), std::max(clip.y0, m.y0), std::min(clip.x1, m.x1), std::min(clip.y1, m.y1)};
  }
  if (clip.empty() || shape.edges.empty()) return PixelBox{};
  sortEdgesByFill(shape);
  return clip;
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

bool ShapeRenderer::drawsFill(const Shape& shape, int32_t fill) const { return !byFill_[size_t(fill)].empty(); }

void ShapeRenderer::drawFill(const Shape& shape, int32_t fill, const Matrix& toPixels, const ColorTransform& cx,
                             const Canvas& target, PixelBox clip, FillLayer* layer) {
  const FillStyle& style = shape.fills[size_t(fill)];
  Paint paint = Paint::forFill(style, cx, toPixels, reducing());
  if (paint.invisible()) return;
  edges_.clear();
  addFillEdges(shape, fill, toPixels);
  composite(paint, target, clip, shape.nonZeroWinding ? FillRule::NonZero : FillRule::EvenOdd, layer);
}

void ShapeRenderer::addFillEdges(const Shape& shape, int32_t fill, const Matrix& toPixels) {
  for (const SidedEdge& s : byFill_[size_t(fill)]) {
    const ShapeEdge& e = shape.edges[s.edge];
    Vec2 a = toPixel(toPixels, e.from), b = toPixel(toPixels, e.to);
    if (e.curved) {
      edges_.addQuad(a, toPixel(toPixels, e.control), b, s.winding);
    } else {
      edges_.addLine(a, b, s.winding);
    }
  }
}

void ShapeRenderer::drawLine(const Shape& shape, int32_t line, const Matrix& toPixels, const ColorTransform& cx,
                             double viewScale, const Canvas& target, PixelBox clip) {
  const LineStyle& style = shape.lines[size_t(line)];
  Paint paint =
      style.hasFill ? Paint::forFill(style.fill, cx, toPixels, reducing()) : Paint::solid(cx.apply(style.color));
  if (paint.invisible()) return;
  edges_.clear();
  addLineEdges(shape, line, toPixels, viewScale);
  composite(paint, target, clip, FillRule::NonZero, nullptr);
}

void ShapeRenderer::addLineEdges(const Shape& shape, int32_t line, const Matrix& toPixels, double viewScale) {
  const LineStyle& style = shape.lines[size_t(line)];
  LineSpace space = lineSpaceOf(style, toPixels, viewScale);
  StrokeStyle stroke;
  stroke.halfWidth = space.halfWidth;
  stroke.startCap = style.startCap;
  stroke.endCap = style.endCap;
  stroke.join = style.join;
  stroke.miterLimit = style.miterLimit;

  StrokePath path;
  Point start, pen;
  auto flush = [&] {
    if (path.points.empty()) return;
    path.closed = start == pen && !style.noClose;
    addStroke(path, stroke, space.pathToPixels, space.pixelsPerUnit, edges_);
    path = StrokePath{};
  };
  for (const ShapeEdge& e : shape.edges) {
    if (e.line != line) continue;
    if (!path.points.empty() && e.from != pen) flush();
    if (path.points.empty()) start = e.from;
    appendEdge(path, e, space.toPath, toPixels);
    pen = e.to;
  }
  flush();
}

void ShapeRenderer::composite(const Paint& paint, const Canvas& target, PixelBox clip, FillRule rule,
                              FillLayer* layer) {
  raster_.fill(edges_, clip, rule, [&](int y, int x, int count, const uint16_t* coverage) {
    paintRow(paint, target, layer, y, x, count, masked(y, x, count, coverage));
  });
}

void ShapeRenderer::coverInto(MaskLayer& into, PixelBox clip, FillRule rule) {
  raster_.fill(edges_, clip, rule, [&](int y, int x, int count, const uint16_t* coverage) {
    into.unite(y, x, count, masked(y, x, count, coverage));
  });
}

const uint16_t* ShapeRenderer::masked(int y, int x, int count, const uint16_t* coverage) {
  if (!mask_) return coverage;
  if (maskedCoverage_.size() < size_t(count)) maskedCoverage_.resize(size_t(count));
  mask_->apply(y, x, count, coverage, maskedCoverage_.data());
  return maskedCoverage_.data();
}

void ShapeRenderer::paintRow(const Paint& paint, const Canvas& target, FillLayer* layer, int y, int x, int count,
                             const uint16_t* coverage) {
  const bool solid = paint.isSolid();
  if (!solid) {
    if (shade_.size() < size_t(count)) shade_.resize(size_t(count));
    paint.shade(x, y, count, shade_.data());
  }
  if (layer) {
    layer->add(y, x, count, coverage, solid ? &paint.color() : shade_.data(), solid);
    return;
  }
  uint8_t* row = target.pixels + size_t(y) * size_t(target.stride) + size_t(x) * 4;
  for (int i = 0; i < count; ++i) {
    uint32_t cov = coverage[i];
    if (!cov) continue;
    const Bgra& c = solid ? paint.color() : shade_[size_t(i)];
    uint8_t* d = row + size_t(i) * 4;
    if (cov == 256 && c.a == 255) {
      d[0] = c.b, d[1] = c.g, d[2] = c.r, d[3] = 255;
    } else {
      blendPixel(d, c, cov);
    }
  }
}

}  // namespace swf
