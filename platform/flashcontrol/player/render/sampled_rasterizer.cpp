#include "sampled_rasterizer.h"

#include <algorithm>

namespace swf {
namespace {

int64_t floorDiv(int64_t a, int64_t b) {
  int64_t q = a / b;
  return (a % b != 0 && ((a < 0) != (b < 0))) ? q - 1 : q;
}

}  // namespace

void SampledRasterizer::fill(const EdgeList& edges, PixelBox clip, FillRule rule,
                             const CoverageRasterizer::RowFn& fn) {
  PixelBox box{std::max(clip.x0, edges.minX()), std::max(clip.y0, edges.minY()),
               std::min(clip.x1, edges.maxX()), std::min(clip.y1, edges.maxY())};
  if (edges.empty() || box.empty()) return;
  originX_ = box.x0;
  width_ = box.x1 - box.x0;
  partial_.assign(size_t(width_) + 1, 0);
  runs_.assign(size_t(width_) + 2, 0);
  coverage_.resize(size_t(width_));

  int rows = box.y1 - box.y0;
  if (rowLines_.size() < size_t(rows)) rowLines_.resize(size_t(rows));
  for (int r = 0; r < rows; ++r) rowLines_[size_t(r)].clear();
  const std::vector<FixedLine>& lines = edges.lines();
  for (size_t i = 0; i < lines.size(); ++i) {
    const FixedLine& l = lines[i];
    int top = std::max(0, int(std::min(l.y0, l.y1) >> kSubpixelBits) - box.y0);
    int bottom = std::min(rows - 1, int((std::max(l.y0, l.y1) - 1) >> kSubpixelBits) - box.y0);
    for (int r = top; r <= bottom; ++r) rowLines_[size_t(r)].push_back(uint32_t(i));
  }

  const int64_t step = kSubpixels / kSampleRows;
  for (int r = 0; r < rows; ++r) {
    if (rowLines_[size_t(r)].empty()) continue;
    touchedMin_ = width_;
    touchedMax_ = -1;
    int64_t rowTop = int64_t(box.y0 + r) * kSubpixels;
    for (int s = 0; s < kSampleRows; ++s) sampleRow(lines, rowLines_[size_t(r)], rowTop + s * step + step / 2, rule);
    if (touchedMax_ < touchedMin_) continue;
    int32_t run = 0;
    for (int x = 0; x < touchedMin_; ++x) run += runs_[size_t(x)];
    for (int x = touchedMin_; x <= touchedMax_; ++x) {
      run += runs_[size_t(x)];
      int32_t v = (run * kSubpixels + partial_[size_t(x)]) / kSampleRows;
      coverage_[size_t(x - touchedMin_)] = uint16_t(v > 256 ? 256 : v);
    }
    std::fill(runs_.begin(), runs_.end(), 0);
    std::fill(partial_.begin() + touchedMin_, partial_.begin() + touchedMax_ + 1, 0);
    fn(box.y0 + r, originX_ + touchedMin_, touchedMax_ - touchedMin_ + 1, coverage_.data());
  }
}

void SampledRasterizer::sampleRow(const std::vector<FixedLine>& lines, const std::vector<uint32_t>& active,
                                  int64_t y, FillRule rule) {
  crossings_.clear();
  for (uint32_t i : active) {
    const FixedLine& l = lines[i];
    int64_t y0 = l.y0, y1 = l.y1;
    int dir = 1;
    int64_t x0 = l.x0, x1 = l.x1;
    if (y0 > y1) {
      std::swap(y0, y1);
      std::swap(x0, x1);
      dir = -1;
    }
    if (y < y0 || y >= y1) continue;
    int64_t x = x0 + floorDiv((x1 - x0) * (y - y0), y1 - y0);
    crossings_.push_back(Crossing{x - int64_t(originX_) * kSubpixels, dir});
  }
  std::sort(crossings_.begin(), crossings_.end(),
            [](const Crossing& a, const Crossing& b) { return a.x < b.x || (a.x == b.x && a.dir < b.dir); });
  int winding = 0;
  for (size_t k = 0; k + 1 < crossings_.size(); ++k) {
    winding += crossings_[k].dir;
    bool inside = rule == FillRule::NonZero ? winding != 0 : (winding & 1) != 0;
    if (inside) addSpan(crossings_[k].x, crossings_[k + 1].x);
  }
}

// Adds one sample row's coverage of [xa, xb), in subpixels, to the row.
void SampledRasterizer::addSpan(int64_t xa, int64_t xb) {
  const int64_t right = int64_t(width_) * kSubpixels;
  xa = std::max<int64_t>(xa, 0);
  xb = std::min(xb, right);
  if (xa >= xb) return;
  int ia = int(xa >> kSubpixelBits), ib = int(xb >> kSubpixelBits);
  touchedMin_ = std::min(touchedMin_, ia);
  touchedMax_ = std::max(touchedMax_, std::min(ib, width_ - 1));
  if (ia == ib) {
    partial_[size_t(ia)] += int32_t(xb - xa);
    return;
  }
  partial_[size_t(ia)] += int32_t(kSubpixels - (xa & (kSubpixels - 1)));
  runs_[size_t(ia) + 1] += 1;
  runs_[size_t(ib)] -= 1;
  partial_[size_t(ib)] += int32_t(xb & (kSubpixels - 1));
}

}  // namespace swf
