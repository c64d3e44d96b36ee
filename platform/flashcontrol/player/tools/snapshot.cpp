#include "snapshot.h"

#include <cstdlib>
#include <fstream>
#include <iterator>
#include <vector>

namespace swf {
namespace tools {

bool snapshotFile(const std::string& path, const SnapshotOptions& options, RgbImage& out) {
  std::ifstream in(path, std::ios::binary);
  if (!in) return false;
  std::vector<uint8_t> bytes((std::istreambuf_iterator<char>(in)), std::istreambuf_iterator<char>());
  MoviePlayer player;
  if (!player.load(bytes)) return false;
  for (int i = 0; i < options.ticks; ++i) player.tick();
  int w = options.width > 0 ? options.width : player.stageWidthPixels();
  int h = options.height > 0 ? options.height : player.stageHeightPixels();
  std::vector<uint8_t> bgra(size_t(w) * size_t(h) * 4, 0);
  Canvas canvas{bgra.data(), w, h, w * 4};
  player.render(canvas, 0, 0, w, h, options.scale, true);
  out.width = w;
  out.height = h;
  out.rgb.resize(size_t(w) * size_t(h) * 3);
  for (size_t i = 0, n = size_t(w) * size_t(h); i < n; ++i) {
    out.rgb[i * 3] = bgra[i * 4 + 2];
    out.rgb[i * 3 + 1] = bgra[i * 4 + 1];
    out.rgb[i * 3 + 2] = bgra[i * 4];
  }
  return true;
}

ImageDifference compareImages(const RgbImage& a, const RgbImage& b, int tolerance) {
  ImageDifference d;
  d.sameSize = a.width == b.width && a.height == b.height && a.rgb.size() == b.rgb.size();
  if (!d.sameSize || a.rgb.empty()) return d;
  size_t pixels = a.rgb.size() / 3, within = 0;
  uint64_t total = 0;
  for (size_t i = 0; i < pixels; ++i) {
    bool close = true;
    for (int c = 0; c < 3; ++c) {
      int diff = std::abs(int(a.rgb[i * 3 + size_t(c)]) - int(b.rgb[i * 3 + size_t(c)]));
      total += uint64_t(diff);
      if (diff > tolerance) close = false;
    }
    if (close) ++within;
  }
  d.withinShare = double(within) / double(pixels);
  d.meanAbsError = double(total) / double(pixels * 3);
  return d;
}

}  // namespace tools
}  // namespace swf
