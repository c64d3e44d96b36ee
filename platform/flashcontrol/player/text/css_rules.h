// Style sheets as TextField.StyleSheet reads them: selector lists, each
// with a block of `name: value;` pairs. The reading is the real player's,
// looser than CSS: a name runs to its colon (semicolons and braces
// included), a value to its semicolon or brace with its trailing blanks
// kept, and names lose their hyphens, the letter after one going upper
// case (font-size is fontSize).
#pragma once

#include <string>
#include <utility>
#include <vector>

namespace swf {

struct CssRule {
  std::vector<std::string> selectors;
  std::vector<std::pair<std::string, std::string>> properties;
};

// False when the text is not a style sheet (nothing is kept then). Version
// 7 players also refuse a block holding only blanks.
bool parseCssRules(const std::string& css, int version, std::vector<CssRule>& out);

}  // namespace swf
