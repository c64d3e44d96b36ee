#include "text_drawing.h"

#include <algorithm>
#include <cmath>

namespace swf {
namespace {

// The field's box in pixels, when the transform keeps it a box.
PixelBox clipOf(const TextLayout& text, const Matrix& toPixels, PixelBox clip) {
  if (!text.clipped || toPixels.b != 0 || toPixels.c != 0) return clip;
  Vec2 p = toPixels.apply(text.clip.xMin, text.clip.yMin);
  Vec2 q = toPixels.apply(text.clip.xMax, text.clip.yMax);
  auto px = [](double v) { return int(std::max(-1e9, std::min(1e9, std::round(v)))); };
  PixelBox box{px(std::min(p.x, q.x)), px(std::min(p.y, q.y)), px(std::max(p.x, q.x)), px(std::max(p.y, q.y))};
  return PixelBox{std::max(clip.x0, box.x0), std::max(clip.y0, box.y0), std::min(clip.x1, box.x1),
                  std::min(clip.y1, box.y1)};
}

// Paints a glyph's one fill in its colour, whatever that fill holds.
ColorTransform colorOf(const Rgba& c) {
  ColorTransform t;
  t.rMult = t.gMult = t.bMult = t.aMult = 0;
  t.rAdd = c.r;
  t.gAdd = c.g;
  t.bAdd = c.b;
  t.aAdd = c.a;
  return t;
}

}  // namespace

void drawText(ShapeRenderer& shapes, const TextLayout& text, const Matrix& toPixels, const ColorTransform& cx,
              double viewScale, const Canvas& target, PixelBox clip, const MaskLayer* mask) {
  clip = clipOf(text, toPixels, clip);
  if (clip.empty()) return;
  for (const PlacedGlyph& g : text.glyphs) {
    shapes.draw(*g.shape, toPixels * g.matrix, cx * colorOf(g.color), viewScale, target, clip, mask);
  }
}

void coverText(ShapeRenderer& shapes, const TextLayout& text, const Matrix& toPixels, double viewScale, PixelBox clip,
               const MaskLayer* mask, MaskLayer& into) {
  clip = clipOf(text, toPixels, clip);
  if (clip.empty()) return;
  for (const PlacedGlyph& g : text.glyphs) shapes.cover(*g.shape, toPixels * g.matrix, viewScale, clip, mask, into);
}

}  // namespace swf
