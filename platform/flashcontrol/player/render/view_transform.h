// Where the stage lands in the view rectangle.
#pragma once

#include "../format/matrix.h"
#include "../format/rect.h"

namespace swf {

struct ViewTransform {
  Matrix stageToPixels;  // twips of the stage to canvas pixels
  double scale = 0;      // pixels per twip (the smaller axis when stretched)
};

// exactFit stretches the stage over the rectangle; otherwise the whole stage
// shows at its aspect ratio, centred.
ViewTransform makeViewTransform(const Rect& stage, double viewX, double viewY, double viewW,
                                double viewH, bool exactFit);

}  // namespace swf
