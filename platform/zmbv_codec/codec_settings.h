// What a caller can keep of the codec (ICM_GETSTATE / ICM_SETSTATE, e.g. the
// COMPVARS state of the compressor chooser) and how quality becomes a zlib level.
#pragma once

#include <windows.h>

#include <cstdint>

namespace zmbvcodec {

// The state block as callers store it: fixed size, signed with the FOURCC.
struct CodecState {
  uint32_t signature;    // 'ZMBV'
  uint32_t size;         // sizeof(CodecState)
  uint32_t searchRange;  // pixels blocks are looked for around their place; 0 = in place only
};

CodecState defaultState();
// True when the bytes are a state block this codec wrote.
bool readState(const void* data, size_t size, CodecState& state);

// ICQUALITY_LOW (0) .. ICQUALITY_HIGH (10000) onto zlib levels 1 .. 9; ICQUALITY_DEFAULT
// and values out of range count as the default quality.
// Lossless either way: the default is the fastest level, whose files are still a
// hundredth of uncompressed ones for animation; higher quality buys a smaller file.
constexpr DWORD kDefaultQuality = 1000;  // zlib level 1
constexpr DWORD kDefaultKeyFrameRate = 15;
int zlibLevelForQuality(DWORD quality);

}  // namespace zmbvcodec
