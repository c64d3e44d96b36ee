#include "test_movies.h"

#include <cstdlib>

namespace e2e {

using mvqtest::Rect;
using mvqtest::Rgba;

mvqtest::Bytes countingMovie(int width, int height, double fps, mvqtest::Compression compression) {
  mvqtest::SwfBuilder movie;
  movie.stage(Rect::pixels(width, height)).frameRate(fps).background(255, 255, 255);
  for (int k = 0; k < kCountingFrames; ++k)
    movie.defineRectShape(static_cast<uint16_t>(k + 1), Rect::pixels(width, height),
                          Rgba{static_cast<uint8_t>(10 * k), 128, static_cast<uint8_t>(255 - 10 * k)});
  movie.defineRectShape(100, Rect::pixels(width / 4, height / 4), Rgba{0, 0, 0});
  for (int k = 0; k < kCountingFrames; ++k) {
    if (k > 0) movie.removeObject2(1);
    movie.placeObject2(static_cast<uint16_t>(k + 1), 1);
    if (k == 0) movie.placeObject2(100, 2);
    movie.showFrame();
  }
  return movie.finish(compression);
}

int countingFrameOf(COLORREF colour) {
  if (std::abs(GetGValue(colour) - 128) > 6) return -1;
  const int k = (GetRValue(colour) + 5) / 10;
  if (k >= kCountingFrames || std::abs(GetBValue(colour) - (255 - 10 * k)) > 6) return -1;
  return k;
}

bool isMarker(COLORREF colour) { return GetRValue(colour) < 16 && GetGValue(colour) < 16 && GetBValue(colour) < 16; }

}  // namespace e2e
