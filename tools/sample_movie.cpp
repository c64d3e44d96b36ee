// Writes the sample movie that ./moviquill convert turns into ./sample.avi when
// given nothing else: four seconds of shapes in motion, a looping movie clip, a
// backward go-to in the main timeline, and a streaming 440 Hz tone, so that
// every sequence mode and every sound source shows something.
#include <cmath>
#include <cstdio>
#include <vector>

#include "swf_builder.h"

using namespace mvqtest;

namespace {

constexpr int kWidth = 320, kHeight = 240, kFps = 12, kFrames = 48;
constexpr int kLoopFrom = 24, kLoopAt = 40;  // frame 40 jumps back to 24
constexpr int kSamplesPerFrame = 44100 / kFps;
constexpr int kTwips = 20;
constexpr double kPi = 3.14159265358979323846;

// A 6-frame clip: a small square walking round a circle, looping by itself.
TagStream spinningClip() {
  TagStream clip;
  clip.placeObject2(3, 1, Matrix::translate(0, 0));
  clip.showFrame();
  for (int k = 1; k < 6; ++k) {
    const double angle = k * 2 * kPi / 6;
    clip.moveObject2(1, Matrix::translate(static_cast<int32_t>(30 * kTwips * std::cos(angle)),
                                          static_cast<int32_t>(30 * kTwips * std::sin(angle))));
    clip.showFrame();
  }
  return clip;
}

std::vector<int16_t> toneBlock(int frame) {
  std::vector<int16_t> samples(kSamplesPerFrame);
  for (int i = 0; i < kSamplesPerFrame; ++i) {
    const double t = static_cast<double>(frame * kSamplesPerFrame + i) / 44100;
    samples[i] = static_cast<int16_t>(8000 * std::sin(2 * kPi * 440 * t));
  }
  return samples;
}

Bytes sampleMovie() {
  const PcmFormat tone{44100, true, false};
  SwfBuilder movie;
  movie.stage(Rect::pixels(kWidth, kHeight)).frameRate(kFps).background(240, 240, 230);
  movie.soundStreamHead(tone, kSamplesPerFrame);
  movie.defineRectShape(1, Rect::pixels(40, 40), Rgba{200, 40, 40});
  movie.defineRectShape(2, Rect::pixels(kWidth, 12), Rgba{40, 40, 200});
  movie.defineRectShape(3, Rect::pixels(16, 16), Rgba{30, 160, 60});
  movie.defineSprite(4, spinningClip());
  for (int frame = 0; frame < kFrames; ++frame) {
    const Matrix square = Matrix::translate(frame * (kWidth - 40) / (kFrames - 1) * kTwips, 40 * kTwips);
    // The bar's length tells the main timeline's frame at a glance.
    const Matrix bar = Matrix::scale((frame + 1.0) / kFrames, 1.0, 0, (kHeight - 12) * kTwips);
    if (frame == 0) {
      movie.placeObject2(1, 1, square).placeObject2(2, 2, bar);
      movie.placeObject2(4, 3, Matrix::translate(kWidth / 2 * kTwips, kHeight / 2 * kTwips));
    } else {
      movie.moveObject2(1, square).moveObject2(2, bar);
    }
    movie.soundStreamBlock(tone, toneBlock(frame));
    if (frame == kLoopAt) {
      // Played normally the movie loops over 24-40 for good; skipping backward
      // go-tos reaches its last frames.
      ActionBuilder jump;
      jump.gotoFrame(kLoopFrom).play();
      movie.doAction(jump);
    }
    movie.showFrame();
  }
  return movie.finish(Compression::Zlib);
}

}  // namespace

int main(int argc, char** argv) {
  if (argc != 2) {
    std::fprintf(stderr, "usage: make-sample-movie OUT.swf\n");
    return 2;
  }
  const Bytes movie = sampleMovie();
  std::FILE* out = std::fopen(argv[1], "wb");
  if (!out) return 1;
  const bool written = std::fwrite(movie.data(), 1, movie.size(), out) == movie.size();
  return std::fclose(out) == 0 && written ? 0 : 1;
}
