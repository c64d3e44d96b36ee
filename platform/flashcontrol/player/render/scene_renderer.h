// Walks a stage's display lists depth by depth and draws what they show.
#pragma once

#include "../canvas.h"
#include "../timeline/stage.h"
#include "shape_renderer.h"
#include "view_transform.h"

namespace swf {

class SceneRenderer {
 public:
  void render(const MovieClip& root, const ViewTransform& view, const Canvas& target, PixelBox clip);

 private:
  void drawClip(const MovieClip& clip, const Matrix& m, const ColorTransform& cx);

  ShapeRenderer shapes_;
  const Canvas* target_ = nullptr;
  PixelBox clip_;
  double viewScale_ = 1;
};

}  // namespace swf
