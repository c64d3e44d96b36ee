// DefineBitsLossless (opaque) and DefineBitsLossless2 (with alpha) bodies:
// zlib-compressed 8-bit colour-mapped, 15-bit or 32-bit pictures.
#pragma once

#include <cstddef>
#include <cstdint>

#include "decoded_image.h"

namespace swf {

// body starts with the character id. False, with out untouched, on an
// unknown format, a picture over the size limits, or data that is short or
// damaged.
bool decodeLosslessBitmap(const uint8_t* body, size_t size, bool withAlpha, DecodedImage& out);

}  // namespace swf
