#include "view_transform.h"

#include <algorithm>

namespace swf {

ViewTransform makeViewTransform(const Rect& stage, double viewX, double viewY, double viewW,
                                double viewH, StageFit fit) {
  double w = double(stage.width()), h = double(stage.height());
  if (w <= 0) w = 1;
  if (h <= 0) h = 1;
  double sx = viewW / w, sy = viewH / h;
  ViewTransform v;
  if (fit != StageFit::ExactFit) {
    double s = fit == StageFit::NoBorder ? std::max(sx, sy) : std::min(sx, sy);
    sx = sy = s;
  }
  double offsetX = viewX + (viewW - w * sx) / 2;
  double offsetY = viewY + (viewH - h * sy) / 2;
  v.stageToPixels = Matrix::translate(offsetX - stage.xMin * sx, offsetY - stage.yMin * sy) * Matrix::scale(sx, sy);
  v.scale = std::min(sx, sy);
  return v;
}

}  // namespace swf
