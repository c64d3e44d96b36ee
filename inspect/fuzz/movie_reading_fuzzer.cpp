// libFuzzer entry: every reader and writer of the inspect library gets the input,
// and whatever the writers produce is fed to the readers again.
#include <unistd.h>

#include <cstdio>
#include <string>

#include "movie_expansion.h"
#include "movie_header.h"
#include "silent_copy.h"

namespace {

// Three files per input, so keep them in RAM when we can.
std::string scratchPath(const char* name) {
  const char* folder = access("/dev/shm", W_OK) == 0 ? "/dev/shm" : "/tmp";
  return std::string(folder) + "/mvq-fuzz-" + std::to_string(getpid()) + "-" + name;
}

const std::string inputPath = scratchPath("input.swf");
const std::string expandedPath = scratchPath("expanded.swf");
const std::string silentPath = scratchPath("silent.swf");

void writeInput(const uint8_t* data, size_t size) {
  FILE* f = std::fopen(inputPath.c_str(), "wb");
  if (!f) __builtin_trap();
  if (size > 0 && std::fwrite(data, 1, size, f) != size) __builtin_trap();
  std::fclose(f);
}

void readBoth(const char* path) {
  int32_t width, height, count;
  double rate;
  readMovieHeader(path, &width, &height, &rate, &count);
  ExpandedMovieHeader header{};
  readExpandedMovieHeader(path, header);
}

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
  writeInput(data, size);
  readBoth(inputPath.c_str());
  if (expandCompressedMovie(inputPath.c_str(), expandedPath.c_str()) == 1) {
    readBoth(expandedPath.c_str());
    silenceMovieCopy(expandedPath.c_str(), silentPath.c_str());
    readBoth(silentPath.c_str());
  }
  silenceMovieCopy(inputPath.c_str(), silentPath.c_str());
  std::remove(inputPath.c_str());
  std::remove(expandedPath.c_str());
  std::remove(silentPath.c_str());
  return 0;
}
