#include "quality.h"

#include <cctype>

namespace swf {

bool qualityFromName(const std::string& name, Quality& out) {
  std::string lower;
  for (char c : name) lower += char(std::tolower(static_cast<unsigned char>(c)));
  static const struct {
    const char* name;
    Quality quality;
  } kNames[] = {{"low", Quality::Low}, {"medium", Quality::Medium}, {"high", Quality::High}, {"best", Quality::Best}};
  for (const auto& n : kNames) {
    if (lower == n.name) {
      out = n.quality;
      return true;
    }
  }
  return false;
}

}  // namespace swf
