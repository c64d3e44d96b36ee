#include "view_transform.h"

#include <algorithm>
#include <cmath>
#include <cstdint>

namespace swf {

namespace {

// The stage measures whole pixels: a movie shown at its own size is drawn
// at scale 1 even when its frame is a fraction of a pixel larger.
double wholePixels(int64_t twips) {
  double pixels = std::floor(double(twips) / 20 + 0.5);
  return pixels >= 1 ? pixels * 20 : (twips > 0 ? double(twips) : 1);
}

}  // namespace

ViewTransform makeViewTransform(const Rect& stage, double viewX, double viewY, double viewW, double viewH,
                                StageFit fit) {
  double w = wholePixels(stage.width()), h = wholePixels(stage.height());
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
