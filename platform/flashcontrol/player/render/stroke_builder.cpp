#include "stroke_builder.h"

#include <cmath>

namespace swf {
namespace {

constexpr int kCirclePoints = 64;

// Unit circle by exact rotation steps: no libm trigonometry, so every build
// gets the same points.
const std::vector<Vec2>& unitCircle() {
  static const std::vector<Vec2> kPoints = [] {
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
  return kPoints;
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

// The left-hand normal of a direction.
Vec2 normal(Vec2 unitDir) { return Vec2{-unitDir.y, unitDir.x}; }

// Builds the outline as closed loops: the left side of the path forward, a
// cap, the left side of the reversed path (its right side), a cap. Inner
// corners pass through the corner point itself, so the non-zero rule fills
// exactly what the pen covers.
class Outliner {
 public:
  Outliner(const StrokeStyle& style, const Matrix& toPixels, double pixelsPerUnit, EdgeList& out)
      : st_(style), toPixels_(toPixels), out_(out) {
    double r = style.halfWidth * pixelsPerUnit;
    step_ = r < 2 ? 8 : (r < 8 ? 4 : (r < 32 ? 2 : 1));
  }

  void open(const std::vector<Vec2>& pts, const std::vector<bool>& corner) {
    std::vector<Vec2> back(pts.rbegin(), pts.rend());
    std::vector<bool> backCorner(corner.rbegin(), corner.rend());
    side(pts, corner, false);
    cap(pts.back(), unit(sub(pts.back(), pts[pts.size() - 2])), st_.endCap);
    side(back, backCorner, false);
    cap(pts.front(), unit(sub(pts.front(), pts[1])), st_.startCap);
    flush();
  }

  void closed(const std::vector<Vec2>& pts, const std::vector<bool>& corner) {
    side(pts, corner, true);
    flush();
    std::vector<Vec2> back(pts.rbegin(), pts.rend());
    std::vector<bool> backCorner(corner.rbegin(), corner.rend());
    side(back, backCorner, true);
    flush();
  }

  void point(Vec2 p, CapStyle cap) {
    double h = st_.halfWidth;
    if (cap == CapStyle::Round) {
      const auto& circle = unitCircle();
      for (int i = 0; i < kCirclePoints; i += step_) emit(add(p, mul(circle[size_t(i)], h)));
    } else if (cap == CapStyle::Square) {
      emit({p.x - h, p.y - h}), emit({p.x + h, p.y - h}), emit({p.x + h, p.y + h}), emit({p.x - h, p.y + h});
    }
    flush();
  }

 private:
  // The left offset of pts; a closed path also joins its last segment to its first.
  void side(const std::vector<Vec2>& pts, const std::vector<bool>& corner, bool closedPath) {
    size_t segments = pts.size() - 1;
    for (size_t j = 0; j < segments; ++j) {
      Vec2 d = unit(sub(pts[j + 1], pts[j]));
      Vec2 n = mul(normal(d), st_.halfWidth);
      emit(add(pts[j], n));
      emit(add(pts[j + 1], n));
      bool last = j + 1 == segments;
      if (last && !closedPath) break;
      Vec2 next = last ? unit(sub(pts[1], pts[0])) : unit(sub(pts[j + 2], pts[j + 1]));
      bool isCorner = last ? corner[0] || corner[segments] : corner[j + 1];
      join(pts[j + 1], d, next, isCorner ? st_.join : JoinStyle::Bevel);
    }
  }

  // From the end of one segment's offset to the start of the next one's.
  void join(Vec2 p, Vec2 d1, Vec2 d2, JoinStyle style) {
    double turn = cross(d1, d2);
    if (turn > 0) {  // this side is the inside of the corner
      emit(p);
      return;
    }
    if (dot(d1, d2) > 0.99999) return;  // no corner to speak of
    Vec2 n1 = normal(d1), n2 = normal(d2);
    if (style == JoinStyle::Round) {
      arc(p, mul(n1, st_.halfWidth), mul(n2, st_.halfWidth), -1);
    } else if (style == JoinStyle::Miter) {
      double cosTheta = dot(n1, n2);
      double cosHalf = std::sqrt((1 + cosTheta) / 2);
      if (cosHalf * st_.miterLimit >= 1 && cosTheta > -0.9999) {
        emit(add(p, mul(add(n1, n2), st_.halfWidth / (1 + cosTheta))));
      }
    }
  }

  // Points strictly between from and to on the circle around p, turning
  // clockwise (dir -1) or anticlockwise (dir 1).
  void arc(Vec2 p, Vec2 from, Vec2 to, int dir) {
    const Vec2& r = unitCircle()[size_t(step_)];
    double s = dir * r.y;
    Vec2 v = from;
    for (int i = 0; i < kCirclePoints; ++i) {
      v = Vec2{v.x * r.x - v.y * s, v.x * s + v.y * r.x};
      if (cross(v, to) * dir <= 0 && dot(v, to) > 0) return;
      emit(add(p, v));
    }
  }

  // From the left offset at an end, around it, to the right offset.
  void cap(Vec2 p, Vec2 outward, CapStyle style) {
    Vec2 n = mul(normal(outward), st_.halfWidth);  // left of the path arriving here
    if (style == CapStyle::Round) {
      Vec2 v = n;
      const Vec2& r = unitCircle()[size_t(step_)];
      for (int i = step_; i < kCirclePoints / 2; i += step_) {
        v = Vec2{v.x * r.x + v.y * r.y, -v.x * r.y + v.y * r.x};
        emit(add(p, v));
      }
    } else if (style == CapStyle::Square) {
      Vec2 ahead = mul(outward, st_.halfWidth);
      emit(add(add(p, n), ahead));
      emit(add(sub(p, n), ahead));
    }
  }

  void emit(Vec2 p) { loop_.push_back(toPixels_.apply(p.x, p.y)); }

  void flush() {
    for (size_t i = 0; i < loop_.size(); ++i) out_.addLine(loop_[i], loop_[(i + 1) % loop_.size()], 1);
    loop_.clear();
  }

  const StrokeStyle& st_;
  const Matrix& toPixels_;
  EdgeList& out_;
  int step_ = 1;
  std::vector<Vec2> loop_;
};

}  // namespace

void addStroke(const StrokePath& path, const StrokeStyle& style, const Matrix& toPixels, double pixelsPerUnit,
               EdgeList& out) {
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
  Outliner outliner(style, toPixels, pixelsPerUnit, out);
  if (pts.empty()) return;
  if (pts.size() == 1) {
    outliner.point(pts[0], style.startCap);
  } else if (path.closed && pts.size() > 2) {
    outliner.closed(pts, corner);
  } else {
    outliner.open(pts, corner);
  }
}

}  // namespace swf
