// Reads the few TOML forms these files use: [a.b] and [[a.b.c]] headers
// whose parts may be quoted ("output.40" is one name), key = value lines
// with trailing comments, and inline tables { k = v, ... }.
#include "ruffle_test.h"

#include <algorithm>
#include <cstdlib>
#include <fstream>

namespace swf {
namespace tools {
namespace {

std::string trim(const std::string& s) {
  size_t a = s.find_first_not_of(" \t\r"), b = s.find_last_not_of(" \t\r");
  return a == std::string::npos ? std::string() : s.substr(a, b - a + 1);
}

std::string withoutComment(const std::string& line) {
  bool quoted = false;
  for (size_t i = 0; i < line.size(); ++i) {
    if (line[i] == '"') quoted = !quoted;
    if (line[i] == '#' && !quoted) return line.substr(0, i);
  }
  return line;
}

// Dotted key parts, quotes removed from quoted parts.
std::vector<std::string> keyPath(const std::string& text) {
  std::vector<std::string> parts(1);
  bool quoted = false;
  for (char ch : text) {
    if (ch == '"') {
      quoted = !quoted;
    } else if (ch == '.' && !quoted) {
      parts.push_back(std::string());
    } else {
      parts.back() += ch;
    }
  }
  for (std::string& p : parts) p = trim(p);
  return parts;
}

int intValue(const std::string& v) { return std::atoi(v.c_str()); }

// The value of key inside an inline table such as { a = 1, key = "x" }.
std::string inlineValue(const std::string& table, const std::string& key) {
  size_t at = 0;
  while ((at = table.find(key, at)) != std::string::npos) {
    bool starts = at == 0 || table[at - 1] == '{' || table[at - 1] == ',' || table[at - 1] == ' ';
    size_t eq = table.find_first_not_of(' ', at + key.size());
    if (starts && eq != std::string::npos && table[eq] == '=') {
      size_t end = table.find_first_of(",}", eq);
      std::string v = trim(table.substr(eq + 1, end == std::string::npos ? std::string::npos : end - eq - 1));
      v.erase(std::remove(v.begin(), v.end(), '"'), v.end());
      return v;
    }
    at += key.size();
  }
  return std::string();
}

}  // namespace

bool readRuffleTest(const std::string& path, RuffleTest& out) {
  std::ifstream in(path);
  if (!in) return false;
  out = RuffleTest{};
  std::vector<bool> toleranceSeen;
  std::vector<std::string> section;
  std::string line;
  while (std::getline(in, line)) {
    line = trim(withoutComment(line));
    if (line.empty()) continue;
    if (line[0] == '[') {
      size_t open = line.find_first_not_of('['), close = line.find(']');
      section = close == std::string::npos ? std::vector<std::string>() : keyPath(line.substr(open, close - open));
      if (section.size() >= 2 && section[0] == "image_comparisons") {
        auto same = [&](const RuffleComparison& c) { return c.name == section[1]; };
        if (std::none_of(out.comparisons.begin(), out.comparisons.end(), same)) {
          out.comparisons.push_back(RuffleComparison{section[1]});
          toleranceSeen.push_back(false);
        }
      }
      continue;
    }
    size_t eq = line.find('=');
    if (eq == std::string::npos) continue;
    std::string key = trim(line.substr(0, eq)), value = trim(line.substr(eq + 1));
    bool comparison = section.size() >= 2 && section[0] == "image_comparisons";
    if (section.empty() && (key == "num_frames" || key == "num_ticks")) out.frames = intValue(value);
    if (!section.empty() && section[0] == "player_options") {
      if (key == "with_renderer" && !inlineValue(value, "quality").empty()) out.quality = inlineValue(value, "quality");
      if (key == "viewport_dimensions") {
        out.viewWidth = intValue(inlineValue(value, "width"));
        out.viewHeight = intValue(inlineValue(value, "height"));
      }
    }
    if (!comparison) continue;
    auto it = std::find_if(out.comparisons.begin(), out.comparisons.end(),
                           [&](const RuffleComparison& c) { return c.name == section[1]; });
    size_t index = size_t(it - out.comparisons.begin());
    if (key == "trigger") it->frames = intValue(value);
    if (key == "tolerance") {
      int t = intValue(value);
      it->tolerance = toleranceSeen[index] ? std::min(it->tolerance, t) : t;
      toleranceSeen[index] = true;
    }
  }
  for (RuffleComparison& c : out.comparisons) {
    if (c.frames < 0) c.frames = out.frames;
  }
  return true;
}

}  // namespace tools
}  // namespace swf
