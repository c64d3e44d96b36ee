// movie-info FILE...: for each file one JSON line with what the movie readers
// functions report: readMovieHeader on the file, expandCompressedMovie into a
// temporary copy, and readExpandedMovieHeader on that copy when one was made (on the
// file itself otherwise). The copy is deleted at once.
#include <unistd.h>

#include <cstdio>
#include <cstdlib>
#include <string>

#include "json_line.h"
#include "movie_expansion.h"
#include "movie_header.h"

namespace {

constexpr uint32_t NO_BACKGROUND = 0xFFFFFFFFu;  // the reader never writes a top byte

std::string hex32(uint32_t value) {
  char buffer[16];
  std::snprintf(buffer, sizeof buffer, "0x%08X", value);
  return buffer;
}

JsonLine movieHeader(const char* path) {
  MovieHeaderInfo info{};
  const int result = readMovieHeader(path, &info.widthPixels, &info.heightPixels, &info.frameRate, &info.frameCount);
  JsonLine out;
  out.add("result", int64_t{result});
  if (result != 0) return out;
  out.add("widthPixels", int64_t{info.widthPixels}).add("heightPixels", int64_t{info.heightPixels});
  return out.add("frameRate", info.frameRate).add("frameCount", int64_t{info.frameCount});
}

JsonLine expandedMovieHeader(const char* path) {
  ExpandedMovieHeader header{};
  header.backgroundColor = NO_BACKGROUND;
  const int32_t result = readExpandedMovieHeader(path, header);
  JsonLine out;
  if (result != 0) return out.add("result", hex32(static_cast<uint32_t>(result)));
  out.add("result", int64_t{0}).add("version", int64_t{header.version});
  out.add("width", header.width).add("height", header.height);
  out.add("frameCount", int64_t{header.frameCount}).add("frameRate", header.frameRate);
  if (header.backgroundColor == NO_BACKGROUND) return out.addNull("backgroundColor");
  return out.add("backgroundColor", hex32(header.backgroundColor));
}

// A new empty file in the temporary folder, or "" when none can be made.
std::string makeTemporaryFile() {
  const char* folder = std::getenv("TMPDIR");
  std::string path = std::string(folder && *folder ? folder : "/tmp") + "/mvq-info-XXXXXX";
  const int fd = mkstemp(path.data());
  if (fd < 0) return "";
  close(fd);
  return path;
}

std::string describe(const char* path) {
  JsonLine line;
  line.add("file", std::string(path)).addObject("readMovieHeader", movieHeader(path));
  const std::string copy = makeTemporaryFile();
  if (copy.empty()) {
    std::fprintf(stderr, "movie-info: cannot create a temporary file\n");
    std::exit(1);
  }
  const int expanded = expandCompressedMovie(path, copy.c_str());
  line.addObject("expandCompressedMovie", JsonLine().add("result", int64_t{expanded}));
  line.addObject("readExpandedMovieHeader", expandedMovieHeader(expanded == 1 ? copy.c_str() : path));
  std::remove(copy.c_str());
  return line.text();
}

}  // namespace

int main(int argc, char** argv) {
  if (argc < 2) {
    std::fprintf(stderr, "usage: movie-info FILE...\n");
    return 2;
  }
  for (int i = 1; i < argc; ++i) {
    const std::string line = describe(argv[i]) + "\n";
    std::fputs(line.c_str(), stdout);
  }
  return std::fflush(stdout) == 0 ? 0 : 1;
}
