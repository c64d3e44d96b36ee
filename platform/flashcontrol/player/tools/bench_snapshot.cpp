// bench-snapshot: frames per second of a 550 x 400 movie of 200 shapes
// (curved outlines with strokes, some translucent, some gradients, moving
// every frame), each frame played and drawn opaque, against filling the
// same surface once per frame. ratio = fill time / frame time.
// filters_vs_shapes: the frame time at 1280 x 720 of a movie of 20
// filtered clips over that of the shapes movie, measured in the same run.
// text_fields_vs_shapes: the same for 50 moving text fields (wrapped
// sans-serif device text).
#include <cmath>
#include <cstdio>
#include <vector>

#include "bench_measure.h"
#include "movie_player.h"
#include "swf_builder.h"
#include "../tests/shape_writer.h"
#include "../tests/text_writer.h"
#include "filtered_bench_movie.h"

namespace {

using playertest::FillDraft;
using playertest::LineDraft;
using playertest::ShapeWriter;

constexpr int kWidth = 550, kHeight = 400, kShapes = 200, kFrames = 24, kRuns = 5;
constexpr int kWideWidth = 1280, kWideHeight = 720, kFields = 50;

// A blob of four curves around (0, 0), radius r twips.
ShapeWriter blob(int i, int r) {
  ShapeWriter w(3);
  uint8_t c = uint8_t(i * 37);
  if (i % 5 == 0) {
    mvqtest::Matrix m = mvqtest::Matrix::scale(r / 16384.0, r / 16384.0);
    w.fill(FillDraft::gradient(0x12, m, {{0, {255, c, 0}}, {255, {0, c, 255, 160}}}));
  } else {
    w.fill(FillDraft::solid({c, uint8_t(255 - c), uint8_t(i * 11), uint8_t(i % 3 ? 255 : 140)}));
  }
  w.line(LineDraft::solid(uint16_t(20 + (i % 4) * 20), {0, 0, 0}));
  w.select(0, 1, 1).moveTo(r, 0).curveTo(r, r, 0, r).curveTo(-r, r, -r, 0).curveTo(-r, -r, 0, -r).curveTo(r, -r, r, 0);
  return w;
}

mvqtest::Bytes movie() {
  mvqtest::SwfBuilder b;
  b.version(8).stage(mvqtest::Rect::pixels(kWidth, kHeight)).frameRate(24).background(250, 250, 240);
  for (int i = 0; i < kShapes; ++i) {
    int r = 200 + (i * 97) % 900;
    ShapeWriter w = blob(i, r);
    b.tag(w.tagCode(), w.body(uint16_t(i + 1), mvqtest::Rect::twips(-r - 50, -r - 50, r + 50, r + 50)));
  }
  for (int f = 0; f < kFrames; ++f) {
    for (int i = 0; i < kShapes; ++i) {
      mvqtest::Matrix m =
          mvqtest::Matrix::translate((i * 211 + f * 40) % (kWidth * 20), (i * 137 + f * 25) % (kHeight * 20));
      if (f == 0) {
        b.placeObject2(uint16_t(i + 1), uint16_t(i + 1), m);
      } else {
        b.moveObject2(uint16_t(i + 1), m);
      }
    }
    b.showFrame();
  }
  return b.finish();
}

mvqtest::Bytes textFieldsMovie() {
  mvqtest::SwfBuilder b;
  b.version(8).stage(mvqtest::Rect::pixels(kWidth, kHeight)).frameRate(24).background(250, 250, 240);
  playertest::FontDraft sans;
  sans.name = "_sans";
  sans.layout = false;
  b.tag(sans.tagCode(), sans.body());
  for (int i = 0; i < kFields; ++i) {
    playertest::EditTextDraft f;
    f.id = uint16_t(i + 2);
    f.bounds = mvqtest::Rect::twips(0, 0, 3000, 1200);
    f.font = 1;
    f.height = uint16_t(200 + (i % 4) * 40);
    f.color = mvqtest::Rgba{uint8_t(i * 5), 0, uint8_t(255 - i * 5), 255};
    f.useOutlines = false;
    f.multiline = f.wordWrap = true;
    f.border = i % 3 == 0;
    f.text = "Field " + std::to_string(i) + ": the quick brown fox jumps over the lazy dog, 0123456789.";
    b.tag(37, f.body());
  }
  for (int f = 0; f < kFrames; ++f) {
    for (int i = 0; i < kFields; ++i) {
      mvqtest::Matrix m = mvqtest::Matrix::translate((i * 1711 + f * 40) % (kWidth * 20 - 3000),
                                                     (i * 937 + f * 25) % (kHeight * 20 - 1200));
      if (f == 0) {
        b.placeObject2(uint16_t(i + 2), uint16_t(i + 1), m);
      } else {
        b.moveObject2(uint16_t(i + 1), m);
      }
    }
    b.showFrame();
  }
  return b.finish();
}

// Seconds per frame of a movie played and drawn opaque at width x height.
double secondsPerFrame(const mvqtest::Bytes& bytes, int width, int height) {
  swf::MoviePlayer player;
  if (!player.load(bytes)) return 0;
  std::vector<uint8_t> pixels(size_t(width) * size_t(height) * 4);
  swf::Canvas canvas{pixels.data(), width, height, width * 4};
  return mvqtest::bestSeconds(
             kRuns, [] {},
             [&] {
               for (int f = 0; f < kFrames; ++f) {
                 player.tick();
                 player.render(canvas, 0, 0, width, height, swf::ScaleMode::ShowAll, true);
               }
             }) /
         kFrames;
}

}  // namespace

