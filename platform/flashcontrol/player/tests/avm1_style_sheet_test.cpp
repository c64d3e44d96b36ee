// TextField.StyleSheet: the loose CSS reading of parseCSS, the copies
// getStyle hands out, and the TextFormat transform makes of a style.
#include <gtest/gtest.h>

#include <algorithm>

#include "avm1/array_object.h"
#include "avm1/builtins/builtins.h"
#include "avm1_builtin_support.h"
#include "text/css_rules.h"

namespace {

using namespace avm1test;

struct Sheet {
  explicit Sheet(int version = 8) : w(version) {
    Object* holder = w.vm.newObject();
    swf::avm1::installStyleSheetClass(w.vm, holder);
    Object* ctor = holder->get("StyleSheet").asObject();
    self = ctor->asFunction()->construct({});
  }
  Value call(const std::string& m, const avm1test::Args& a = {}) { return w.call(self, m, a); }
  // "name=value;..." of a style in name order, or "null".
  std::string style(const std::string& name) {
    Value s = call("getStyle", {Value(name)});
    if (!s.isObject()) return "null";
    std::vector<std::string> names = s.object->enumerableNames();
    std::sort(names.begin(), names.end());
    std::string out;
    for (const std::string& n : names) out += n + "=" + w.text(s.object->get(n)) + ";";
    return out;
  }
  std::string names() {
    Value list = call("getStyleNames");
    std::string out;
    for (uint32_t i = 0; list.isObject() && i < w.number(list.object->get("length")); ++i) {
      out += w.text(list.object->get(std::to_string(i))) + ",";
    }
    return out;
  }
  World w;
  Value self;
};

bool parses(const std::string& css, int version = 8) {
  std::vector<swf::CssRule> rules;
  return swf::parseCssRules(css, version, rules);
}

TEST(CssRules, ReadsNamesToTheirColonAndValuesToTheirEnd) {
  std::vector<swf::CssRule> rules;
  ASSERT_TRUE(swf::parseCssRules("a , b { font-size: 12px ; x--y: 1 } c{;k:v}", 8, rules));
  ASSERT_EQ(rules.size(), 2u);
  EXPECT_EQ(rules[0].selectors, (std::vector<std::string>{"a", "b"}));
  ASSERT_EQ(rules[0].properties.size(), 2u);
  EXPECT_EQ(rules[0].properties[0], (std::pair<std::string, std::string>{"fontSize", "12px "}));
  EXPECT_EQ(rules[0].properties[1], (std::pair<std::string, std::string>{"x-y", "1 "}));
  EXPECT_EQ(rules[1].properties[0].first, ";k");
}

TEST(CssRules, RefusesWhatIsNoSheet) {
  EXPECT_FALSE(parses("a b { x: 1; }"));  // blanks do not part selectors
  EXPECT_FALSE(parses("{ x: 1; }"));      // no selector
  EXPECT_FALSE(parses("a { x: 1;; }"));   // a name running to the end
  EXPECT_FALSE(parses("a { x: 1"));       // a value left open
  EXPECT_FALSE(parses("a { two words: 1; }"));
  EXPECT_FALSE(parses("a"));
  EXPECT_TRUE(parses("a { x: 1;"));  // an open block after a full value
  EXPECT_TRUE(parses(""));
  EXPECT_TRUE(parses("a { }"));
  EXPECT_FALSE(parses("a { }", 7));
}

TEST(Avm1StyleSheet, ParseReplacesWholeStylesAndKeepsTheOthers) {
  Sheet s;
  EXPECT_TRUE(s.w.vm.toBoolean(s.call("parseCSS", {Value("a { x: 1; y: 2; } b { z: 3 }")})));
  EXPECT_TRUE(s.w.vm.toBoolean(s.call("parseCSS", {Value("a { x: 0 }")})));
  EXPECT_EQ(s.style("a"), "x=0 ;");
  EXPECT_EQ(s.style("b"), "z=3 ;");
  EXPECT_FALSE(s.w.vm.toBoolean(s.call("parseCSS", {Value("b { z: 4; } bad sheet")})));
  EXPECT_EQ(s.style("b"), "z=3 ;");
  EXPECT_EQ(s.style("none"), "null");
  std::string names = s.names();
  EXPECT_NE(names.find("a,"), std::string::npos);
  EXPECT_NE(names.find("b,"), std::string::npos);
}

TEST(Avm1StyleSheet, SetStyleKeepsAShallowCopy) {
  Sheet s;
  Object* style = s.w.vm.newObject();
  Object* nested = s.w.vm.newObject();
  style->set("color", Value("#FF0000"));
  style->set("inner", Value(nested));
  s.call("setStyle", {Value("k"), Value(style)});
  style->set("color", Value("#00FF00"));
  Value got = s.call("getStyle", {Value("k")});
  ASSERT_TRUE(got.isObject());
  EXPECT_NE(got.object, style);
  EXPECT_EQ(s.w.text(got.object->get("color")), "#FF0000");
  EXPECT_EQ(got.object->get("inner").asObject(), nested);
  // What is no object leaves the name standing for nothing.
  s.call("setStyle", {Value("k"), Value("text")});
  EXPECT_EQ(s.style("k"), "null");
  Object* styles = s.self.object->get("_styles").asObject();
  ASSERT_NE(styles, nullptr);
  EXPECT_TRUE(styles->get("k").isNull());
}

TEST(Avm1StyleSheet, TransformReadsTheCssValuesScriptsUse) {
  Sheet s;
  auto transformed = [&](const char* css) {
    s.call("parseCSS", {Value(std::string("t {") + css + "}")});
    return s.self.object->get("_styles").asObject()->get("t").asObject();
  };
  Object* tf = transformed(
      "color: #faFAfa; font-size: 12.9px; font-weight: bold; text-align: CENTER; margin-left: -4;"
      "font-family: serif, mono , Arial; kerning: 2; text-decoration: underline; display: inline;");
  ASSERT_NE(tf, nullptr);
  EXPECT_EQ(s.w.number(tf->get("color")), 0xFAFAFA);
  EXPECT_EQ(s.w.number(tf->get("size")), 12);
  EXPECT_TRUE(s.w.vm.toBoolean(tf->get("bold")));
  EXPECT_TRUE(tf->get("italic").isNull());
  EXPECT_EQ(s.w.text(tf->get("align")), "center");
  EXPECT_EQ(s.w.number(tf->get("leftMargin")), 0);
  EXPECT_EQ(s.w.text(tf->get("font")), "_serif,_typewriter,Arial");
  EXPECT_TRUE(s.w.vm.toBoolean(tf->get("kerning")));
  EXPECT_TRUE(s.w.vm.toBoolean(tf->get("underline")));
  EXPECT_EQ(s.w.text(tf->get("display")), "inline");
  tf = transformed("color: #fff; font-size: -3; kerning: 0.5; display: Inline; font-style: Italic");
  EXPECT_TRUE(tf->get("color").isNull());
  EXPECT_TRUE(tf->get("size").isNull());
  EXPECT_FALSE(s.w.vm.toBoolean(tf->get("kerning")));
  EXPECT_EQ(s.w.text(tf->get("display")), "block");
  EXPECT_TRUE(tf->get("italic").isNull());
  EXPECT_TRUE(s.call("transform", {Value::null()}).isNull());
}

TEST(Avm1StyleSheet, ParseColorTakesOnlySixHexDigits) {
  Sheet s;
  EXPECT_EQ(s.w.number(s.call("parseColor", {Value("#aBc123")})), 0xABC123);
  for (const char* bad : {"#FFF", " #FFFFFF", "#FFFFFF ", "FFFFFF", "#FFXXFF"}) {
    EXPECT_TRUE(s.call("parseColor", {Value(bad)}).isNull()) << bad;
  }
}

}  // namespace
