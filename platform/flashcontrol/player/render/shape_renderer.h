// Draws one shape: per style group its fills (each fill bounded by the edges
// that name it on either side), then its lines.
#pragma once

#include <cstdint>
#include <vector>

#include "../canvas.h"
#include "../format/color_transform.h"
#include "../format/matrix.h"
#include "../tags/shape.h"
#include "coverage_rasterizer.h"
#include "edge_list.h"
#include "fill_layer.h"
#include "mask_layer.h"
#include "paint.h"
#include "reduced_bitmaps.h"

namespace swf {

class ShapeRenderer {
 public:
  // toPixels maps the shape's twips to canvas pixels; viewScale is the
  // stage's pixels per twip, used by lines that do not scale with the object.
  // mask, when given, scales what is drawn by its coverage.
  void draw(const Shape& shape, const Matrix& toPixels, const ColorTransform& cx, double viewScale,
            const Canvas& target, PixelBox clip, const MaskLayer* mask = nullptr);
  // Adds what the shape covers (fills and lines, whatever their colours) to
  // into, scaled by mask when given.
  void cover(const Shape& shape, const Matrix& toPixels, double viewScale, PixelBox clip, const MaskLayer* mask,
             MaskLayer& into);
  void setQuality(Quality q);

 private:
  struct SidedEdge {
    uint32_t edge;
    int8_t winding;
  };

  // The part of clip left to draw in once mask is taken into account.
  PixelBox prepare(const Shape& shape, PixelBox clip, const MaskLayer* mask);
  void sortEdgesByFill(const Shape& shape);
  bool drawsFill(const Shape& shape, int32_t fill) const;
  void addFillEdges(const Shape& shape, int32_t fill, const Matrix& toPixels);
  void addLineEdges(const Shape& shape, int32_t line, const Matrix& toPixels, double viewScale);
  void drawFill(const Shape& shape, int32_t fill, const Matrix& toPixels, const ColorTransform& cx,
                const Canvas& target, PixelBox clip, FillLayer* layer);
  void drawLine(const Shape& shape, int32_t line, const Matrix& toPixels, const ColorTransform& cx, double viewScale,
                const Canvas& target, PixelBox clip);
  // Into layer when given (fills of a group that meet), else onto target.
  void composite(const Paint& paint, const Canvas& target, PixelBox clip, FillRule rule, FillLayer* layer);
  void paintRow(const Paint& paint, const Canvas& target, FillLayer* layer, int y, int x, int count,
                const uint16_t* coverage);
  void coverInto(MaskLayer& into, PixelBox clip, FillRule rule);
  // Coverage scaled by the mask in effect (unchanged without one).
  const uint16_t* masked(int y, int x, int count, const uint16_t* coverage);

  // Low quality reads bitmaps as they are; above it shrunk ones are read
  // from reduced copies.
  ReducedBitmaps* reducing();

  CoverageRasterizer raster_;
  Quality quality_ = Quality::High;
  ReducedBitmaps reduced_;
  EdgeList edges_;
  FillLayer layer_;
  std::vector<std::vector<SidedEdge>> byFill_;
  std::vector<Bgra> shade_;
  const MaskLayer* mask_ = nullptr;
  std::vector<uint16_t> maskedCoverage_;
};

}  // namespace swf
