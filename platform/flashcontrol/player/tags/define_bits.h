// The bitmap definition tags, read down to their compressed picture data:
// DefineBitsLossless(2) and DefineBits / DefineBitsJPEG2-4. images/ turns
// what these find into pixels.
#pragma once

#include <cstddef>
#include <cstdint>

#include "tag_codes.h"

namespace swf {

enum LosslessFormat : uint8_t { ColorMapped = 3, Rgb15 = 4, Rgb32 = 5 };

struct LosslessBitmapTag {
  uint16_t id = 0;
  uint8_t format = 0;  // a LosslessFormat, unchecked
  int width = 0;
  int height = 0;
  int tableSize = 0;                  // colour-mapped only
  bool withAlpha = false;             // DefineBitsLossless2
  const uint8_t* zlibData = nullptr;  // the table and rows
  size_t zlibSize = 0;
};

struct JpegBitmapTag {
  uint16_t id = 0;
  bool usesTables = false;         // DefineBits: the movie's JPEGTables go first
  const uint8_t* image = nullptr;  // JPEG (or embedded PNG/GIF) data
  size_t imageSize = 0;
  const uint8_t* zlibAlpha = nullptr;  // JPEG3/4: one byte a pixel, compressed
  size_t zlibAlphaSize = 0;
};

bool isLosslessBitmapTag(TagCode code);
bool isJpegBitmapTag(TagCode code);

// False when the header does not fit in the body.
bool readLosslessBitmapTag(TagCode code, const uint8_t* body, size_t size, LosslessBitmapTag& out);
// False when the header does not fit or the stated JPEG size overruns the body.
bool readJpegBitmapTag(TagCode code, const uint8_t* body, size_t size, JpegBitmapTag& out);

}  // namespace swf
