// swf-trace [--frames N] MOVIE...
// Prints the lines each movie sends to trace(), and nothing else, on stdout.
// Without --frames a movie runs until it asks to quit (FSCommand:quit) or
// for 30 s of movie time.
#include <cstdio>
#include <cstdlib>
#include <string>
#include <vector>

#include "trace_run.h"

int main(int argc, char** argv) {
  swf::tools::TraceOptions options;
  std::vector<std::string> files;
  for (int i = 1; i < argc; ++i) {
    std::string a = argv[i];
    if (a == "--frames" && i + 1 < argc) {
      options.frames = std::atoi(argv[++i]);
      if (options.frames <= 0) {
        std::fprintf(stderr, "usage: swf-trace [--frames N] MOVIE...\n");
        return 2;
      }
    } else if (!a.empty() && a[0] == '-') {
      std::fprintf(stderr, "usage: swf-trace [--frames N] MOVIE...\n");
      return 2;
    } else {
      files.push_back(a);
    }
  }
  if (files.empty()) {
    std::fprintf(stderr, "usage: swf-trace [--frames N] MOVIE...\n");
    return 2;
  }
  int failures = 0;
  for (const std::string& file : files) {
    std::vector<std::string> lines;
    if (!swf::tools::traceMovie(file, options, lines)) {
      std::fprintf(stderr, "swf-trace: %s: not a movie that can be played\n", file.c_str());
      ++failures;
      continue;
    }
    for (const std::string& line : lines) std::printf("%s\n", line.c_str());
  }
  return failures ? 1 : 0;
}
