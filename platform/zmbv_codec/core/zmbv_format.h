// The ZMBV bitstream's constants: the frame header, the pixel format this codec
// writes, and the block grid of its delta frames.
#pragma once

#include <cstddef>
#include <cstdint>

namespace zmbv {

// First byte of every frame.
constexpr uint8_t kKeyFrameFlag = 0x01;
constexpr uint8_t kPaletteChangeFlag = 0x02;

// A key frame goes on with six bytes: version, compression, pixel format, block size.
constexpr size_t kKeyHeaderSize = 7;
constexpr uint8_t kVersionMajor = 0;
constexpr uint8_t kVersionMinor = 1;
constexpr uint8_t kCompressionNone = 0;
constexpr uint8_t kCompressionZlib = 1;
// 32 bits a pixel, little-endian 0x00RRGGBB: bytes B, G, R, unused.
constexpr uint8_t kFormat32 = 8;
constexpr size_t kBytesPerPixel = 4;

constexpr int kBlockWidth = 16;
constexpr int kBlockHeight = 16;
// Motion vectors stay within +-15 pixels (the vector byte keeps 7 signed bits).
constexpr int kMaxMotion = 15;

// Delta frames start with two bytes a block, the whole list padded to 4 bytes.
inline size_t blockCount(int width, int height, int blockWidth, int blockHeight) {
  return static_cast<size_t>((width + blockWidth - 1) / blockWidth) *
         static_cast<size_t>((height + blockHeight - 1) / blockHeight);
}
inline size_t vectorListSize(size_t blocks) { return (blocks * 2 + 3) & ~static_cast<size_t>(3); }

}  // namespace zmbv
