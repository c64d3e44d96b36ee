// Exact-area anti-aliasing: every segment adds, cell by cell, the signed
// height it crosses (cover) and where it crosses (area); a sweep along each
// row turns the running sums into coverage. Integer arithmetic only, so the
// same segments give the same coverage on every machine.
#pragma once

#include <cstdint>
#include <functional>
#include <vector>

#include "edge_list.h"
#include "quality.h"

namespace swf {

enum class FillRule { NonZero, EvenOdd };

struct PixelBox {
  int x0 = 0, y0 = 0, x1 = 0, y1 = 0;  // [x0, x1) x [y0, y1)
  bool empty() const { return x1 <= x0 || y1 <= y0; }
};

class CoverageRasterizer {
 public:
  // Row callback: pixels [x, x + count) of row y, coverage 0..256 each.
  using RowFn = std::function<void(int y, int x, int count, const uint16_t* coverage)>;

  // Rasterizes edges inside clip and hands over each row that has coverage.
  void fill(const EdgeList& edges, PixelBox clip, FillRule rule, const RowFn& row);
  void setQuality(Quality q) { quality_ = q; }

 private:
  static constexpr int kBandRows = 32;

  void prepareBand(int width);
  void addLine(const FixedLine& line, int bandTop, int rows);
  void addCentreCrossings(int64_t x0, int64_t y0, int64_t x1, int64_t y1, int rows, int dir);
  void addRowPiece(int row, int64_t xa, int64_t ya, int64_t xb, int64_t yb, int dir);
  void addCellPiece(int row, int64_t xa, int64_t ya, int64_t xb, int64_t yb, int dir);
  void addCell(int row, int cx, int64_t fxa, int64_t fxb, int64_t dy);
  void sweepRow(int row, int y, FillRule rule, const RowFn& fn);

  Quality quality_ = Quality::High;
  int width_ = 0;
  int originX_ = 0;  // pixel x of cell 0
  // Cells of one band of rows, width_ + 1 per row. The sums wrap around as
  // unsigned values: the final coverage is right whatever the order of adds.
  std::vector<uint32_t> cover_;
  std::vector<uint32_t> area_;
  std::vector<int> rowMin_, rowMax_;
  std::vector<uint16_t> coverage_;
  std::vector<std::vector<uint32_t>> bandLines_;
};

}  // namespace swf
