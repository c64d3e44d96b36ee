#include "corpus_case.h"

#include <algorithm>

#include "picture_match.h"
#include "ruffle_test.h"

namespace swf {
namespace tools {
namespace {

constexpr int kSwfdecTicks = 10;
constexpr int kSwfdecTolerance = 3;

struct Taken {
  RgbImage reference;
  RgbImage actual;
  PictureMatch match;
};

// Whether picture i is nearer its own reference than neighbour j's (when
// that one shows something else).
bool nearerOwn(const std::vector<Taken>& taken, size_t i, size_t j) {
  const RgbImage& other = taken[j].reference;
  if (other.width != taken[i].reference.width || other.height != taken[i].reference.height) return true;
  if (other.rgb == taken[i].reference.rgb) return true;
  return taken[i].match.meanAbsError < matchPicture(taken[i].actual, other, 0).meanAbsError;
}

}  // namespace

std::vector<CorpusPicture> swfdecCase(const std::string& dir, const std::string& name) {
  CorpusPicture p;
  p.movie = dir + "/" + name + ".swf";
  p.reference = p.movie + ".png";
  p.name = name;
  p.tolerance = kSwfdecTolerance;
  p.options.ticks = kSwfdecTicks;
  return {p};
}

std::vector<CorpusPicture> ruffleCase(const std::string& testDir) {
  RuffleTest test;
  std::vector<CorpusPicture> pictures;
  if (!readRuffleTest(testDir + "/test.toml", test)) return pictures;
  for (const RuffleComparison& c : test.comparisons) {
    CorpusPicture p;
    p.movie = testDir + "/test.swf";
    p.reference = testDir + "/" + c.name + ".expected.png";
    p.name = c.name;
    p.tolerance = c.tolerance;
    p.options.ticks = std::max(0, c.frames - 1);
    p.options.width = test.viewWidth;
    p.options.height = test.viewHeight;
    pictures.push_back(p);
  }
  return pictures;
}

CaseVerdict judgeCase(const std::vector<CorpusPicture>& pictures) {
  CaseVerdict v;
  if (pictures.empty()) {
    v.problem = "no picture to compare";
    return v;
  }
  std::vector<Taken> taken(pictures.size());
  v.informative = false;
  v.worstShare = 0;
  v.worstMeanError = 0;
  for (size_t i = 0; i < pictures.size(); ++i) {
    const CorpusPicture& p = pictures[i];
    Taken& t = taken[i];
    std::string error;
    if (!readPng(p.reference, t.reference, error)) {
      v.informative = true;
      v.problem = "reference " + p.name + " unreadable (" + error + ")";
      return v;
    }
    if (!matchPicture(flatPictureOf(t.reference), t.reference, p.tolerance).matches()) v.informative = true;
    if (!snapshotFile(p.movie, p.options, t.actual)) {
      v.problem = "movie not played";
      return v;
    }
    t.match = matchPicture(t.actual, t.reference, p.tolerance);
    if (!t.match.sameSize) {
      v.problem = p.name + " is " + std::to_string(t.actual.width) + "x" + std::to_string(t.actual.height) +
                  " against " + std::to_string(t.reference.width) + "x" + std::to_string(t.reference.height);
      return v;
    }
    v.worstShare = std::max(v.worstShare, t.match.unexcusedShare);
    v.worstMeanError = std::max(v.worstMeanError, t.match.meanAbsError);
  }
  v.matches = std::all_of(taken.begin(), taken.end(), [](const Taken& t) { return t.match.matches(); });
  for (size_t i = 0; i < taken.size() && v.detail.empty(); ++i) {
    for (size_t j : {i - 1, i + 1}) {
      if (j >= taken.size() || nearerOwn(taken, i, j)) continue;
      v.detail = pictures[i].name + " is nearer " + pictures[j].name + "'s reference";
      v.matches = false;
      break;
    }
  }
  return v;
}

}  // namespace tools
}  // namespace swf
