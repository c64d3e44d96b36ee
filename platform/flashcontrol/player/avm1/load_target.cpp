#include "load_target.h"

#include "action_target.h"
#include "vm.h"

namespace swf {
namespace avm1 {

bool levelOfTarget(const std::string& target, int& level) {
  static const char kPrefix[] = "_level";
  const size_t n = sizeof kPrefix - 1;
  if (target.size() <= n || target.size() > n + 9) return false;
  for (size_t i = 0; i < n; ++i) {
    char c = target[i];
    if (c >= 'A' && c <= 'Z') c = char(c - 'A' + 'a');
    if (c != kPrefix[i]) return false;
  }
  level = 0;
  for (size_t i = n; i < target.size(); ++i) {
    if (target[i] < '0' || target[i] > '9') return false;
    level = level * 10 + (target[i] - '0');
  }
  return true;
}

void loadIntoLevel(VmHost& host, const std::string& url, int level) {
  if (url.empty()) {
    host.unloadLevel(level);
  } else {
    host.loadLevel(url, level, nullptr);
  }
}

void loadIntoClip(ActionTarget& clip, const std::string& url) {
  if (url.empty()) {
    clip.unloadMovie();
  } else {
    clip.loadMovie(url, nullptr);
  }
}

}  // namespace avm1
}  // namespace swf
