#include "filtered_bench_movie.h"

#include "../tests/place3_writer.h"
#include "../tests/shape_writer.h"

namespace benchmovies {
namespace {

using playertest::FillDraft;
using playertest::LineDraft;
using playertest::ShadowDraft;
using playertest::ShapeWriter;
namespace filters = playertest::filters;

mvqtest::Bytes filterFor(int i) {
  ShadowDraft s;
  s.blurX = s.blurY = 6 + (i % 4) * 2;
  s.passes = 2 + i % 2;
  s.distance = 4;
  s.angle = 0.785;
  s.color = {0, 0, 0, 160};
  switch (i % 5) {
    case 0: return filters::dropShadow(s);
    case 1: return filters::blur(s.blurX, s.blurY, s.passes);
    case 2: s.color = {255, 200, 0}; return filters::glow(s);
    case 3: s.inner = true; return filters::bevel(s);
    default: return filters::colorMatrix({0, 0, 1, 0, 0, 0, 1, 0, 0, 0, 1, 0, 0, 0, 0, 0, 0, 0, 1, 0});
  }
}

}  // namespace

mvqtest::Bytes filteredClipsMovie(int width, int height, int frames) {
  mvqtest::SwfBuilder b;
  b.version(8).stage(mvqtest::Rect::pixels(width, height)).frameRate(24).background(250, 250, 240);
  for (int i = 0; i < kFilteredClips; ++i) {
    const int r = 600 + (i * 97) % 600;
    ShapeWriter w(3);
    w.fill(FillDraft::solid({uint8_t(i * 37), uint8_t(255 - i * 37), uint8_t(i * 11)}));
    w.line(LineDraft::solid(40, {0, 0, 0}));
    w.select(0, 1, 1)
        .moveTo(r, 0)
        .curveTo(r, r, 0, r)
        .curveTo(-r, r, -r, 0)
        .curveTo(-r, -r, 0, -r)
        .curveTo(r, -r, r, 0);
    b.tag(w.tagCode(), w.body(uint16_t(i + 1), mvqtest::Rect::twips(-r - 50, -r - 50, r + 50, r + 50)));
  }
  for (int f = 0; f < frames; ++f) {
    for (int i = 0; i < kFilteredClips; ++i) {
      playertest::Place3 p;
      p.depth = uint16_t(i + 1);
      p.matrix = mvqtest::Matrix::translate((i * 1311 + f * 40) % (width * 20), (i * 737 + f * 25) % (height * 20));
      if (f == 0) {
        p.character = uint16_t(i + 1);
        p.filters = {filterFor(i)};
      } else {
        p.move = true;
      }
      b.tag(playertest::kPlaceObject3, p.body());
    }
    b.showFrame();
  }
  return b.finish();
}

}  // namespace benchmovies
