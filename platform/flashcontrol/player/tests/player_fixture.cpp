#include "player_fixture.h"

#include <gtest/gtest.h>

#include <algorithm>

namespace playertest {

double Picture::alphaSum(int x0, int y0, int x1, int y1) const {
  double sum = 0;
  for (int y = y0; y < y1; ++y)
    for (int x = x0; x < x1; ++x) sum += a(x, y);
  return sum / 255.0;
}

Picture render(const swf::MoviePlayer& player, int width, int height, swf::ScaleMode mode, bool opaque, Bgra prefill) {
  Picture p;
  p.width = width;
  p.height = height;
  p.bgra.resize(size_t(width) * size_t(height) * 4);
  for (size_t i = 0; i < p.bgra.size(); i += 4) std::copy(prefill.begin(), prefill.end(), p.bgra.begin() + long(i));
  swf::Canvas canvas{p.bgra.data(), width, height, width * 4};
  player.render(canvas, 0, 0, width, height, mode, opaque);
  return p;
}

Bytes movieWithShape(const ShapeWriter& shape, const mvqtest::Rect& bounds, int stageW, int stageH,
                     const mvqtest::Matrix& place) {
  mvqtest::SwfBuilder b;
  b.version(8).stage(mvqtest::Rect::pixels(stageW, stageH)).background(255, 255, 255);
  b.tag(shape.tagCode(), shape.body(1, bounds));
  b.placeObject2(1, 1, place);
  b.showFrame();
  return b.finish();
}

void loadInto(swf::MoviePlayer& player, const Bytes& movie) { ASSERT_TRUE(player.load(movie)); }

}  // namespace playertest
