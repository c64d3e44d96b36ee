// Where the fills of one style group meet. Flash shapes partition the plane
// among their fills, so two fills sharing an edge each cover part of the
// pixels along it; adding their coverage-weighted colours (instead of
// drawing one over the other) leaves no seam. The sum is then drawn over
// the canvas in one go.
#pragma once

#include <cstdint>
#include <vector>

#include "../canvas.h"
#include "coverage_rasterizer.h"
#include "pixel.h"

namespace swf {

class FillLayer {
 public:
  void begin(PixelBox clip);
  // Adds colours (one per pixel, or one for all when solid) scaled by coverage.
  void add(int y, int x, int count, const uint16_t* coverage, const Bgra* colors, bool solid);
  void drawOnto(const Canvas& target);

 private:
  PixelBox box_;
  PixelBox dirty_;
  bool touched_ = false;
  std::vector<uint16_t> sums_;  // 4 per pixel, colour x coverage, saturating
};

}  // namespace swf
