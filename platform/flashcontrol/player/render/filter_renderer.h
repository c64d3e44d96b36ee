// Runs a display object's filters, in order, over the layer it was drawn
// into. Sizes in the filters are stage pixels: they grow with the view's
// scale but not with the object's own matrix.
#pragma once

#include <cstdint>
#include <vector>

#include "../tags/filter.h"
#include "box_blur.h"
#include "gradient_ramp.h"
#include "pixel_layer.h"

namespace swf {

struct FilterReach {
  int x = 0, y = 0;  // pixels the filters may draw beyond the object, each side
};

class FilterRenderer {
 public:
  // pixelsPerStagePixel: the view's scale (1 at the movie's own size).
  static FilterReach reach(const FilterList& filters, double pixelsPerStagePixel);
  void apply(const FilterList& filters, double pixelsPerStagePixel, PixelLayer& layer);

 private:
  struct Offset {
    int x = 0, y = 0;
  };
  void applyOne(const Filter& f, double scale, PixelLayer& layer);
  void colorMatrix(const Filter& f, PixelLayer& layer);
  void convolution(const Filter& f, PixelLayer& layer);
  // Shadows, glows and bevels: an effect made from the blurred alpha,
  // then put with the object.
  void alphaEffect(const Filter& f, double scale, PixelLayer& layer);
  Bgra shadowAt(const Filter& f, int x, int y, Offset off) const;
  Bgra bevelAt(const Filter& f, int x, int y, Offset off) const;
  int blurredAlpha(int x, int y) const;
  static void combine(const Filter& f, const Bgra& effect, uint8_t* px);

  BoxBlur blur_;
  std::vector<uint8_t> alpha_;  // the blurred alpha of the layer
  std::vector<uint8_t> out_;
  int width_ = 0, height_ = 0;
  GradientRamp ramp_;
  Bgra color_, highlight_;
};

}  // namespace swf
