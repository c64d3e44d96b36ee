// Line segments in 24.8 fixed-point pixel coordinates, gathered from shape
// edges (curves flattened) or stroke outlines, with their bounding box.
#pragma once

#include <cstddef>
#include <cstdint>
#include <vector>

#include "../format/matrix.h"

namespace swf {

constexpr int kSubpixelBits = 8;
constexpr int32_t kSubpixels = 1 << kSubpixelBits;

struct FixedLine {
  int32_t x0, y0, x1, y1;
};

class EdgeList {
 public:
  void clear();
  bool empty() const { return lines_.empty(); }
  const std::vector<FixedLine>& lines() const { return lines_; }
  // Pixel bounds of everything added: [minX, maxX) x [minY, maxY).
  int minX() const { return minX_; }
  int minY() const { return minY_; }
  int maxX() const { return maxX_; }
  int maxY() const { return maxY_; }

  // winding +1 or -1: the direction the segment counts in.
  void addLine(Vec2 a, Vec2 b, int winding);
  void addQuad(Vec2 a, Vec2 control, Vec2 b, int winding);
  // A closed polygon, turned so that every polygon winds the same way: their
  // union is what the non-zero rule then fills.
  void addPolygon(const Vec2* points, size_t count);

 private:
  void addFixed(int32_t x0, int32_t y0, int32_t x1, int32_t y1);

  std::vector<FixedLine> lines_;
  int minX_ = 0, minY_ = 0, maxX_ = 0, maxY_ = 0;
};

// Segments a quadratic curve needs to stay within a twentieth of a pixel.
int quadSteps(Vec2 a, Vec2 control, Vec2 b);

}  // namespace swf
