#include "scene_renderer.h"

namespace swf {

void SceneRenderer::render(const MovieClip& root, const ViewTransform& view, const Canvas& target,
                           PixelBox clip) {
  target_ = &target;
  clip_ = clip;
  viewScale_ = view.scale;
  drawClip(root, view.stageToPixels, ColorTransform{});
}

// Masks (objects with a clip depth) are not drawn; what they would mask
// shows unmasked.
void SceneRenderer::drawClip(const MovieClip& clip, const Matrix& m, const ColorTransform& cx) {
  for (const auto& entry : clip.children()) {
    const DisplayObject& obj = entry.second;
    const Placement& p = obj.placement;
    if (p.clipDepth > 0 || !p.visible || !obj.character) continue;
    Matrix om = m * p.matrix;
    ColorTransform ocx = cx * p.colorTransform;
    if (obj.character->kind == Character::Kind::Shape) {
      shapes_.draw(*obj.character->shape, om, ocx, viewScale_, *target_, clip_);
    } else if (obj.clip) {
      drawClip(*obj.clip, om, ocx);
    }
  }
}

}  // namespace swf
