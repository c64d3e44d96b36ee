// bench-expand: unpacking a 100 MB compressed movie to disk, against inflating
// the same data into a buffer. ratio = buffer time / disk time (1 is the best).
// A child process reports its peak memory, which stays small only if we stream.
#include <sys/wait.h>
#include <unistd.h>

#include <cmath>
#include <cstdio>
#include <string>

#include <zlib.h>

#include "bench_measure.h"
#include "movie_expansion.h"
#include "swf_builder.h"
#include "test_files.h"

using namespace mvqtest;

namespace {

constexpr size_t TARGET_SIZE = 100u << 20;

Bytes noise(size_t size, uint32_t& state) {
  Bytes out(size);
  for (uint8_t& b : out) {
    state ^= state << 13, state ^= state >> 17, state ^= state << 5;
    b = static_cast<uint8_t>(state);
  }
  return out;
}

Bytes textLike(size_t size, int round) {
  static const char words[] = "stage frame sprite shape sound action label button text font ";
  Bytes out(size);
  for (size_t i = 0; i < size; ++i) out[i] = static_cast<uint8_t>(words[(i * 7 + round + i / 61) % (sizeof words - 1)]);
  return out;
}

std::vector<int16_t> tone(size_t samples, int round) {
  std::vector<int16_t> out(samples);
  for (size_t i = 0; i < samples; ++i) out[i] = static_cast<int16_t>(12000 * std::sin((i + round * 1000) * 0.031));
  return out;
}

SwfBuilder mixedMovie() {
  SwfBuilder b;
  const PcmFormat format{44100, true, true};
  b.background(255, 255, 255).soundStreamHead(format, 3675);
  uint32_t state = 2463534242u;
  for (int round = 0; b.size() < TARGET_SIZE; ++round) {
    const uint16_t id = static_cast<uint16_t>(1 + round % 60000);
    b.defineShape(id, {{Rect::twips(0, 0, 20 * (round % 500), 400), Rgba{uint8_t(round), 40, 200}},
                       {Rect::twips(100, 100, 3000, 900 + round % 77), Rgba{9, uint8_t(round * 3), 90, 128}}});
    b.placeObject2(id, 1, Matrix::translate(round % 1000, 50));
    b.tag(20, noise(16384, state));
    b.soundStreamBlock(format, tone(8192, round));
    b.tag(36, Bytes(32768, static_cast<uint8_t>(round)));
    b.tag(37, textLike(16384, round));
    b.showFrame();
  }
  return b;
}

Bytes inflatedInMemory(const Bytes& compressed, size_t expected) {
  Bytes out(expected);
  z_stream z{};
  if (inflateInit(&z) != Z_OK) return {};
  z.next_in = const_cast<Bytef*>(compressed.data() + 8);
  z.avail_in = static_cast<uInt>(compressed.size() - 8);
  z.next_out = out.data();
  z.avail_out = static_cast<uInt>(out.size());
  const int result = inflate(&z, Z_FINISH);
  out.resize(out.size() - z.avail_out);
  inflateEnd(&z);
  return result == Z_STREAM_END ? out : Bytes{};
}

// Child side: prints how far the peak grew, in KiB.
int measureExpansion(const char* source, const char* destination) {
  resetPeakMemory();
  const long baseline = statusKiB("VmHWM");
  const int result = expandCompressedMovie(source, destination);
  std::printf("%ld\n", statusKiB("VmHWM") - baseline);
  return result == 1 ? 0 : 1;
}

long peakOfExpansionKiB(const std::string& self, const std::string& source, const std::string& destination) {
  const std::string command = "'" + self + "' --measure '" + source + "' '" + destination + "'";
  FILE* child = popen(command.c_str(), "r");
  long kib = -1;
  if (!child || std::fscanf(child, "%ld", &kib) != 1) kib = -1;
  if (child && pclose(child) != 0) kib = -1;
  return kib;
}

}  // namespace

int main(int argc, char** argv) {
  if (argc == 4 && std::string(argv[1]) == "--measure") return measureExpansion(argv[2], argv[3]);

  TempDir dir;
  const std::string source = dir.file("movie.swf"), destination = dir.file("expanded.swf");
  size_t plainSize;
  Bytes compressed;
  {
    const SwfBuilder movie = mixedMovie();
    compressed = movie.finish(Compression::Zlib);
    plainSize = movie.header().size() + movie.size() + 2;
  }
  if (!writeFile(source, compressed)) return 1;

  bool ok = true;
  const double inflateSeconds = bestSeconds(
      3, [] {}, [&] { ok = ok && inflatedInMemory(compressed, plainSize).size() == plainSize - 8; });
  const double expandSeconds = bestSeconds(
      3, [&] { std::remove(destination.c_str()); },
      [&] { ok = ok && expandCompressedMovie(source.c_str(), destination.c_str()) == 1; });
  std::remove(destination.c_str());
  const long peakKiB = peakOfExpansionKiB(argv[0], source, destination);
  if (!ok || peakKiB < 0) {
    std::fprintf(stderr, "bench-expand: the expansion failed\n");
    return 1;
  }
  std::printf("bench expand ratio=%.2f expand_s=%.3f inflate_s=%.3f peak_mb=%.2f movie_mb=%.1f compressed_mb=%.1f\n",
              inflateSeconds / expandSeconds, expandSeconds, inflateSeconds, peakKiB / 1024.0, plainSize / 1048576.0,
              compressed.size() / 1048576.0);
  return 0;
}
