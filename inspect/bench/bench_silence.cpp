// bench-silence: how much slower the soundless copy is than cp. The input is a
// generated 100 MB movie full of tags, big and small, some inside sprites.
// ratio = cp time / copy time; near 1 means the tag walk is nearly free.
#include <cstdio>
#include <cstdlib>
#include <string>

#include "bench_measure.h"
#include "silent_copy.h"
#include "swf_builder.h"
#include "test_files.h"

using namespace mvqtest;

namespace {

constexpr size_t TARGET_SIZE = 100u << 20;

struct Movie {
  Bytes bytes;
  size_t tags = 0;
};

Movie manyTagMovie() {
  SwfBuilder b;
  uint32_t state = 88172645u;
  const auto next = [&state] {
    state ^= state << 13, state ^= state >> 17, state ^= state << 5;
    return state;
  };
  size_t tags = 0;
  while (b.size() < TARGET_SIZE) {
    const uint32_t r = next();
    // Roughly what real movies look like: lots of tiny tags, a few big ones.
    const uint32_t kind = r % 100;
    const size_t size = kind == 0 ? 2048 + (r >> 7) % 63000 : kind < 10 ? 60 + (r >> 7) % 2000 : (r >> 7) % 60;
    static const uint16_t codes[] = {1, 2, 12, 15, 19, 26, 28, 14, 18, 32, 43, 45};
    const uint16_t code = codes[(r >> 8) % 12];
    if ((r >> 4) % 64 == 0) {
      TagStream inner;
      inner.tag(15, Bytes(4, 1)).tag(26, Bytes(12, 2)).showFrame();
      b.defineSprite(static_cast<uint16_t>(r), inner);
      tags += 4;
    } else {
      b.tag(code, Bytes(size, static_cast<uint8_t>(r)), (r >> 12) % 8 == 0);
      ++tags;
    }
  }
  return Movie{b.finish(), tags};
}

bool run(const std::string& command) { return std::system(command.c_str()) == 0; }

}  // namespace

int main() {
  TempDir dir;
  const std::string source = dir.file("movie.swf"), destination = dir.file("silent.swf");
  size_t size, tags;
  {
    const Movie movie = manyTagMovie();
    size = movie.bytes.size();
    tags = movie.tags;
    if (!writeFile(source, movie.bytes)) return 1;
  }
  bool ok = true;
  const std::string cp = "cp '" + source + "' '" + destination + "'";
  const auto removeCopy = [&] { std::remove(destination.c_str()); };
  const double cpSeconds = bestSeconds(3, removeCopy, [&] { ok = ok && run(cp); });
  const double silenceSeconds =
      bestSeconds(3, removeCopy, [&] { silenceMovieCopy(source.c_str(), destination.c_str()); });
  ok = ok && readFile(destination).size() == size;
  std::remove(destination.c_str());
  if (!ok) {
    std::fprintf(stderr, "bench-silence: the copy is incomplete\n");
    return 1;
  }
  std::printf("bench silence ratio=%.2f silence_s=%.3f cp_s=%.3f movie_mb=%.1f tags=%zu\n", cpSeconds / silenceSeconds,
              silenceSeconds, cpSeconds, size / 1048576.0, tags);
  return 0;
}
