// Bitmap tag bodies for the player's tests: DefineBitsLossless(2) bodies
// from raw rows, and zlib streams.
#pragma once

#include <cstdint>

#include "swf_builder.h"
#include "tags/tag_codes.h"

namespace playertest {

using mvqtest::Bytes;

constexpr uint16_t kDefineBitsLossless = uint16_t(swf::TagCode::DefineBitsLossless);
constexpr uint16_t kDefineBitsLossless2 = uint16_t(swf::TagCode::DefineBitsLossless2);

Bytes zlibBytes(const Bytes& raw);

// id, format, width, height, the colour table's size (format 3 only:
// tableCount entries) and the zlib-compressed table and rows.
Bytes losslessBody(uint16_t id, uint8_t format, int width, int height, const Bytes& raw, int tableCount = 0);

// A DefineBitsLossless2 of 32-bit premultiplied pixels, ARGB per pixel.
Bytes argbBody(uint16_t id, int width, int height, const Bytes& argb);

}  // namespace playertest
