// The trace conformance cases of the corpus: a movie, its reference log and
// how long it runs.
#pragma once

#include <string>
#include <vector>

namespace swf {
namespace tools {

struct TraceCase {
  std::string name;      // "swfdec-trace/X.swf" or "ruffle-avm1/X"
  std::string movie;     // path of the movie
  std::string expected;  // path of the reference log
  int frames = 0;        // 0: until the movie quits (or the time limit)
};

// Every case under root (the corpus folder), sorted by name.
std::vector<TraceCase> findTraceCases(const std::string& root);
// The case named name (as TraceCase::name) under root; false when absent.
bool traceCaseNamed(const std::string& root, const std::string& name, TraceCase& out);
void runTraceCase(const TraceCase& c, std::vector<std::string>& got, std::vector<std::string>& want);
bool traceCaseMatches(const TraceCase& c);

}  // namespace tools
}  // namespace swf
