// Where the stage lands in the view rectangle.
#pragma once

#include "../format/matrix.h"
#include "../format/rect.h"

namespace swf {

struct ViewTransform {
  Matrix stageToPixels;  // twips of the stage to canvas pixels
  double scale = 0;      // pixels per twip (the smaller axis when stretched)
};

// How the stage fills the view rectangle: whole at its aspect ratio (show
// all) or covering it at its aspect ratio (no border), centred either way,
// or stretched over it (exact fit).
enum class StageFit { ShowAll, NoBorder, ExactFit };

ViewTransform makeViewTransform(const Rect& stage, double viewX, double viewY, double viewW, double viewH,
                                StageFit fit);

}  // namespace swf
