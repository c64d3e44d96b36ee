#include "stroke_builder.h"

#include <cmath>

namespace swf {
namespace {

constexpr int kCirclePoints = 64;

// Unit circle by exact rotation steps: no libm trigonometry, so every build
// gets the same points.
const std::vector<Vec2>& unitCircle() {
  static const std::vector<Vec2> points = [] {
    const double c = 0.99518472667219688624;  // cos(2 pi / 64)
    const double s = 0.09801714032956060199;  // sin(2 pi / 64)
    std::vector<Vec2> p(kCirclePoints);
    p[0] = Vec2{1, 0};
    for (int i = 1; i < kCirclePoints; ++i) {
      const Vec2& q = p[size_t(i - 1)];
      p[size_t(i)] = Vec2{q.x * c - q.y * s, q.x * s + q.y * c};
    }
    return p;
  }();
  return points;
}

Vec2 add(Vec2 a, Vec2 b) { return Vec2{a.x + b.x, a.y + b.y}; }
Vec2 sub(Vec2 a, Vec2 b) { return Vec2{a.x - b.x, a.y - b.y}; }
Vec2 mul(Vec2 a, double k) { return Vec2{a.x * k, a.y * k}; }
double dot(Vec2 a, Vec2 b) { return a.x * b.x + a.y * b.y; }
double cross(Vec2 a, Vec2 b) { return a.x * b.y - a.y * b.x; }

Vec2 unit(Vec2 d) {
  double len = std::sqrt(dot(d, d));
  return len > 0 ? mul(d, 1 / len) : Vec2{1, 0};
}

Vec2 normal(Vec2 unitDir) { return Vec2{-unitDir.y, unitDir.x}; }

class Stroker {
 public:
  Stroker(const StrokeStyle& style, const Matrix& toPixels, double pixelsPerUnit, EdgeList& out)
      : st_(style), toPixels_(toPixels), pixelsPerUnit_(pixelsPerUnit), out_(out) {}

  void circle(Vec2 c) {
    double r = st_.halfWidth;
    double rp = r * pixelsPerUnit_;
    int step = rp < 2 ? 8 : (rp < 8 ? 4 : (rp < 32 ? 2 : 1));
    Vec2 pts[kCirclePoints];
    size_t n = 0;
    const auto& unitPts = unitCircle();
    for (int i = 0; i < kCirclePoints; i += step) pts[n++] = add(c, mul(unitPts[size_t(i)], r));
    polygon(pts, n);
  }

  void segment(Vec2 a, Vec2 b) {
    Vec2 n = mul(normal(unit(sub(b, a))), st_.halfWidth);
    Vec2 pts[4] = {add(a, n), add(b, n), sub(b, n), sub(a, n)};
    polygon(pts, 4);
  }

  void join(Vec2 p, Vec2 dIn, Vec2 dOut, JoinStyle style) {
    if (style == JoinStyle::Round) {
      circle(p);
      return;
    }
    double s = cross(dIn, dOut) > 0 ? -1 : 1;
    Vec2 u1 = normal(dIn), u2 = normal(dOut);
    Vec2 a = add(p, mul(u1, s * st_.halfWidth));
    Vec2 b = add(p, mul(u2, s * st_.halfWidth));
    double cosTheta = dot(u1, u2);
    double cosHalf = std::sqrt((1 + cosTheta) / 2);
    if (style == JoinStyle::Miter && cosHalf * st_.miterLimit >= 1 && cosTheta > -0.9999) {
      Vec2 m = add(p, mul(add(u1, u2), s * st_.halfWidth / (1 + cosTheta)));
      Vec2 pts[4] = {p, a, m, b};
      polygon(pts, 4);
      return;
    }
    Vec2 pts[3] = {p, a, b};
    polygon(pts, 3);
  }

  // A square cap reaches half the width past the end.
  Vec2 extended(Vec2 end, Vec2 outward, CapStyle cap) const {
    return cap == CapStyle::Square ? add(end, mul(outward, st_.halfWidth)) : end;
  }

  void point(Vec2 p, CapStyle cap) {
    if (cap == CapStyle::Round) {
      circle(p);
    } else if (cap == CapStyle::Square) {
      double h = st_.halfWidth;
      Vec2 pts[4] = {{p.x - h, p.y - h}, {p.x + h, p.y - h}, {p.x + h, p.y + h}, {p.x - h, p.y + h}};
      polygon(pts, 4);
    }
  }

 private:
  void polygon(Vec2* pts, size_t n) {
    for (size_t i = 0; i < n; ++i) pts[i] = toPixels_.apply(pts[i].x, pts[i].y);
    out_.addPolygon(pts, n);
  }

  const StrokeStyle& st_;
  const Matrix& toPixels_;
  double pixelsPerUnit_;
  EdgeList& out_;
};

}  // namespace

void addStroke(const StrokePath& path, const StrokeStyle& style, const Matrix& toPixels,
               double pixelsPerUnit, EdgeList& out) {
  // Repeated points would give segments without a direction.
  std::vector<Vec2> pts;
  std::vector<bool> corner;
  for (size_t i = 0; i < path.points.size(); ++i) {
    bool isCorner = i < path.corner.size() && path.corner[i];
    if (!pts.empty() && pts.back().x == path.points[i].x && pts.back().y == path.points[i].y) {
      corner.back() = corner.back() || isCorner;
      continue;
    }
    pts.push_back(path.points[i]);
    corner.push_back(isCorner);
  }
  Stroker s(style, toPixels, pixelsPerUnit, out);
  if (pts.empty()) return;
  if (pts.size() == 1) {
    s.point(pts[0], style.startCap);
    return;
  }
  size_t n = pts.size();
  bool closed = path.closed && n > 2;
  for (size_t i = 0; i + 1 < n; ++i) {
    Vec2 a = pts[i], b = pts[i + 1];
    if (!closed && i == 0) a = s.extended(a, unit(sub(a, b)), style.startCap);
    if (!closed && i + 2 == n) b = s.extended(b, unit(sub(b, a)), style.endCap);
    s.segment(a, b);
  }
  for (size_t i = 1; i + 1 < n; ++i) {
    s.join(pts[i], unit(sub(pts[i], pts[i - 1])), unit(sub(pts[i + 1], pts[i])),
           corner[i] ? style.join : JoinStyle::Bevel);
  }
  if (closed) {
    s.join(pts[0], unit(sub(pts[n - 1], pts[n - 2])), unit(sub(pts[1], pts[0])), style.join);
    return;
  }
  if (style.startCap == CapStyle::Round) s.circle(pts[0]);
  if (style.endCap == CapStyle::Round) s.circle(pts[n - 1]);
}

}  // namespace swf
