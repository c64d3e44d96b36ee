// swf-snapshot [--frame N] [--size WxH] [--scale show-all|no-border|exact-fit]
//              [--quality low|medium|high|best] --out DIR FILE...
// Writes DIR/NAME.png for each movie: its picture after N ticks from loading.
#include <cstdio>
#include <cstdlib>
#include <cstring>
#include <string>
#include <vector>

#include "snapshot.h"

namespace {

using swf::tools::SnapshotOptions;

int usage() {
  std::fprintf(stderr,
               "usage: swf-snapshot [--frame N] [--size WxH] [--scale show-all|no-border|exact-fit] [--quality "
               "low|medium|high|best]"
               " --out DIR FILE...\n");
  return 2;
}

std::string baseName(const std::string& path) {
  size_t slash = path.find_last_of('/');
  std::string name = slash == std::string::npos ? path : path.substr(slash + 1);
  size_t dot = name.find_last_of('.');
  return dot == std::string::npos || dot == 0 ? name : name.substr(0, dot);
}

bool parseSize(const char* text, SnapshotOptions& o) {
  return std::sscanf(text, "%dx%d", &o.width, &o.height) == 2 && o.width > 0 && o.height > 0 && o.width <= 16384 &&
         o.height <= 16384;
}

}  // namespace

int main(int argc, char** argv) {
  SnapshotOptions options;
  std::string outDir;
  std::vector<std::string> files;
  for (int i = 1; i < argc; ++i) {
    std::string a = argv[i];
    bool hasValue = i + 1 < argc;
    if (a == "--frame" && hasValue) {
      options.ticks = std::atoi(argv[++i]);
      if (options.ticks < 0) return usage();
    } else if (a == "--size" && hasValue) {
      if (!parseSize(argv[++i], options)) return usage();
    } else if (a == "--scale" && hasValue) {
      std::string s = argv[++i];
      if (s == "show-all") {
        options.scale = swf::ScaleMode::ShowAll;
      } else if (s == "no-border") {
        options.scale = swf::ScaleMode::NoBorder;
      } else if (s == "exact-fit") {
        options.scale = swf::ScaleMode::ExactFit;
      } else {
        return usage();
      }
    } else if (a == "--quality" && hasValue) {
      if (!swf::qualityFromName(argv[++i], options.quality)) return usage();
    } else if (a == "--out" && hasValue) {
      outDir = argv[++i];
    } else if (!a.empty() && a[0] == '-') {
      return usage();
    } else {
      files.push_back(a);
    }
  }
  if (outDir.empty() || files.empty()) return usage();
  int failures = 0;
  for (const std::string& file : files) {
    swf::tools::RgbImage image;
    std::string out = outDir + "/" + baseName(file) + ".png";
    if (!swf::tools::snapshotFile(file, options, image)) {
      std::fprintf(stderr, "swf-snapshot: %s: not a movie that can be played\n", file.c_str());
      ++failures;
    } else if (!swf::tools::writePng(out, image)) {
      std::fprintf(stderr, "swf-snapshot: cannot write %s\n", out.c_str());
      ++failures;
    } else {
      std::printf("%s\n", out.c_str());
    }
  }
  return failures ? 1 : 0;
}
