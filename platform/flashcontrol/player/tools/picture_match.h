// Whether a snapshot shows what a reference picture shows. A pixel
// mismatches when a channel differs by more than max(8, tolerance); it is
// excused where the reference has an edge (a 3 x 3 neighbour differs from
// it by more than 32 in a channel), since anti-aliasing may differ there.
// A picture matches with at most 0.3 % unexcused mismatches.
#pragma once

#include <cstddef>

#include "png_codec.h"

namespace swf {
namespace tools {

constexpr int kMinTolerance = 8;
constexpr int kEdgeContrast = 32;
constexpr double kMaxUnexcusedShare = 0.003;

struct PictureMatch {
  bool sameSize = false;
  size_t unexcused = 0;
  double unexcusedShare = 1;
  double meanAbsError = 255;  // per channel; how near the pictures are
  bool matches() const { return sameSize && unexcusedShare <= kMaxUnexcusedShare; }
};

PictureMatch matchPicture(const RgbImage& actual, const RgbImage& reference, int tolerance);

// A picture of nothing but the reference's most common colour: a reference
// that it matches tells nothing about the player.
RgbImage flatPictureOf(const RgbImage& reference);

}  // namespace tools
}  // namespace swf
