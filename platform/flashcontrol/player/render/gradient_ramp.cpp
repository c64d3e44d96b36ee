#include "gradient_ramp.h"

#include <algorithm>
#include <cmath>
#include <vector>

namespace swf {
namespace {

// sRGB to linear light, 16 bits; built once from a deterministic formula
// rounded to integers, so libm differences in its last bit cannot show.
const std::array<uint16_t, 256>& toLinearTable() {
  static const std::array<uint16_t, 256> kTable = [] {
    std::array<uint16_t, 256> t{};
    for (int i = 0; i < 256; ++i) {
      double c = i / 255.0;
      double l = c <= 0.04045 ? c / 12.92 : std::pow((c + 0.055) / 1.055, 2.4);
      t[size_t(i)] = uint16_t(std::floor(l * 65535 + 0.5));
    }
    return t;
  }();
  return kTable;
}

// Linear light (12 bits) back to sRGB.
const std::array<uint8_t, 4096>& fromLinearTable() {
  static const std::array<uint8_t, 4096> kTable = [] {
    std::array<uint8_t, 4096> t{};
    for (int i = 0; i < 4096; ++i) {
      double l = i / 4095.0;
      double c = l <= 0.0031308 ? l * 12.92 : 1.055 * std::pow(l, 1 / 2.4) - 0.055;
      t[size_t(i)] = uint8_t(std::floor(c * 255 + 0.5));
    }
    return t;
  }();
  return kTable;
}

uint32_t mix(uint32_t a, uint32_t b, uint32_t num, uint32_t den) { return (a * (den - num) + b * num + den / 2) / den; }

uint8_t mixChannel(uint8_t a, uint8_t b, uint32_t num, uint32_t den, bool linear) {
  if (!linear) return uint8_t(mix(a, b, num, den));
  const auto& lin = toLinearTable();
  uint32_t l = mix(lin[a], lin[b], num, den);
  return fromLinearTable()[l >> 4];
}

Rgba mixColor(const Rgba& a, const Rgba& b, uint32_t num, uint32_t den, bool linear) {
  return Rgba{mixChannel(a.r, b.r, num, den, linear), mixChannel(a.g, b.g, num, den, linear),
              mixChannel(a.b, b.b, num, den, linear), uint8_t(mix(a.a, b.a, num, den))};
}

}  // namespace

GradientRamp buildGradientRamp(const Gradient& g, const ColorTransform& cx) {
  GradientRamp ramp;
  if (g.stops.empty()) {
    ramp.fill(Bgra{0, 0, 0, 255});
    return ramp;
  }
  // Ratios must ascend: a stop at or below the one before it takes the next
  // entry, so stops sharing a ratio each still show as a thin band. Between
  // two stops the colours still run from the ratios the movie gave: the band
  // after such a run starts part way.
  std::vector<int> ratios, given;
  std::vector<Rgba> colors;
  for (const GradientStop& s : g.stops) {
    int r = ratios.empty() ? s.ratio : std::max<int>(s.ratio, std::min(ratios.back() + 1, 255));
    ratios.push_back(r);
    given.push_back(given.empty() ? s.ratio : std::max<int>(s.ratio, given.back()));
    colors.push_back(cx.apply(s.color));
  }
  bool linear = g.interpolation == InterpolationMode::LinearRgb;
  size_t k = 0;  // the first stop at or after entry i
  for (int i = 0; i < 256; ++i) {
    while (k < ratios.size() && ratios[k] < i) ++k;
    Rgba c;
    if (k == 0) {
      c = colors.front();
    } else if (k == ratios.size()) {
      c = colors.back();
    } else {
      uint32_t den = uint32_t(given[k] - given[k - 1]);
      uint32_t num = uint32_t(std::clamp(i - given[k - 1], 0, int(den)));
      c = den == 0 ? colors[k] : mixColor(colors[k - 1], colors[k], num, den, linear);
    }
    ramp[size_t(i)] = premultiply(c);
  }
  return ramp;
}

int rampIndex(double t, SpreadMode spread) {
  if (!(t == t)) t = 0;
  if (spread == SpreadMode::Repeat) {
    t -= std::floor(t);
  } else if (spread == SpreadMode::Reflect) {
    t -= 2 * std::floor(t / 2);
    if (t > 1) t = 2 - t;
  }
  double idx = std::floor(t * 255 + 0.5);
  if (!(idx >= 0)) return 0;
  return idx > 255 ? 255 : int(idx);
}

}  // namespace swf
