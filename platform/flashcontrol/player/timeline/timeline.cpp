#include "timeline.h"

namespace swf {
namespace {

char lower(char c) { return c >= 'A' && c <= 'Z' ? char(c - 'A' + 'a') : c; }

}  // namespace

bool sameTextIgnoringCase(const std::string& a, const std::string& b) {
  if (a.size() != b.size()) return false;
  for (size_t i = 0; i < a.size(); ++i) {
    if (lower(a[i]) != lower(b[i])) return false;
  }
  return true;
}

int Timeline::findLabel(const std::string& name) const {
  for (const auto& label : labels) {
    if (sameTextIgnoringCase(label.first, name)) return label.second;
  }
  return -1;
}

}  // namespace swf
