// Turns a line style's paths into outlines that the non-zero rule fills:
// offsets of both sides with their joins, and caps at open ends.
#pragma once

#include <vector>

#include "../format/matrix.h"
#include "../tags/shape.h"
#include "edge_list.h"

namespace swf {

struct StrokeStyle {
  double halfWidth = 0.5;  // in the path's units
  CapStyle startCap = CapStyle::Round;
  CapStyle endCap = CapStyle::Round;
  JoinStyle join = JoinStyle::Round;
  double miterLimit = 3;
};

// One connected run of a line style. corner[i] is true where two shape
// edges meet; other points come from flattening a curve.
struct StrokePath {
  std::vector<Vec2> points;
  std::vector<bool> corner;
  bool closed = false;
};

// The outline is built in the path's own units and then mapped by toPixels,
// so a stretched shape gets a stretched line, as in Flash. pixelsPerUnit
// sets how finely round joins and caps are drawn.
void addStroke(const StrokePath& path, const StrokeStyle& style, const Matrix& toPixels, double pixelsPerUnit,
               EdgeList& out);

}  // namespace swf
