// The SWF file header and tag record header as the movie readers read them.
#pragma once

#include <cstddef>
#include <cstdint>

namespace swf {

constexpr size_t kPrefixSize = 8;      // signature, version, file length
constexpr size_t kMaxHeaderSize = 29;  // prefix, a RECT of at most 17 bytes, rate, count
constexpr size_t kMaxRectSize = 17;

constexpr uint16_t kTagEnd = 0;
constexpr uint16_t kTagSetBackgroundColor = 9;
constexpr uint16_t kTagDefineSprite = 39;
constexpr uint16_t kLongLength = 63;  // short length meaning "a 32-bit length follows"

inline bool isPlainSignature(const uint8_t* b) { return b[0] == 'F' && b[1] == 'W' && b[2] == 'S'; }
inline bool isZlibSignature(const uint8_t* b) { return b[0] == 'C' && b[1] == 'W' && b[2] == 'S'; }

inline uint32_t le16(const uint8_t* b) { return b[0] | static_cast<uint32_t>(b[1]) << 8; }
inline uint32_t le32(const uint8_t* b) { return le16(b) | le16(b + 2) << 16; }

inline uint16_t tagCode(uint32_t word) { return static_cast<uint16_t>(word >> 6); }
inline uint32_t shortLength(uint32_t word) { return word & 0x3F; }

// Bytes of a RECT whose first byte is first: (5 + 4 nbits + 7) / 8, 1 to 17.
inline size_t rectSize(uint8_t first) { return (4 * (first >> 3) + 12) / 8; }

// Stage bounds in twips, the four fields taken as unsigned.
struct StageRect {
  uint32_t xmin = 0;
  uint32_t xmax = 0;
  uint32_t ymin = 0;
  uint32_t ymax = 0;
  size_t size = 1;  // bytes of the record
};

// Decodes the RECT at the start of bytes; bits past size read as zero.
StageRect decodeStageRect(const uint8_t* bytes, size_t size);

}  // namespace swf
