// swf-corpus swfdec-image|ruffle-visual DIR
// Snapshots every movie of a reference corpus and compares it with the
// picture the real player showed: one line per movie, then a total.
#include <dirent.h>

#include <algorithm>
#include <cstdio>
#include <fstream>
#include <sstream>
#include <string>
#include <vector>

#include "snapshot.h"

namespace {

using swf::tools::RgbImage;
using swf::tools::SnapshotOptions;

constexpr int kTolerance = 3;
constexpr double kMatchShare = 0.98;

std::vector<std::string> listDir(const std::string& dir) {
  std::vector<std::string> names;
  if (DIR* d = opendir(dir.c_str())) {
    while (dirent* e = readdir(d)) {
      std::string n = e->d_name;
      if (n != "." && n != "..") names.push_back(n);
    }
    closedir(d);
  }
  std::sort(names.begin(), names.end());
  return names;
}

bool endsWith(const std::string& s, const std::string& tail) {
  return s.size() >= tail.size() && s.compare(s.size() - tail.size(), tail.size(), tail) == 0;
}

bool fileExists(const std::string& path) { return std::ifstream(path).good(); }

// The pictures a Ruffle test.toml asks for: each [image_comparisons.NAME]
// is NAME.expected.png taken after `trigger` frames, or after num_frames
// (num_ticks) when it has no trigger. The first frame counts as one.
struct Comparison {
  std::string name;
  int frames = -1;
};

struct RuffleTest {
  int frames = 1;
  std::vector<Comparison> comparisons;
};

RuffleTest readToml(const std::string& path) {
  RuffleTest t;
  std::ifstream in(path);
  std::string line;
  const std::string section = "[image_comparisons.";
  bool inComparison = false;
  while (std::getline(in, line)) {
    if (line.compare(0, 1, "[") == 0) {
      inComparison = line.compare(0, section.size(), section) == 0 && line.back() == ']';
      if (inComparison) t.comparisons.push_back(Comparison{line.substr(section.size(), line.size() - section.size() - 1)});
      continue;
    }
    std::istringstream words(line);
    std::string key, eq;
    int value = 0;
    if (!(words >> key >> eq >> value) || eq != "=") continue;
    if (!inComparison && (key == "num_frames" || key == "num_ticks")) t.frames = value;
    if (inComparison && key == "trigger") t.comparisons.back().frames = value;
  }
  for (Comparison& c : t.comparisons) {
    if (c.frames < 0) c.frames = t.frames;
  }
  return t;
}

struct Tally {
  int matched = 0;
  int total = 0;
};

struct Outcome {
  bool played = false;
  std::string problem;  // set when there is nothing to compare
  swf::tools::ImageDifference difference;
};

Outcome compareWith(const std::string& movie, const std::string& reference, int ticks) {
  Outcome o;
  RgbImage expected, actual;
  std::string error;
  if (!swf::tools::readPng(reference, expected, error)) {
    o.problem = "reference unreadable (" + error + ")";
    return o;
  }
  SnapshotOptions options;
  options.ticks = ticks;
  if (!swf::tools::snapshotFile(movie, options, actual)) {
    o.problem = "movie not played";
    return o;
  }
  o.difference = swf::tools::compareImages(actual, expected, kTolerance);
  if (!o.difference.sameSize) {
    o.problem = "size " + std::to_string(actual.width) + "x" + std::to_string(actual.height) + " against " +
                std::to_string(expected.width) + "x" + std::to_string(expected.height);
  }
  return o;
}

// One line per movie; with several pictures, the worst one speaks for it.
void report(const std::string& name, const std::vector<Outcome>& outcomes, Tally& tally) {
  ++tally.total;
  const Outcome* worst = nullptr;
  for (const Outcome& o : outcomes) {
    if (!o.problem.empty()) {
      std::printf("%s: differ, %s\n", name.c_str(), o.problem.c_str());
      return;
    }
    if (!worst || o.difference.withinShare < worst->difference.withinShare) worst = &o;
  }
  if (!worst) {
    std::printf("%s: differ, no reference picture\n", name.c_str());
    return;
  }
  bool match = worst->difference.withinShare >= kMatchShare;
  if (match) ++tally.matched;
  std::printf("%s: %s, %.2f%% within %d, mean abs error %.2f\n", name.c_str(), match ? "match" : "differ",
              worst->difference.withinShare * 100, kTolerance, worst->difference.meanAbsError);
}

void runSwfdec(const std::string& dir, Tally& tally) {
  for (const std::string& n : listDir(dir)) {
    if (!endsWith(n, ".swf") || !fileExists(dir + "/" + n + ".png")) continue;
    report(n, {compareWith(dir + "/" + n, dir + "/" + n + ".png", 10)}, tally);
  }
}

void runRuffle(const std::string& dir, Tally& tally) {
  for (const std::string& n : listDir(dir)) {
    std::string test = dir + "/" + n;
    if (!fileExists(test + "/test.swf") || !fileExists(test + "/test.toml")) continue;
    std::vector<Outcome> outcomes;
    for (const Comparison& c : readToml(test + "/test.toml").comparisons) {
      outcomes.push_back(compareWith(test + "/test.swf", test + "/" + c.name + ".expected.png", std::max(0, c.frames - 1)));
    }
    report(n, outcomes, tally);
  }
}

}  // namespace

int main(int argc, char** argv) {
  if (argc != 3) {
    std::fprintf(stderr, "usage: swf-corpus swfdec-image|ruffle-visual DIR\n");
    return 2;
  }
  std::string kind = argv[1], dir = argv[2];
  Tally tally;
  if (kind == "swfdec-image") {
    runSwfdec(dir, tally);
  } else if (kind == "ruffle-visual") {
    runRuffle(dir, tally);
  } else {
    std::fprintf(stderr, "swf-corpus: unknown corpus kind %s\n", kind.c_str());
    return 2;
  }
  std::printf("corpus %s: %d of %d match\n", kind.c_str(), tally.matched, tally.total);
  return 0;
}