int main() {
  swf::MoviePlayer player;
  if (!player.load(movie())) {
    std::fprintf(stderr, "bench-snapshot: the movie did not load\n");
    return 1;
  }
  std::vector<uint8_t> pixels(size_t(kWidth) * kHeight * 4);
  swf::Canvas canvas{pixels.data(), kWidth, kHeight, kWidth * 4};
  const double frameSeconds = mvqtest::bestSeconds(
                                  kRuns, [] {},
                                  [&] {
                                    for (int f = 0; f < kFrames; ++f) {
                                      player.tick();
                                      player.render(canvas, 0, 0, kWidth, kHeight, swf::ScaleMode::ShowAll, true);
                                    }
                                  }) /
                              kFrames;
  uint32_t checksum = 0;
  for (size_t i = 0; i < pixels.size(); i += 97) checksum += pixels[i];
  const double fillSeconds = mvqtest::bestSeconds(
                                 kRuns, [] {},
                                 [&] {
                                   for (int f = 0; f < kFrames; ++f) {
                                     for (size_t i = 0; i < pixels.size(); i += 4) {
                                       pixels[i] = 240, pixels[i + 1] = 250, pixels[i + 2] = uint8_t(250 - f),
                                       pixels[i + 3] = 255;
                                     }
                                     // Each frame's fill must really happen, not only the last one.
                                     asm volatile("" : : "r"(pixels.data()) : "memory");
                                   }
                                 }) /
                             kFrames;
  for (size_t i = 0; i < pixels.size(); i += 97) checksum += pixels[i];
  const double shapes720 = secondsPerFrame(movie(), kWideWidth, kWideHeight);
  const double filters720 =
      secondsPerFrame(benchmovies::filteredClipsMovie(kWidth, kHeight, kFrames), kWideWidth, kWideHeight);
  const double text720 = secondsPerFrame(textFieldsMovie(), kWideWidth, kWideHeight);
  if (shapes720 <= 0 || filters720 <= 0 || text720 <= 0) {
    std::fprintf(stderr, "bench-snapshot: a 1280x720 movie did not load\n");
    return 1;
  }
  std::printf(
      "bench snapshot ratio=%.4f fps=%.1f fill_fps=%.0f shapes=%d size=%dx%d checksum=%u"
      " filters_vs_shapes=%.3f filters_fps_720=%.1f shapes_fps_720=%.1f"
      " text_fields_vs_shapes=%.3f text_fields=%d\n",
      fillSeconds / frameSeconds, 1 / frameSeconds, 1 / fillSeconds, kShapes, kWidth, kHeight, checksum,
      filters720 / shapes720, 1 / filters720, 1 / shapes720, text720 / shapes720, kFields);
  return 0;
}
