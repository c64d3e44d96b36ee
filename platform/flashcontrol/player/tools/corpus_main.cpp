// swf-corpus swfdec-image|ruffle-visual DIR
// Snapshots every case of a reference corpus and judges it by the picture
// rule (picture_match.h): one line per case, then the informative cases
// that match and, apart, those that tell nothing.
#include <dirent.h>

#include <algorithm>
#include <cstdio>
#include <fstream>
#include <string>
#include <vector>

#include "corpus_case.h"
#include "picture_match.h"

namespace {

using swf::tools::CaseVerdict;
using swf::tools::CorpusPicture;

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

struct Tally {
  int matched = 0;
  int informative = 0;
  std::vector<std::string> uninformative;
};

void report(const std::string& name, const std::vector<CorpusPicture>& pictures, Tally& tally) {
  CaseVerdict v = swf::tools::judgeCase(pictures);
  if (!v.informative) {
    tally.uninformative.push_back(name);
    std::printf("%s: uninformative (a flat picture would match)\n", name.c_str());
    return;
  }
  ++tally.informative;
  if (!v.problem.empty()) {
    std::printf("%s: differ, %s\n", name.c_str(), v.problem.c_str());
    return;
  }
  if (v.matches) ++tally.matched;
  std::printf("%s: %s, %.2f%% unexcused mismatches (at most %.2f%%), mean abs error %.2f%s%s\n", name.c_str(),
              v.matches ? "match" : "differ", v.worstShare * 100, swf::tools::kMaxUnexcusedShare * 100,
              v.worstMeanError, v.detail.empty() ? "" : ", ", v.detail.c_str());
}

void runSwfdec(const std::string& dir, Tally& tally) {
  for (const std::string& n : listDir(dir)) {
    if (!endsWith(n, ".swf")) continue;
    std::string name = n.substr(0, n.size() - 4);
    report(name, swf::tools::swfdecCase(dir, name), tally);
  }
}

void runRuffle(const std::string& dir, Tally& tally) {
  for (const std::string& n : listDir(dir)) {
    std::string test = dir + "/" + n;
    if (!fileExists(test + "/test.swf")) continue;
    report(n, swf::tools::ruffleCase(test), tally);
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
  std::string apart;
  for (const std::string& n : tally.uninformative) apart += (apart.empty() ? "" : ", ") + n;
  std::printf("corpus %s: %d of %d informative cases match; %zu uninformative%s%s\n", kind.c_str(), tally.matched,
              tally.informative, tally.uninformative.size(), apart.empty() ? "" : ": ", apart.c_str());
  return 0;
}
