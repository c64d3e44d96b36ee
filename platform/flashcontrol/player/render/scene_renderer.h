// Walks a stage's display lists depth by depth and draws what they show.
#pragma once

#include <cstdint>
#include <memory>
#include <vector>

#include "../canvas.h"
#include "../timeline/stage.h"
#include "blend_compositor.h"
#include "filter_renderer.h"
#include "mask_layer.h"
#include "pixel_layer.h"
#include "shape_renderer.h"
#include "view_transform.h"

namespace swf {

class SceneRenderer {
 public:
  void render(const MovieClip& root, const ViewTransform& view, const Canvas& target, PixelBox clip, Quality quality);

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
  void drawShape(const Shape& shape, const Matrix& m, const ColorTransform& cx, Target t);
  // obj under the clip setMask gave it; false when no mask layer was free.
  bool drawMasked(const DisplayObject& obj, const MovieClip& mask, const Matrix& m, const ColorTransform& cx, Target t);
  void drawText(const TextLayout& text, const Matrix& m, const ColorTransform& cx, Target t);
  // om and ocx include the object's own placement.
  void drawContent(const DisplayObject& obj, const Matrix& om, const ColorTransform& ocx, Target t);
  // The mask obj makes under t's mask, or nullptr when no more masks fit.
  const MaskLayer* buildMask(const DisplayObject& obj, const Matrix& m, Target t);
  MaskLayer* pushLayer();
  void popLayer() { --layersInUse_; }
  // Objects with a blend mode, filters or a cached bitmap are drawn into a
  // layer of their own first; false when none was free (drawn as plain).
  bool drawLayered(const DisplayObject& obj, const Matrix& m, const ColorTransform& cx, Target t);
  PixelLayer* pushPixelLayer(PixelBox box);
  void popPixelLayer() {
    --pixelLayersInUse_;
    pixelLayerBytes_ -= PixelLayer::bytesFor(pixelLayers_[pixelLayersInUse_]->box());
  }

  ShapeRenderer shapes_;
  Shape morphed_;  // a morph shape at its ratio, rebuilt for each draw
  const Canvas* target_ = nullptr;
  PixelBox clip_;
  double viewScale_ = 1;
  Matrix stageToPixels_;
  // Mask layers are reused from frame to frame; those in use form a stack.
  std::vector<std::unique_ptr<MaskLayer>> layers_;
  size_t layersInUse_ = 0;
  std::vector<OpenMask> open_;
  std::vector<std::unique_ptr<PixelLayer>> pixelLayers_;
  size_t pixelLayersInUse_ = 0;
  size_t pixelLayerBytes_ = 0;
  bool inLayer_ = false;  // drawing into a layer, not the canvas
  FilterRenderer filters_;
  BlendCompositor compositor_;
};

}  // namespace swf
