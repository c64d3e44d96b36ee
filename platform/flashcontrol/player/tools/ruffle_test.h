// What a Ruffle visual test's test.toml asks for: how long to run, at what
// quality and view size, and which pictures to compare with what tolerance.
#pragma once

#include <string>
#include <vector>

namespace swf {
namespace tools {

struct RuffleComparison {
  std::string name;   // the picture is NAME.expected.png
  int frames = -1;    // frames run before it is taken (the first counts as one)
  int tolerance = 0;  // the strictest of its checks
};

struct RuffleTest {
  int frames = 1;
  std::string quality = "high";
  int viewWidth = 0;  // 0: the stage's size
  int viewHeight = 0;
  std::vector<RuffleComparison> comparisons;
};

// False when the file cannot be read.
bool readRuffleTest(const std::string& path, RuffleTest& out);

}  // namespace tools
}  // namespace swf
