// Puts a layer onto the surface below it with a blend mode. Colours are
// premultiplied; the separable modes follow the usual compositing rule
//   result = src * (1 - dstA) + dst * (1 - srcA) + srcA * dstA * B(dst, src)
// with B on straight colours, so a mode acts fully only where both sides
// are opaque and fades to plain "over" where either is transparent. Add and
// subtract work on the premultiplied values themselves.
#pragma once

#include <cstdint>
#include <vector>

#include "../canvas.h"
#include "../tags/filter.h"
#include "mask_layer.h"
#include "pixel_layer.h"

namespace swf {

class BlendCompositor {
 public:
  // Draws the layer's pixels within area (the surface's pixels; the layer's
  // pixel (0, 0) lies at its box's corner) onto surface, each scaled by
  // mask when given. Alpha and erase act on the surface's own alpha, as
  // inside a parent layer; insideLayer false makes them draw nothing.
  void composite(const PixelLayer& layer, BlendMode mode, bool insideLayer, const Canvas& surface, PixelBox area,
                 const MaskLayer* mask);

  // One row: count pixels of src onto dst, src scaled by cover (0..256 each)
  // when given.
  static void blendRow(BlendMode mode, uint8_t* dst, const uint8_t* src, const uint16_t* cover, int count);

 private:
  static void clearAround(PixelBox keep, const Canvas& surface, PixelBox area);

  std::vector<uint16_t> full_, cover_;
};

}  // namespace swf
