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

using swf::tools::ImageDifference;
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

// num_frames (or num_ticks) of a Ruffle test.toml; the first frame counts.
int framesOf(const std::string& tomlPath) {
  std::ifstream in(tomlPath);
  std::string line;
  while (std::getline(in, line)) {
    std::istringstream words(line);
    std::string key, eq;
    int value = 0;
    if (words >> key >> eq >> value && eq == "=" && (key == "num_frames" || key == "num_ticks")) return value;
  }
  return 1;
}

std::string expectedPicture(const std::string& dir) {
  if (fileExists(dir + "/output.expected.png")) return dir + "/output.expected.png";
  for (const std::string& n : listDir(dir)) {
    if (endsWith(n, ".expected.png")) return dir + "/" + n;
  }
  return "";
}

struct Tally {
  int matched = 0;
  int total = 0;
};

void report(const std::string& name, const std::string& movie, const std::string& reference, int ticks,
            Tally& tally) {
  ++tally.total;
  RgbImage expected, actual;
  std::string error;
  if (!swf::tools::readPng(reference, expected, error)) {
    std::printf("%s: differ, reference unreadable (%s)\n", name.c_str(), error.c_str());
    return;
  }
  SnapshotOptions options;
  options.ticks = ticks;
  if (!swf::tools::snapshotFile(movie, options, actual)) {
    std::printf("%s: differ, movie not played\n", name.c_str());
    return;
  }
  ImageDifference d = swf::tools::compareImages(actual, expected, kTolerance);
  if (!d.sameSize) {
    std::printf("%s: differ, size %dx%d against %dx%d\n", name.c_str(), actual.width, actual.height,
                expected.width, expected.height);
    return;
  }
  bool match = d.withinShare >= kMatchShare;
  if (match) ++tally.matched;
  std::printf("%s: %s, %.2f%% within %d, mean abs error %.2f\n", name.c_str(), match ? "match" : "differ",
              d.withinShare * 100, kTolerance, d.meanAbsError);
}

void runSwfdec(const std::string& dir, Tally& tally) {
  for (const std::string& n : listDir(dir)) {
    if (!endsWith(n, ".swf") || !fileExists(dir + "/" + n + ".png")) continue;
    report(n, dir + "/" + n, dir + "/" + n + ".png", 10, tally);
  }
}

void runRuffle(const std::string& dir, Tally& tally) {
  for (const std::string& n : listDir(dir)) {
    std::string test = dir + "/" + n;
    std::string picture = expectedPicture(test);
    if (!fileExists(test + "/test.swf") || picture.empty()) continue;
    int ticks = std::max(0, framesOf(test + "/test.toml") - 1);
    report(n, test + "/test.swf", picture, ticks, tally);
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
