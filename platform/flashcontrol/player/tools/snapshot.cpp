#include "snapshot.h"

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
  player.setQuality(options.quality);
  if (!player.load(bytes, filesBeside(path))) return false;
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

}  // namespace tools
}  // namespace swf
