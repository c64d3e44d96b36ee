// swf-seed-movies DIR: writes a set of small builder-made movies, plain and compressed,
// as a starting corpus for the fuzz targets.
#include <cstdio>
#include <functional>
#include <string>
#include <vector>

#include "swf_builder.h"
#include "test_files.h"

using namespace mvqtest;

namespace {

SwfBuilder withShapes() {
  SwfBuilder b;
  b.background(255, 255, 255)
      .defineShape(1, {{Rect::twips(0, 0, 2000, 1000), Rgba{255, 0, 0}},
                       {Rect::twips(500, 500, 1500, 3000), Rgba{0, 0, 255, 128}}});
  PlaceObject2 p;
  p.character = 1;
  p.matrix = Matrix::scale(1.5, 0.5, 100, 200);
  p.colorTransform = ColorTransform{};
  p.colorTransform->addR = 40;
  p.name = "box";
  b.placeObject2(p).showFrame().moveObject2(1, Matrix::translate(300, 300)).showFrame().removeObject2(1).showFrame();
  return b;
}

SwfBuilder withSounds() {
  const PcmFormat format{11025, true, false};
  std::vector<int16_t> samples(200);
  for (size_t i = 0; i < samples.size(); ++i) samples[i] = static_cast<int16_t>(i * 300);
  TagStream inner;
  inner.startSound(2, SoundInfo{false, true, 10, 150, 3}).showFrame();
  SwfBuilder b;
  b.defineSound(2, format, samples, true).soundStreamHead(format, 100).soundStreamBlock(format, samples);
  b.defineSprite(5, inner).tag(17, {5, 0, 2, 0, 0}).soundStreamHead(format, 100, true).showFrame();
  return b;
}

SwfBuilder withActions() {
  SwfBuilder b;
  b.frameLabel("start").doAction(ActionBuilder().push(PushValue::string("x")).gotoLabel("start").play());
  b.showFrame().doAction(ActionBuilder().push({PushValue::boolean(true)}).ifTrue(1).stop().gotoFrame(0)).showFrame();
  return b;
}

SwfBuilder odd() {
  SwfBuilder b;
  b.version(1).stage(Rect::twips(9000, 7000, 100, 50, 31)).frameRateRaw(0xFFFF).frameCount(65535);
  b.tag(9, Bytes(300, 0x7F)).tag(78, Bytes(4, 1), true).raw({0xFF, 0x13, 0xFF, 0xFF, 0xFF, 0x7F});
  return b;
}

SwfBuilder bare() {
  SwfBuilder b;
  b.stage(Rect::twips(0, 0, 0, 0, 0)).background(1, 2, 3).showFrame().afterEnd({1, 2, 3, 4});
  return b;
}

// Inflates past the first output area; written compressed only.
SwfBuilder growing() {
  SwfBuilder b;
  b.tag(20, Bytes(700000, 0)).showFrame();
  return b;
}

}  // namespace

int main(int argc, char** argv) {
  if (argc != 2) {
    std::fprintf(stderr, "usage: swf-seed-movies DIR\n");
    return 2;
  }
  struct Seed {
    std::string name;
    std::function<SwfBuilder()> make;
    bool plainToo;
  };
  const std::vector<Seed> seeds{{"shapes", withShapes, true},   {"sounds", withSounds, true},
                                {"actions", withActions, true}, {"odd", odd, true},
                                {"bare", bare, true},           {"growing", growing, false}};
  const std::string dir = argv[1];
  for (const Seed& seed : seeds) {
    const SwfBuilder b = seed.make();
    const std::string base = dir + "/" + seed.name;
    if ((seed.plainToo && !writeFile(base + "-plain.swf", b.finish())) ||
        !writeFile(base + "-zlib.swf", b.finish(Compression::Zlib))) {
      std::fprintf(stderr, "swf-seed-movies: cannot write into %s\n", dir.c_str());
      return 1;
    }
  }
  return 0;
}
