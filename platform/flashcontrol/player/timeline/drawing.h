// What a clip's drawing API calls drew: kept as the shape records a
// DefineShape would hold, so it is drawn, bounded and masked like one.
#pragma once

#include <cstddef>
#include <cstdint>

#include "../tags/shape.h"

namespace swf {

// Edges past this many are dropped: a script drawing in a loop stops here.
constexpr size_t kMaxDrawingEdges = 1u << 20;

class Drawing {
 public:
  // A fill begun ends the one before it (closing it back to its start).
  void beginFill(const FillStyle& fill);
  void endFill();
  // nullptr: the edges that follow have no line.
  void lineStyle(const LineStyle* line);
  void moveTo(Point to);
  void lineTo(Point to);
  void curveTo(Point control, Point to);
  void clear();
  // An open fill is drawn closed, as if endFill came now.
  const Shape& shape() const { return shape_; }
  bool empty() const { return shape_.edges.empty(); }

 private:
  void dropClosing();
  void addClosing();
  void addEdge(Point control, Point to, bool curved);
  void startGroup();
  void include(Point p, int halfWidth);
  void includeCurve(Point from, Point control, Point to, int halfWidth);

  Shape shape_;
  Point pen_;
  Point pathStart_;  // where the open fill's current outline began
  int32_t fill_ = -1;
  int32_t line_ = -1;
  bool closing_ = false;  // the last edge closes the open fill for now
  bool hasBounds_ = false;
};

}  // namespace swf
