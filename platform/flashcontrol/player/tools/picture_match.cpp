#include "picture_match.h"

#include <algorithm>
#include <cstdint>
#include <cstdlib>
#include <unordered_map>

namespace swf {
namespace tools {
namespace {

const uint8_t* pixelAt(const RgbImage& image, int x, int y) {
  return &image.rgb[(size_t(y) * size_t(image.width) + size_t(x)) * 3];
}

int channelDistance(const uint8_t* a, const uint8_t* b) {
  int d = 0;
  for (int c = 0; c < 3; ++c) d = std::max(d, std::abs(int(a[c]) - int(b[c])));
  return d;
}

bool onEdge(const RgbImage& reference, int x, int y) {
  const uint8_t* p = pixelAt(reference, x, y);
  for (int ny = std::max(0, y - 1); ny <= std::min(reference.height - 1, y + 1); ++ny) {
    for (int nx = std::max(0, x - 1); nx <= std::min(reference.width - 1, x + 1); ++nx) {
      if (channelDistance(p, pixelAt(reference, nx, ny)) > kEdgeContrast) return true;
    }
  }
  return false;
}

}  // namespace

PictureMatch matchPicture(const RgbImage& actual, const RgbImage& reference, int tolerance) {
  PictureMatch m;
  m.sameSize = actual.width == reference.width && actual.height == reference.height &&
               actual.rgb.size() == reference.rgb.size() && !reference.rgb.empty();
  if (!m.sameSize) return m;
  const int limit = std::max(kMinTolerance, tolerance);
  uint64_t total = 0;
  for (int y = 0; y < reference.height; ++y) {
    for (int x = 0; x < reference.width; ++x) {
      const uint8_t* a = pixelAt(actual, x, y);
      const uint8_t* r = pixelAt(reference, x, y);
      for (int c = 0; c < 3; ++c) total += uint64_t(std::abs(int(a[c]) - int(r[c])));
      if (channelDistance(a, r) > limit && !onEdge(reference, x, y)) ++m.unexcused;
    }
  }
  const double pixels = double(reference.rgb.size() / 3);
  m.unexcusedShare = double(m.unexcused) / pixels;
  m.meanAbsError = double(total) / (pixels * 3);
  return m;
}

RgbImage flatPictureOf(const RgbImage& reference) {
  std::unordered_map<uint32_t, size_t> counts;
  uint32_t common = 0;
  size_t best = 0;
  for (size_t i = 0; i + 2 < reference.rgb.size(); i += 3) {
    uint32_t key = uint32_t(reference.rgb[i]) << 16 | uint32_t(reference.rgb[i + 1]) << 8 | reference.rgb[i + 2];
    size_t n = ++counts[key];
    if (n > best) best = n, common = key;
  }
  RgbImage flat = reference;
  for (size_t i = 0; i + 2 < flat.rgb.size(); i += 3) {
    flat.rgb[i] = uint8_t(common >> 16);
    flat.rgb[i + 1] = uint8_t(common >> 8);
    flat.rgb[i + 2] = uint8_t(common);
  }
  return flat;
}

}  // namespace tools
}  // namespace swf
