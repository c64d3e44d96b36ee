// How finely the player draws edges, as the control's quality settings name
// it: low without anti-aliasing (a pixel is in when its centre is),
// medium in the four steps that 2 x 2 samples a pixel give, high and best
// with each edge pixel's exact covered area. Bitmaps are smoothed as their
// fills ask at every quality, as the real player's low-quality pictures show;
// above low, those shrunk to half or less are read from reduced copies.
#pragma once

#include <cstdint>
#include <string>

namespace swf {

enum class Quality : uint8_t { Low, Medium, High, Best };

// "low", "medium", "high" or "best", in any case; false for anything else.
bool qualityFromName(const std::string& name, Quality& out);

// Coverage 0..256 of a pixel as the quality draws it.
inline uint32_t coverageAt(Quality q, uint32_t exact) {
  switch (q) {
    case Quality::Low: return exact >= 128 ? 256 : 0;
    case Quality::Medium: return (exact + 32) / 64 * 64;
    default: return exact;
  }
}

}  // namespace swf
