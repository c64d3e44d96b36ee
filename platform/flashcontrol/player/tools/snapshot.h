// A movie's picture after a number of ticks, as the snapshot and corpus
// commands take it: opaque, at stage size or a given size.
#pragma once

#include <string>

#include "../movie_player.h"
#include "png_codec.h"

namespace swf {
namespace tools {

struct SnapshotOptions {
  int ticks = 0;
  int width = 0;  // 0: the stage's size
  int height = 0;
  ScaleMode scale = ScaleMode::ShowAll;
};

// False when the file cannot be read or is no movie.
bool snapshotFile(const std::string& path, const SnapshotOptions& options, RgbImage& out);

struct ImageDifference {
  bool sameSize = false;
  double withinShare = 0;  // pixels whose every channel is within tolerance
  double meanAbsError = 0; // per channel, 0..255
};

ImageDifference compareImages(const RgbImage& a, const RgbImage& b, int tolerance);

}  // namespace tools
}  // namespace swf
