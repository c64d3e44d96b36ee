#include "coverage_rasterizer.h"

#include <algorithm>

namespace swf {
namespace {

int64_t floorDiv(int64_t a, int64_t b) {
  int64_t q = a / b;
  return (a % b != 0 && ((a < 0) != (b < 0))) ? q - 1 : q;
}

// x where the line from (x0, y0) to (x1, y1) reaches y.
int64_t xAtY(int64_t x0, int64_t y0, int64_t x1, int64_t y1, int64_t y) {
  if (y == y0) return x0;
  if (y == y1) return x1;
  return x0 + floorDiv((x1 - x0) * (y - y0), y1 - y0);
}

// y where that line reaches x.
int64_t yAtX(int64_t x0, int64_t y0, int64_t x1, int64_t y1, int64_t x) { return xAtY(y0, x0, y1, x1, x); }

}  // namespace

void CoverageRasterizer::prepareBand(int width) {
  size_t cells = size_t(width + 1) * kBandRows;
  if (cover_.size() < cells) {
    cover_.assign(cells, 0);
    area_.assign(cells, 0);
  }
  rowMin_.assign(kBandRows, width + 1);
  rowMax_.assign(kBandRows, -1);
  if (coverage_.size() < size_t(width)) coverage_.resize(size_t(width));
}

void CoverageRasterizer::fill(const EdgeList& edges, PixelBox clip, FillRule rule, const RowFn& fn) {
  PixelBox box{std::max(clip.x0, edges.minX()), std::max(clip.y0, edges.minY()), std::min(clip.x1, edges.maxX()),
               std::min(clip.y1, edges.maxY())};
  if (edges.empty() || box.empty()) return;
  // Cells start at the box's left; anything further left only adds cover.
  originX_ = box.x0;
  width_ = box.x1 - box.x0;
  prepareBand(width_);

  int bands = (box.y1 - box.y0 + kBandRows - 1) / kBandRows;
  if (bandLines_.size() < size_t(bands)) bandLines_.resize(size_t(bands));
  for (int b = 0; b < bands; ++b) bandLines_[size_t(b)].clear();
  const std::vector<FixedLine>& lines = edges.lines();
  for (size_t i = 0; i < lines.size(); ++i) {
    const FixedLine& l = lines[i];
    int top = int(std::min(l.y0, l.y1) >> kSubpixelBits) - box.y0;
    int bottom = int((std::max(l.y0, l.y1) - 1) >> kSubpixelBits) - box.y0;
    int b0 = top < 0 ? 0 : top / kBandRows;
    int b1 = std::min(bands - 1, bottom < 0 ? -1 : bottom / kBandRows);
    for (int b = b0; b <= b1; ++b) bandLines_[size_t(b)].push_back(uint32_t(i));
  }

  for (int b = 0; b < bands; ++b) {
    int bandTop = box.y0 + b * kBandRows;
    int rows = std::min(kBandRows, box.y1 - bandTop);
    for (uint32_t i : bandLines_[size_t(b)]) addLine(lines[i], bandTop, rows);
    for (int r = 0; r < rows; ++r) sweepRow(r, bandTop + r, rule, fn);
  }
}

// Adds the part of a line that falls into the current band of rows.
void CoverageRasterizer::addLine(const FixedLine& l, int bandTop, int rows) {
  int64_t x0 = int64_t(l.x0) - int64_t(originX_) * kSubpixels;
  int64_t x1 = int64_t(l.x1) - int64_t(originX_) * kSubpixels;
  int64_t y0 = int64_t(l.y0) - int64_t(bandTop) * kSubpixels;
  int64_t y1 = int64_t(l.y1) - int64_t(bandTop) * kSubpixels;
  int dir = 1;
  if (y0 > y1) {
    std::swap(x0, x1);
    std::swap(y0, y1);
    dir = -1;
  }
  if (quality_ == Quality::Low) return addCentreCrossings(x0, y0, x1, y1, rows, dir);
  int64_t top = std::max<int64_t>(y0, 0);
  int64_t bottom = std::min<int64_t>(y1, int64_t(rows) * kSubpixels);
  if (top >= bottom) return;
  for (int64_t row = top >> kSubpixelBits; row * kSubpixels < bottom; ++row) {
    int64_t ya = std::max(top, row * kSubpixels);
    int64_t yb = std::min(bottom, (row + 1) * kSubpixels);
    int64_t xa = xAtY(x0, y0, x1, y1, ya);
    int64_t xb = xAtY(x0, y0, x1, y1, yb);
    addRowPiece(int(row), xa, ya - row * kSubpixels, xb, yb - row * kSubpixels, dir);
  }
}

// Without anti-aliasing a pixel is in when its centre is: the line counts
// only where it crosses the centre line of a row, turning the winding from
// the first pixel whose centre is at or right of the crossing.
void CoverageRasterizer::addCentreCrossings(int64_t x0, int64_t y0, int64_t x1, int64_t y1, int rows, int dir) {
  constexpr int64_t kHalf = kSubpixels / 2;
  const int64_t first = std::max<int64_t>(0, floorDiv(y0 - kHalf + kSubpixels - 1, kSubpixels));
  for (int64_t row = first; row < rows; ++row) {
    const int64_t yc = row * kSubpixels + kHalf;
    if (yc >= y1) break;
    const int64_t xc = xAtY(x0, y0, x1, y1, yc);
    const int64_t cx = std::max<int64_t>(0, floorDiv(xc - kHalf + kSubpixels - 1, kSubpixels));
    if (cx < width_) addCell(int(row), int(cx), 0, 0, kSubpixels * dir);
  }
}

// A piece within one row: the parts left of the cells and right of them are
// cut off first (left parts still cover everything to their right).
void CoverageRasterizer::addRowPiece(int row, int64_t xa, int64_t ya, int64_t xb, int64_t yb, int dir) {
  const int64_t right = int64_t(width_) * kSubpixels;
  if (xa > xb) {  // walk left to right; the height then counts the other way
    std::swap(xa, xb);
    std::swap(ya, yb);
    dir = -dir;
  }
  if (xa >= right) return;
  if (xb <= 0) {
    addCell(row, 0, 0, 0, (yb - ya) * dir);
    return;
  }
  if (xa < 0) {
    int64_t ym = yAtX(xa, ya, xb, yb, 0);
    addCell(row, 0, 0, 0, (ym - ya) * dir);
    ya = ym;
    xa = 0;
  }
  if (xb > right) {
    yb = yAtX(xa, ya, xb, yb, right);
    xb = right;
  }
  addCellPiece(row, xa, ya, xb, yb, dir);
}

// xa <= xb, both within the cells: split at every column boundary.
void CoverageRasterizer::addCellPiece(int row, int64_t xa, int64_t ya, int64_t xb, int64_t yb, int dir) {
  int64_t cx = xa >> kSubpixelBits;
  int64_t lastCx = xb >> kSubpixelBits;
  if (xb == lastCx * kSubpixels && lastCx > cx) --lastCx;
  int64_t px = xa, py = ya;
  while (cx < lastCx) {
    int64_t bx = (cx + 1) * kSubpixels;
    int64_t by = yAtX(xa, ya, xb, yb, bx);
    addCell(row, int(cx), px - cx * kSubpixels, kSubpixels, (by - py) * dir);
    px = bx, py = by;
    ++cx;
  }
  addCell(row, int(cx), px - cx * kSubpixels, xb - cx * kSubpixels, (yb - py) * dir);
}

void CoverageRasterizer::addCell(int row, int cx, int64_t fxa, int64_t fxb, int64_t dy) {
  if (dy == 0 || cx >= width_) return;
  size_t i = size_t(row) * size_t(width_ + 1) + size_t(cx);
  cover_[i] += uint32_t(int32_t(dy));
  area_[i] += uint32_t(int32_t(dy * (fxa + fxb)));
  rowMin_[size_t(row)] = std::min(rowMin_[size_t(row)], cx);
  rowMax_[size_t(row)] = std::max(rowMax_[size_t(row)], cx);
}

void CoverageRasterizer::sweepRow(int row, int y, FillRule rule, const RowFn& fn) {
  int lo = rowMin_[size_t(row)], hi = rowMax_[size_t(row)];
  if (hi < lo) return;
  size_t base = size_t(row) * size_t(width_ + 1);
  uint32_t acc = 0;
  int end = hi + 1;
  for (int cx = lo; cx < width_; ++cx) {
    uint32_t c = cover_[base + size_t(cx)];
    uint32_t a = area_[base + size_t(cx)];
    cover_[base + size_t(cx)] = 0;
    area_[base + size_t(cx)] = 0;
    int32_t t = int32_t(((acc + c) << (kSubpixelBits + 1)) - a);
    acc += c;
    uint32_t mag = t < 0 ? uint32_t(0) - uint32_t(t) : uint32_t(t);
    uint32_t v = (mag + (1u << kSubpixelBits)) >> (kSubpixelBits + 1);
    if (rule == FillRule::EvenOdd) {
      v &= 511;
      if (v > 256) v = 512 - v;
    } else if (v > 256) {
      v = 256;
    }
    coverage_[size_t(cx - lo)] = uint16_t(coverageAt(quality_, v));
    if (cx >= hi && acc == 0) {
      end = cx + 1;
      break;
    }
    end = cx + 1;
  }
  rowMin_[size_t(row)] = width_ + 1;
  rowMax_[size_t(row)] = -1;
  fn(y, originX_ + lo, end - lo, coverage_.data());
}

}  // namespace swf
