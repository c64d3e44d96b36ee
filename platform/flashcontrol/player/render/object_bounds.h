// The pixels a display object can touch once drawn: what a layer for it
// must hold.
#pragma once

#include "../format/matrix.h"
#include "../timeline/display_object.h"
#include "coverage_rasterizer.h"

namespace swf {

// Drawn: every pixel the object may touch, its filters' reach included.
// Rectangle: its bounding rectangle alone, rounded to whole pixels.
enum class Extent { Drawn, Rectangle };

// toPixels: the object's parent's space to pixels (the placement's matrix
// is applied here). pixelsPerStagePixel scales the filters' reach.
PixelBox pixelBoundsOf(const DisplayObject& obj, const Matrix& toPixels, double pixelsPerStagePixel,
                       Extent extent = Extent::Drawn);

// The top-left corner of the object's bounding rectangle in pixels, not
// rounded (its placement's matrix applied as above); false when it has none.
bool boundsCornerOf(const DisplayObject& obj, const Matrix& toPixels, Vec2& corner);

PixelBox unite(PixelBox a, PixelBox b);
PixelBox intersect(PixelBox a, PixelBox b);
PixelBox grow(PixelBox b, int dx, int dy);

}  // namespace swf
