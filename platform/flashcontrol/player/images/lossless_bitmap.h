// The pictures of DefineBitsLossless (opaque) and DefineBitsLossless2 (with
// alpha): zlib-compressed 8-bit colour-mapped, 15-bit or 32-bit pixels.
#pragma once

#include <cstddef>
#include <cstdint>

#include "../tags/define_bits.h"
#include "decoded_image.h"

namespace swf {

// False, with out untouched, on an unknown format, a picture over the size
// limits, or data that is short or damaged.
bool decodeLosslessBitmap(const LosslessBitmapTag& tag, DecodedImage& out);

}  // namespace swf
