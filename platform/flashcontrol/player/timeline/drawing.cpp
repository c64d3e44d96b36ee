#include "drawing.h"

#include <algorithm>
#include <cmath>

namespace swf {

// Each fill starts a style group of its own, so a later fill covers the
// lines drawn before it, as the real player layers them.
void Drawing::startGroup() {
  StyleGroup g;
  g.firstFill = int32_t(shape_.fills.size());
  g.firstLine = int32_t(shape_.lines.size());
  shape_.groups.push_back(g);
}

void Drawing::beginFill(const FillStyle& fill) {
  endFill();
  startGroup();
  shape_.fills.push_back(fill);
  shape_.groups.back().fillCount = 1;
  fill_ = int32_t(shape_.fills.size()) - 1;
  pathStart_ = pen_;
  if (line_ >= 0) {
    // The line goes on in the new group, above the new fill.
    LineStyle line = shape_.lines[size_t(line_)];
    lineStyle(&line);
  }
}

void Drawing::endFill() {
  if (fill_ < 0) return;
  closing_ = false;  // the closing edge stays
  fill_ = -1;
}

void Drawing::lineStyle(const LineStyle* line) {
  if (!line) {
    line_ = -1;
    return;
  }
  if (shape_.groups.empty()) startGroup();
  shape_.lines.push_back(*line);
  ++shape_.groups.back().lineCount;
  line_ = int32_t(shape_.lines.size()) - 1;
}

void Drawing::moveTo(Point to) {
  // The open fill's outline ends where it began; a new one starts here.
  if (fill_ >= 0) closing_ = false;
  pen_ = to;
  pathStart_ = to;
}

void Drawing::lineTo(Point to) { addEdge(to, to, false); }

void Drawing::curveTo(Point control, Point to) { addEdge(control, to, true); }

void Drawing::clear() { *this = Drawing(); }

void Drawing::dropClosing() {
  if (closing_) shape_.edges.pop_back();
  closing_ = false;
}

void Drawing::addClosing() {
  if (fill_ < 0 || pen_ == pathStart_) return;
  ShapeEdge e;
  e.from = pen_;
  e.control = e.to = pathStart_;
  e.fill0 = fill_;
  shape_.edges.push_back(e);
  closing_ = true;
}

void Drawing::addEdge(Point control, Point to, bool curved) {
  dropClosing();
  if (fill_ < 0 && line_ < 0) {
    pen_ = to;
    return;
  }
  if (shape_.edges.size() >= kMaxDrawingEdges) return;
  ShapeEdge e;
  e.from = pen_;
  e.control = control;
  e.to = to;
  e.curved = curved;
  e.fill0 = fill_;
  e.line = line_;
  shape_.edges.push_back(e);
  const int half = line_ >= 0 ? shape_.lines[size_t(line_)].width / 2 : 0;
  if (curved) {
    includeCurve(pen_, control, to, half);
  } else {
    include(pen_, half);
    include(to, half);
  }
  pen_ = to;
  addClosing();
}

void Drawing::include(Point p, int halfWidth) {
  Rect& b = shape_.bounds;
  const int32_t x0 = p.x - halfWidth, x1 = p.x + halfWidth, y0 = p.y - halfWidth, y1 = p.y + halfWidth;
  if (!hasBounds_) {
    b = Rect{x0, x1, y0, y1};
    hasBounds_ = true;
    return;
  }
  b.xMin = std::min(b.xMin, x0), b.xMax = std::max(b.xMax, x1);
  b.yMin = std::min(b.yMin, y0), b.yMax = std::max(b.yMax, y1);
}

// A quadratic curve reaches past its ends only where it turns.
void Drawing::includeCurve(Point from, Point control, Point to, int halfWidth) {
  include(from, halfWidth);
  include(to, halfWidth);
  auto extreme = [](double a, double c, double b, double& t) {
    const double den = a - 2 * c + b;
    if (den == 0) return false;
    t = (a - c) / den;
    return t > 0 && t < 1;
  };
  auto at = [](double a, double c, double b, double t) {
    return (1 - t) * (1 - t) * a + 2 * t * (1 - t) * c + t * t * b;
  };
  double t;
  if (extreme(from.x, control.x, to.x, t))
    include(Point{int32_t(std::lround(at(from.x, control.x, to.x, t))),
                  int32_t(std::lround(at(from.y, control.y, to.y, t)))},
            halfWidth);
  if (extreme(from.y, control.y, to.y, t))
    include(Point{int32_t(std::lround(at(from.x, control.x, to.x, t))),
                  int32_t(std::lround(at(from.y, control.y, to.y, t)))},
            halfWidth);
}

}  // namespace swf
