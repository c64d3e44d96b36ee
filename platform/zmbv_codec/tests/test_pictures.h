// Generated pictures for the codec tests: flat fills, gradients and a square
// that moves over a flat background, as animation exports give them.
#pragma once

#include <cstdint>
#include <vector>

#include "core/picture.h"

namespace zmbvtest {

zmbv::Picture flatPicture(int width, int height, uint32_t colour);
zmbv::Picture gradientPicture(int width, int height, int phase);
// A square of side `side` at (x, y) over a flat background, a stripe pattern inside.
zmbv::Picture squarePicture(int width, int height, int x, int y, int side);
// A sequence that mixes the above: flat, gradients, a square moving and a cut.
std::vector<zmbv::Picture> mixedSequence(int width, int height, int frames);

// The picture as a DIB's bytes and back.
std::vector<uint8_t> toDib(const zmbv::Picture& picture, int bitCount, bool bottomUp);
zmbv::Picture fromDib(const std::vector<uint8_t>& bits, int width, int height, int bitCount, bool bottomUp);

}  // namespace zmbvtest
