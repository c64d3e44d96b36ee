#include "trace_run.h"

#include <fstream>
#include <iterator>
#include <memory>

#include "timeline/movie.h"
#include "timeline/stage.h"

namespace swf {
namespace tools {
namespace {

// Every line of text, empty ones included ("a\n" is "a" and ""). A log
// file's "\r\n" is one break; the player writes each of a trace's "\r" and
// "\n" as a break of its own.
std::vector<std::string> splitLines(const std::string& text, bool crlfIsOneBreak = true) {
  std::vector<std::string> lines(1);
  for (size_t i = 0; i < text.size(); ++i) {
    char c = text[i];
    if (c == '\r' || c == '\n') {
      if (crlfIsOneBreak && c == '\r' && i + 1 < text.size() && text[i + 1] == '\n') ++i;
      lines.emplace_back();
    } else {
      lines.back().push_back(c);
    }
  }
  return lines;
}

}  // namespace

std::vector<std::string> normalisedLines(const std::string& text) {
  std::vector<std::string> lines = splitLines(text);
  while (!lines.empty() && lines.back().empty()) lines.pop_back();
  return lines;
}

bool traceMovie(const std::string& path, const TraceOptions& options, std::vector<std::string>& lines) {
  std::ifstream in(path, std::ios::binary);
  if (!in) return false;
  std::vector<uint8_t> bytes((std::istreambuf_iterator<char>(in)), std::istreambuf_iterator<char>());
  Movie movie;
  if (!movie.parse(bytes)) return false;
  Stage stage(
      movie, nullptr, nullptr,
      [&lines](const std::string& line) {
        std::vector<std::string> parts = splitLines(line, false);
        lines.insert(lines.end(), parts.begin(), parts.end());
      },
      filesBeside(path));
  int frames = options.frames;
  if (frames <= 0) {
    double rate = movie.frameRate() > 0 ? movie.frameRate() : 12;
    frames = int(rate * options.maxSeconds) + 1;
  }
  for (int i = 1; i < frames && !stage.scripts().quitRequested(); ++i) stage.tick(true);
  return true;
}

}  // namespace tools
}  // namespace swf
