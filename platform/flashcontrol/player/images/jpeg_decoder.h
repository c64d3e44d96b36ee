// JPEG pictures as SWF bitmap tags carry them.
#pragma once

#include <cstddef>
#include <cstdint>

#include "decoded_image.h"

namespace swf {

// Decodes one JPEG stream; tables (JPEGTables' body, may be null/empty) are read first,
// as DefineBits needs. False on anything malformed or unsupported.
// Sequential and progressive Huffman-coded 8-bit pictures of one (grey) or three
// components. Entropy-coded data that ends early or is damaged leaves the rest
// of the picture mid-grey; damaged headers fail.
bool decodeJpeg(const uint8_t* tables, size_t tablesSize, const uint8_t* data, size_t size, DecodedImage* out);

}  // namespace swf
