// Baseline and progressive JPEG decoding for the movie's JPEG bitmap tags.
#pragma once

#include <cstddef>
#include <cstdint>

#include "decoded_image.h"

namespace swf {

// Decodes one JPEG stream; tables (JPEGTables' body, may be null/empty) are read first,
// as DefineBits needs. False on anything malformed or unsupported.
bool decodeJpeg(const uint8_t* tables, size_t tablesSize, const uint8_t* data, size_t size,
                DecodedImage* out);

}  // namespace swf
