// Runs a movie in the player and collects what it sends to trace(), as
// ./moviquill trace and the trace conformance runner and tests do.
#pragma once

#include <string>
#include <vector>

namespace swf {
namespace tools {

struct TraceOptions {
  int frames = 0;          // frames to run (the first included); 0: until quit or the time limit
  double maxSeconds = 30;  // of movie time, without frames
};

// False when the file is no playable movie.
bool traceMovie(const std::string& path, const TraceOptions& options, std::vector<std::string>& lines);

// Lines of a reference log: "\r\n" and "\r" read as line ends, trailing
// empty lines dropped.
std::vector<std::string> normalisedLines(const std::string& text);

}  // namespace tools
}  // namespace swf
