// Helpers shared by the player's tests: loading builder-made movies and
// looking at what the player painted.
#pragma once

#include <array>
#include <cstdint>
#include <vector>

#include "movie_player.h"
#include "shape_writer.h"
#include "swf_builder.h"

namespace playertest {

// A rendered picture: premultiplied B, G, R, A per pixel.
struct Picture {
  int width = 0;
  int height = 0;
  std::vector<uint8_t> bgra;

  const uint8_t* at(int x, int y) const { return &bgra[(size_t(y) * size_t(width) + size_t(x)) * 4]; }
  int r(int x, int y) const { return at(x, y)[2]; }
  int g(int x, int y) const { return at(x, y)[1]; }
  int b(int x, int y) const { return at(x, y)[0]; }
  int a(int x, int y) const { return at(x, y)[3]; }
  // Sum of alpha over a box, in pixels (255 per pixel).
  double alphaSum(int x0, int y0, int x1, int y1) const;
};

using Bgra = std::array<uint8_t, 4>;
constexpr Bgra kClear{0, 0, 0, 0};
constexpr Bgra kWhite{255, 255, 255, 255};
constexpr Bgra kBlack{0, 0, 0, 255};

// Fills the canvas with one premultiplied pixel first, then renders the
// player's current frame over the whole canvas.
Picture render(const swf::MoviePlayer& player, int width, int height, swf::ScaleMode mode = swf::ScaleMode::ShowAll,
               bool opaque = true, Bgra prefill = kClear);

// A movie of one shape placed at depth 1 on a white stage of the given pixels.
Bytes movieWithShape(const ShapeWriter& shape, const mvqtest::Rect& bounds, int stageW = 100, int stageH = 100,
                     const mvqtest::Matrix& place = {});

// Loads bytes; fails the calling test when the player refuses them.
void loadInto(swf::MoviePlayer& player, const Bytes& movie);

}  // namespace playertest
