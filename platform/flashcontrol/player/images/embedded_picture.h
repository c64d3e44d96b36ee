// PNG and GIF pictures, which DefineBitsJPEG2 and DefineBitsJPEG3 may hold
// in place of a JPEG stream. Their transparency is their own: JPEG3's alpha
// plane applies to JPEG data only.
#pragma once

#include <cstddef>
#include <cstdint>

#include "decoded_image.h"

namespace swf {

// By their signatures (PNG, GIF87a, GIF89a).
bool isPngOrGif(const uint8_t* data, size_t size);

// False for damaged data or a picture larger than bitmaps may be; a GIF
// gives its first frame.
bool decodePngOrGif(const uint8_t* data, size_t size, DecodedImage& out);

}  // namespace swf
