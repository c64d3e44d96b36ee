// libFuzzer target: any bytes as a movie; what loads plays a few frames,
// jumps, and draws a small picture, opaque and transparent.
#include <cstddef>
#include <cstdint>
#include <vector>

#include "movie_player.h"

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
  swf::MoviePlayer player;
  if (!player.load(std::vector<uint8_t>(data, data + size))) return 0;
  std::vector<uint8_t> pixels(48 * 36 * 4, 0);
  swf::Canvas canvas{pixels.data(), 48, 36, 48 * 4};
  for (int i = 0; i < 4; ++i) player.tick();
  player.render(canvas, 0, 0, 48, 36, swf::ScaleMode::ShowAll, true);
  player.gotoFrame(player.frameCount() / 2);
  player.tick();
  player.render(canvas, -5, 3, 60, 20, swf::ScaleMode::ExactFit, false);
  return 0;
}
