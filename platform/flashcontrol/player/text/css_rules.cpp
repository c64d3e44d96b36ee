#include "css_rules.h"

namespace swf {
namespace {

bool blank(char c) { return c == ' ' || c == '\t' || c == '\r' || c == '\n'; }

class CssReader {
 public:
  CssReader(const std::string& css, int version) : s_(css), version_(version) {}

  bool read(std::vector<CssRule>& out) {
    for (;;) {
      CssRule rule;
      bool done = false;
      if (!readSelectors(rule.selectors, done)) return false;
      if (done) return true;
      if (!readBlock(rule.properties, done)) return false;
      out.push_back(std::move(rule));
      if (done) return true;
    }
  }

 private:
  void skipBlanks() {
    while (at_ < s_.size() && blank(s_[at_])) ++at_;
  }

  // Names apart by commas up to the block's brace; blanks alone do not part them.
  bool readSelectors(std::vector<std::string>& names, bool& done) {
    for (;;) {
      skipBlanks();
      if (at_ == s_.size()) {
        done = names.empty();
        return done;
      }
      char c = s_[at_];
      if (c == ',') {
        ++at_;
        continue;
      }
      if (c == '{') {
        ++at_;
        return !names.empty();
      }
      size_t start = at_;
      while (at_ < s_.size() && !blank(s_[at_]) && s_[at_] != ',' && s_[at_] != '{') ++at_;
      names.push_back(s_.substr(start, at_ - start));
      skipBlanks();
      if (at_ == s_.size() || (s_[at_] != ',' && s_[at_] != '{')) return false;
    }
  }

  // A block left open at the end of the text still counts.
  bool readBlock(std::vector<std::pair<std::string, std::string>>& props, bool& done) {
    size_t open = at_;
    for (;;) {
      skipBlanks();
      if (at_ == s_.size()) {
        done = true;
        return true;
      }
      if (s_[at_] == '}') {
        bool onlyBlanks = props.empty() && at_ > open && s_.find_first_not_of(" \t\r\n", open) == at_;
        ++at_;
        return !(version_ == 7 && onlyBlanks);
      }
      size_t colon = s_.find(':', at_);
      if (colon == std::string::npos) return false;
      std::string name = s_.substr(at_, colon - at_);
      if (!nameIsOneWord(name)) return false;
      at_ = colon + 1;
      skipBlanks();
      size_t end = s_.find_first_of(";}", at_);
      if (end == std::string::npos) return false;
      std::string value = s_.substr(at_, end - at_);
      at_ = s_[end] == ';' ? end + 1 : end;
      if (!name.empty()) props.emplace_back(scriptName(name), value);
    }
  }

  // Blanks may follow a name but not split it.
  static bool nameIsOneWord(const std::string& name) {
    size_t gap = name.find_first_of(" \t\r\n");
    return gap == std::string::npos || name.find_first_not_of(" \t\r\n", gap) == std::string::npos;
  }

  static std::string scriptName(const std::string& name) {
    std::string out;
    for (size_t i = 0; i < name.size(); ++i) {
      char c = name[i];
      if (c == '-' && i + 1 < name.size()) {
        char next = name[++i];
        out.push_back(next >= 'a' && next <= 'z' ? char(next - 'a' + 'A') : next);
        continue;
      }
      out.push_back(c);
    }
    return out;
  }

  const std::string& s_;
  int version_;
  size_t at_ = 0;
};

}  // namespace

bool parseCssRules(const std::string& css, int version, std::vector<CssRule>& out) {
  std::vector<CssRule> rules;
  if (!CssReader(css, version).read(rules)) return false;
  out.insert(out.end(), rules.begin(), rules.end());
  return true;
}

}  // namespace swf
