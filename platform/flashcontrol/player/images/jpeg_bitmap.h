// The pictures of the JPEG bitmap tags: DefineBits (with the movie's
// JPEGTables), DefineBitsJPEG2, DefineBitsJPEG3 and DefineBitsJPEG4 (both
// with a zlib-compressed alpha plane). The JPEG stream itself goes to a
// decoder handed in, so this side stands on its own.
#pragma once

#include <cstddef>
#include <cstdint>
#include <vector>

#include "../tags/define_bits.h"
#include "decoded_image.h"

namespace swf {

using JpegDecoder = bool (*)(const uint8_t* tables, size_t tablesSize, const uint8_t* data, size_t size,
                             DecodedImage* out);

// A JPEG stream with the stray EOI-SOI pairs (FF D9 FF D8) that movies put
// at its start or between its tables and its image taken out.
std::vector<uint8_t> withoutStrayMarkers(const uint8_t* data, size_t size);

// tables are used by DefineBits only. False on a picture the decoder
// refuses; embedded PNG and GIF pictures are refused.
bool decodeJpegBitmap(const JpegBitmapTag& tag, const uint8_t* tables, size_t tablesSize, JpegDecoder decoder,
                      DecodedImage& out);

}  // namespace swf
