#include "alpha_matte.h"

namespace {

// Background share for every alpha, so the pixel loop only looks values up.
struct BackgroundShares {
  uint8_t blue[256];
  uint8_t green[256];
  uint8_t red[256];

  explicit BackgroundShares(uint32_t background) {
    const unsigned b = (background >> 16) & 0xFF, g = (background >> 8) & 0xFF, r = background & 0xFF;
    for (unsigned alpha = 0; alpha < 256; ++alpha) {
      const unsigned rest = 255 - alpha;
      blue[alpha] = uint8_t(rest * b / 255);
      green[alpha] = uint8_t(rest * g / 255);
      red[alpha] = uint8_t(rest * r / 255);
    }
  }
};

inline uint8_t coverage(uint8_t black, uint8_t white) { return uint8_t(black - white - 1); }

}  // namespace

void applyAlphaMatte(const MattePasses& passes, uint32_t background) {
  const BackgroundShares shares(background);
  for (int y = 0; y < passes.height; ++y) {
    const uint8_t* w = passes.white + long(y) * passes.whiteStride;
    uint8_t* k = passes.black + long(y) * passes.blackStride;
    for (int x = 0; x < passes.width; ++x, w += 3, k += 4) {
      uint8_t alpha = coverage(k[0], w[0]);
      const uint8_t dg = coverage(k[1], w[1]), dr = coverage(k[2], w[2]);
      if (dg > alpha) alpha = dg;
      if (dr > alpha) alpha = dr;
      k[3] = alpha;
      if (alpha < 255) {
        k[0] = uint8_t(k[0] + shares.blue[alpha]);
        k[1] = uint8_t(k[1] + shares.green[alpha]);
        k[2] = uint8_t(k[2] + shares.red[alpha]);
      }
    }
  }
}
