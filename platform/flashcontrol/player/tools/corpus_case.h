// One case of a reference corpus: the pictures a movie must show, and the
// verdict on the player's pictures by the picture rule (picture_match.h).
#pragma once

#include <string>
#include <vector>

#include "snapshot.h"

namespace swf {
namespace tools {

struct CorpusPicture {
  std::string movie;
  std::string reference;
  std::string name;  // how reports name the picture
  int tolerance = 0;
  SnapshotOptions options;
};

struct CaseVerdict {
  std::string problem;  // set when a picture could not be compared at all
  // False when pictures of each reference's most common colour would match:
  // such a case says nothing about the player and is not counted.
  bool informative = true;
  bool matches = false;
  double worstShare = 1;  // the largest share of unexcused mismatches
  double worstMeanError = 255;
  std::string detail;  // why a case whose pictures match does not
};

// swfdec's image tests: NAME.swf after 10 ticks against NAME.swf.png.
std::vector<CorpusPicture> swfdecCase(const std::string& dir, const std::string& name);
// A Ruffle visual test folder, as its test.toml describes it; empty when the
// file is unreadable or names no picture.
std::vector<CorpusPicture> ruffleCase(const std::string& testDir);

// Every picture must match its reference, and in a series each must be
// nearer its own reference than its neighbours' (so a player stuck on one
// frame does not pass a loop that shows it twice).
CaseVerdict judgeCase(const std::vector<CorpusPicture>& pictures);

}  // namespace tools
}  // namespace swf
