#include "target_path.h"

#include <vector>

namespace swf {
namespace avm1 {
namespace {

std::vector<std::string> segments(const std::string& path, size_t start) {
  std::vector<std::string> out;
  std::string cur;
  for (size_t i = start; i < path.size(); ++i) {
    char c = path[i];
    if (c == '/' || c == '.') {
      // ".." is the parent step of slash syntax, not two separators.
      if (c == '.' && i + 1 < path.size() && path[i + 1] == '.' && cur.empty()) {
        out.push_back("..");
        ++i;
        continue;
      }
      if (!cur.empty()) out.push_back(cur);
      cur.clear();
    } else {
      cur.push_back(c);
    }
  }
  if (!cur.empty()) out.push_back(cur);
  return out;
}

ActionTarget* step(ActionTarget* at, const std::string& seg) {
  if (seg == ".." || seg == "_parent") return at->parentTarget();
  if (seg == "this") return at;
  if (seg == "_root" || seg == "_level0") return at->rootTarget();
  return at->childNamed(seg);
}

}  // namespace

ActionTarget* resolveTarget(ActionTarget& from, const std::string& path) {
  ActionTarget* at = &from;
  size_t start = 0;
  if (!path.empty() && path[0] == '/') {
    at = from.rootTarget();
    start = 1;
  }
  for (const std::string& seg : segments(path, start)) {
    at = step(at, seg);
    if (!at) return nullptr;
  }
  return at;
}

void splitFramePath(const std::string& text, std::string& path, std::string& frame) {
  size_t colon = text.rfind(':');
  if (colon == std::string::npos) {
    path.clear();
    frame = text;
    return;
  }
  path = text.substr(0, colon);
  frame = text.substr(colon + 1);
}

}  // namespace avm1
}  // namespace swf
