// Draws laid-out text: every glyph and rectangle through the shape renderer,
// in its own colour under the object's colour transform, cut at the text
// field's box when the object is not rotated.
#pragma once

#include "../text/text_layout.h"
#include "shape_renderer.h"

namespace swf {

void drawText(ShapeRenderer& shapes, const TextLayout& text, const Matrix& toPixels, const ColorTransform& cx,
              double viewScale, const Canvas& target, PixelBox clip, const MaskLayer* mask);
void coverText(ShapeRenderer& shapes, const TextLayout& text, const Matrix& toPixels, double viewScale, PixelBox clip,
               const MaskLayer* mask, MaskLayer& into);

}  // namespace swf
