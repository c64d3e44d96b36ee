// Walks a stage's display lists depth by depth and draws what they show.
#pragma once

#include <cstdint>
#include <memory>
#include <vector>

#include "../canvas.h"
#include "../timeline/stage.h"
#include "mask_layer.h"
#include "shape_renderer.h"
#include "view_transform.h"

namespace swf {

class SceneRenderer {
 public:
  void render(const MovieClip& root, const ViewTransform& view, const Canvas& target, PixelBox clip);

 private:
  // What a list is drawn under: the mask in effect (nullptr: none), and the
  // mask being built when the list is part of one (nullptr: paint pixels).
  struct Target {
    const MaskLayer* mask = nullptr;
    MaskLayer* into = nullptr;
  };
  // A mask of some list, in effect until the list passes its clip depth.
  struct OpenMask {
    uint16_t clipDepth;
    const MaskLayer* outer;
  };

  void drawClip(const MovieClip& clip, const Matrix& m, const ColorTransform& cx, Target t);
  void drawObject(const DisplayObject& obj, const Matrix& m, const ColorTransform& cx, Target t);
  void drawText(const TextLayout& text, const Matrix& m, const ColorTransform& cx, Target t);
  // The mask obj makes under t's mask, or nullptr when no more masks fit.
  const MaskLayer* buildMask(const DisplayObject& obj, const Matrix& m, Target t);
  MaskLayer* pushLayer();
  void popLayer() { --layersInUse_; }

  ShapeRenderer shapes_;
  const Canvas* target_ = nullptr;
  PixelBox clip_;
  double viewScale_ = 1;
  // Mask layers are reused from frame to frame; those in use form a stack.
  std::vector<std::unique_ptr<MaskLayer>> layers_;
  size_t layersInUse_ = 0;
  std::vector<OpenMask> open_;
};

}  // namespace swf
