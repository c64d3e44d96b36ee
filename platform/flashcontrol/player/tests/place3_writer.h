// Writes PlaceObject3 bodies for the player's tests: blend modes, cached
// bitmaps, opaque backgrounds and filter lists, each filter's record built
// field by field as the format lays it out.
#pragma once

#include <cstdint>
#include <optional>
#include <vector>

#include "swf_builder.h"
#include "tags/tag_codes.h"

namespace playertest {

using mvqtest::Bytes;

constexpr uint16_t kPlaceObject3 = uint16_t(swf::TagCode::PlaceObject3);

// Fields shared by shadows, glows and bevels. Sizes in pixels.
struct ShadowDraft {
  mvqtest::Rgba color{0, 0, 0};
  mvqtest::Rgba highlight{255, 255, 255};
  double blurX = 0, blurY = 0;
  double angle = 0, distance = 0;  // radians, pixels
  double strength = 1;
  bool inner = false, knockout = false, compositeSource = true, onTop = false;
  int passes = 1;
};

namespace filters {
Bytes blur(double blurX, double blurY, int passes);
Bytes dropShadow(const ShadowDraft& s);
Bytes glow(const ShadowDraft& s);
Bytes bevel(const ShadowDraft& s);
// stops: (ratio, colour) pairs.
Bytes gradientGlow(const std::vector<std::pair<uint8_t, mvqtest::Rgba>>& stops, const ShadowDraft& s);
Bytes gradientBevel(const std::vector<std::pair<uint8_t, mvqtest::Rgba>>& stops, const ShadowDraft& s);
Bytes colorMatrix(const std::vector<float>& m20);
Bytes convolution(int cols, int rows, const std::vector<float>& kernel, float divisor, float bias,
                  mvqtest::Rgba fallback, bool clamp, bool preserveAlpha);
}  // namespace filters

struct Place3 {
  uint16_t depth = 1;
  std::optional<uint16_t> character;
  bool move = false;
  mvqtest::Matrix matrix;
  std::optional<mvqtest::ColorTransform> colorTransform;
  std::vector<Bytes> filters;  // written when not empty
  std::optional<uint8_t> blendMode;
  std::optional<bool> cacheAsBitmap;
  std::optional<mvqtest::Rgba> opaqueBackground;

  Bytes body() const;
};

}  // namespace playertest
