// A picture decoded from a movie's bitmap tag, ready for bitmap fills.
#pragma once

#include <cstdint>
#include <vector>

#include "../render/pixel.h"

namespace swf {

// Premultiplied pixels, rows top-down, width * height of them.
struct DecodedImage {
  int width = 0;
  int height = 0;
  std::vector<Bgra> pixels;
};

}  // namespace swf
