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

}  // namespace tools
}  // namespace swf
