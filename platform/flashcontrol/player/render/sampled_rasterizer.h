// Coverage from 16 sample rows per pixel, each with exact span ends across
// the row. Unlike area accumulation it applies the fill rule at every
// sample, so overlapping polygons (the pieces a stroke outline is made of)
// cover their union, with no extra weight where they overlap. Integer
// arithmetic only.
#pragma once

#include <cstdint>
#include <vector>

#include "coverage_rasterizer.h"
#include "edge_list.h"

namespace swf {

class SampledRasterizer {
 public:
  void fill(const EdgeList& edges, PixelBox clip, FillRule rule, const CoverageRasterizer::RowFn& row);

 private:
  static constexpr int kSampleRows = 16;

  struct Crossing {
    int64_t x;
    int dir;
  };

  void sampleRow(const std::vector<FixedLine>& lines, const std::vector<uint32_t>& active, int64_t y,
                 FillRule rule);
  void addSpan(int64_t xa, int64_t xb);

  int originX_ = 0;
  int width_ = 0;
  std::vector<std::vector<uint32_t>> rowLines_;
  std::vector<Crossing> crossings_;
  std::vector<int32_t> partial_;  // coverage added to single pixels
  std::vector<int32_t> runs_;     // difference array of whole-pixel runs
  std::vector<uint16_t> coverage_;
  int touchedMin_ = 0, touchedMax_ = -1;
};

}  // namespace swf
