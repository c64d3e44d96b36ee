#include "edge_list.h"

#include <algorithm>
#include <cmath>

namespace swf {
namespace {

// Far enough off any canvas to change nothing, near enough that fixed-point
// products stay inside 64 bits.
constexpr double kCoordLimit = double(1 << 21);

int32_t toFixed(double v) {
  if (!(v > -kCoordLimit)) v = -kCoordLimit;  // also catches NaN
  if (v > kCoordLimit) v = kCoordLimit;
  return int32_t(std::floor(v * kSubpixels + 0.5));
}

int floorPixel(int32_t f) { return int(f >> kSubpixelBits); }
int ceilPixel(int32_t f) { return int((int64_t(f) + kSubpixels - 1) >> kSubpixelBits); }

}  // namespace

int quadSteps(Vec2 a, Vec2 c, Vec2 b) {
  double dx = a.x - 2 * c.x + b.x;
  double dy = a.y - 2 * c.y + b.y;
  double dd = std::sqrt(dx * dx + dy * dy);
  // The chord of a quadratic deviates from it by at most dd / (8 n^2).
  const double tolerance = 0.05;
  double n = std::ceil(std::sqrt(dd / (8 * tolerance)));
  if (!(n >= 1)) return 1;
  return n > 256 ? 256 : int(n);
}

void EdgeList::clear() {
  lines_.clear();
  minX_ = minY_ = maxX_ = maxY_ = 0;
}

void EdgeList::addFixed(int32_t x0, int32_t y0, int32_t x1, int32_t y1) {
  if (y0 == y1) return;  // horizontal lines cover nothing
  int lx = floorPixel(std::min(x0, x1)), hx = ceilPixel(std::max(x0, x1));
  int ly = floorPixel(std::min(y0, y1)), hy = ceilPixel(std::max(y0, y1));
  if (lines_.empty()) {
    minX_ = lx, maxX_ = hx, minY_ = ly, maxY_ = hy;
  } else {
    minX_ = std::min(minX_, lx), maxX_ = std::max(maxX_, hx);
    minY_ = std::min(minY_, ly), maxY_ = std::max(maxY_, hy);
  }
  lines_.push_back(FixedLine{x0, y0, x1, y1});
}

void EdgeList::addLine(Vec2 a, Vec2 b, int winding) {
  if (winding > 0) {
    addFixed(toFixed(a.x), toFixed(a.y), toFixed(b.x), toFixed(b.y));
  } else {
    addFixed(toFixed(b.x), toFixed(b.y), toFixed(a.x), toFixed(a.y));
  }
}

void EdgeList::addQuad(Vec2 a, Vec2 c, Vec2 b, int winding) {
  int n = quadSteps(a, c, b);
  Vec2 prev = a;
  for (int i = 1; i <= n; ++i) {
    double t = double(i) / n, u = 1 - t;
    Vec2 p =
        i == n ? b : Vec2{u * u * a.x + 2 * u * t * c.x + t * t * b.x, u * u * a.y + 2 * u * t * c.y + t * t * b.y};
    addLine(prev, p, winding);
    prev = p;
  }
}

void EdgeList::addPolygon(const Vec2* pts, size_t count) {
  if (count < 3) return;
  double area2 = 0;
  for (size_t i = 0; i < count; ++i) {
    const Vec2& p = pts[i];
    const Vec2& q = pts[(i + 1) % count];
    area2 += p.x * q.y - q.x * p.y;
  }
  int winding = area2 < 0 ? -1 : 1;
  for (size_t i = 0; i < count; ++i) addLine(pts[i], pts[(i + 1) % count], winding);
}

}  // namespace swf
