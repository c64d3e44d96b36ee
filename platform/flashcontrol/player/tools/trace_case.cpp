#include "trace_case.h"

#include <dirent.h>

#include <algorithm>
#include <fstream>
#include <iterator>
#include <sstream>

#include "trace_run.h"

namespace swf {
namespace tools {
namespace {

std::string readText(const std::string& path) {
  std::ifstream in(path, std::ios::binary);
  return std::string((std::istreambuf_iterator<char>(in)), std::istreambuf_iterator<char>());
}

bool exists(const std::string& path) { return std::ifstream(path).good(); }

std::vector<std::string> listDir(const std::string& dir) {
  std::vector<std::string> names;
  DIR* d = opendir(dir.c_str());
  if (!d) return names;
  while (dirent* e = readdir(d)) {
    std::string n = e->d_name;
    if (n != "." && n != "..") names.push_back(n);
  }
  closedir(d);
  std::sort(names.begin(), names.end());
  return names;
}

// num_frames or num_ticks of a test.toml (1 when it gives neither).
int framesOf(const std::string& toml) {
  std::istringstream in(readText(toml));
  std::string line;
  while (std::getline(in, line)) {
    for (const char* key : {"num_frames", "num_ticks"}) {
      if (line.compare(0, std::char_traits<char>::length(key), key) == 0) {
        size_t eq = line.find('=');
        if (eq != std::string::npos) return std::max(1, std::atoi(line.c_str() + eq + 1));
      }
    }
  }
  return 1;
}

bool swfdecCase(const std::string& root, const std::string& file, TraceCase& c) {
  std::string dir = root + "/swfdec-trace/";
  if (file.size() < 5 || file.compare(file.size() - 4, 4, ".swf") != 0 || !exists(dir + file + ".trace")) return false;
  c.name = "swfdec-trace/" + file;
  c.movie = dir + file;
  c.expected = dir + file + ".trace";
  c.frames = 0;
  return true;
}

bool ruffleCase(const std::string& root, const std::string& test, TraceCase& c) {
  std::string dir = root + "/ruffle-avm1/" + test + "/";
  if (!exists(dir + "test.swf") || !exists(dir + "output.txt")) return false;
  c.name = "ruffle-avm1/" + test;
  c.movie = dir + "test.swf";
  c.expected = dir + "output.txt";
  c.frames = framesOf(dir + "test.toml");
  return true;
}

}  // namespace

std::vector<TraceCase> findTraceCases(const std::string& root) {
  std::vector<TraceCase> cases;
  TraceCase c;
  for (const std::string& f : listDir(root + "/swfdec-trace")) {
    if (swfdecCase(root, f, c)) cases.push_back(c);
  }
  for (const std::string& t : listDir(root + "/ruffle-avm1")) {
    if (ruffleCase(root, t, c)) cases.push_back(c);
  }
  return cases;
}

bool traceCaseNamed(const std::string& root, const std::string& name, TraceCase& out) {
  size_t slash = name.find('/');
  if (slash == std::string::npos) return false;
  std::string suite = name.substr(0, slash), rest = name.substr(slash + 1);
  if (suite == "swfdec-trace") return swfdecCase(root, rest, out);
  if (suite == "ruffle-avm1") return ruffleCase(root, rest, out);
  return false;
}

void runTraceCase(const TraceCase& c, std::vector<std::string>& got, std::vector<std::string>& want) {
  TraceOptions options;
  options.frames = c.frames;
  options.maxSeconds = 10;  // the reference logs stop after 10 s of movie time
  got.clear();
  std::vector<std::string> raw;
  traceMovie(c.movie, options, raw);
  std::string joined;
  for (const std::string& line : raw) joined += line + "\n";
  got = normalisedLines(joined);
  want = normalisedLines(readText(c.expected));
}

bool traceCaseMatches(const TraceCase& c) {
  std::vector<std::string> got, want;
  runTraceCase(c, got, want);
  return got == want;
}

}  // namespace tools
}  // namespace swf
