// Text fields as scripts reach them: fields scripts make and remove, their
// properties and formats, fields bound to a variable, and Selection's focus.
#include <gtest/gtest.h>

#include <memory>
#include <optional>
#include <string>
#include <vector>

#include "swf_builder.h"
#include "tags/tag_codes.h"
#include "text_writer.h"
#include "timeline/stage.h"

namespace {

using mvqtest::ActionBuilder;
using mvqtest::PlaceObject2;
using mvqtest::PushValue;
using mvqtest::SwfBuilder;
using playertest::EditTextDraft;
using Lines = std::vector<std::string>;

enum : uint8_t {
  kCallFunction = 0x3D,
  kCallMethod = 0x52,
  kGetMember = 0x4E,
  kGetVariable = 0x1C,
  kNewObject = 0x40,
  kPop = 0x17,
  kSetMember = 0x4F,
  kSetVariable = 0x1D,
  kTrace = 0x26,
  kDefineFunction = 0x9B,
};

PushValue S(const std::string& s) { return PushValue::string(s); }
PushValue I(int32_t n) { return PushValue::integer(n); }

ActionBuilder& get(ActionBuilder& a, const std::string& object, const std::string& member) {
  return a.push(S(object)).action(kGetVariable).push(S(member)).action(kGetMember);
}

ActionBuilder& traceMember(ActionBuilder& a, const std::string& object, const std::string& member) {
  return get(a, object, member).action(kTrace);
}

ActionBuilder& setMember(ActionBuilder& a, const std::string& object, const std::string& member, const PushValue& v) {
  return a.push(S(object)).action(kGetVariable).push({S(member), v}).action(kSetMember);
}

// object.method(args...), result left on the stack.
ActionBuilder& callMethod(ActionBuilder& a, const std::string& object, const std::string& method,
                          std::vector<PushValue> args) {
  for (auto it = args.rbegin(); it != args.rend(); ++it) a.push(*it);
  a.push(I(int32_t(args.size()))).push(S(object)).action(kGetVariable);
  return a.push(S(method)).action(kCallMethod);
}

ActionBuilder& traceVar(ActionBuilder& a, const std::string& name) {
  return a.push(S(name)).action(kGetVariable).action(kTrace);
}

// A function of one frame's actions, traced by name: function() { trace(text); }
ActionBuilder& tracingFunction(ActionBuilder& a, const std::string& text) {
  ActionBuilder body;
  body.push(S(text)).action(kTrace);
  mvqtest::Bytes p{0, 0, 0, uint8_t(body.size() & 0xFF), uint8_t(body.size() >> 8)};
  return a.action(kDefineFunction, p).raw(body.bytes());
}

class FieldMovie {
 public:
  FieldMovie(SwfBuilder& b, int ticks = 0) {
    EXPECT_TRUE(movie_.parse(b.finish()));
    stage_ =
        std::make_unique<swf::Stage>(movie_, nullptr, nullptr, [this](const std::string& l) { lines.push_back(l); });
    for (int i = 0; i < ticks; ++i) stage_->tick(true);
  }
  // The field at a timeline depth (1-based as placed).
  swf::TextFieldInstance* field(int depth) {
    auto& children = stage_->root().children();
    auto it = children.find(depth);
    return it == children.end() ? nullptr : it->second.textField.get();
  }
  Lines lines;

 private:
  swf::Movie movie_;
  std::unique_ptr<swf::Stage> stage_;
};

// A movie with a field bound to `variable` placed as "f" at depth 1.
SwfBuilder boundFieldMovie(const std::string& variable, const ActionBuilder& frame1, const ActionBuilder& frame2,
                           const std::optional<std::string>& text = std::string("7")) {
  EditTextDraft d;
  d.variable = variable;
  d.text = text;
  d.useOutlines = false;
  SwfBuilder b;
  b.version(7);
  b.tag(uint16_t(swf::TagCode::DefineEditText), d.body());
  PlaceObject2 p;
  p.depth = 1, p.character = d.id, p.name = "f";
  b.placeObject2(p).doAction(frame1).showFrame().doAction(frame2).showFrame();
  return b;
}

TEST(BoundTextField, TheVariableStartsAsTheFieldsTextAndTheFieldFollowsIt) {
  ActionBuilder first, second;
  traceVar(first, "score");
  first.push({S("score"), I(42)}).action(kSetVariable);
  traceMember(second, "f", "text");
  setMember(second, "f", "text", S("abc"));
  traceVar(second, "score");
  SwfBuilder b = boundFieldMovie("score", first, second);
  FieldMovie run(b);
  ASSERT_NE(run.field(1), nullptr);
  // The player shows the new value once the frame's actions ran.
  EXPECT_EQ(run.field(1)->text(), "42");
  FieldMovie played(b, 1);
  EXPECT_EQ(played.lines, (Lines{"7", "42", "abc"}));
  EXPECT_EQ(played.field(1)->text(), "abc");
}

// A field whose tag gives no text makes no variable; a variable a script
// names later starts as the field's text.
TEST(BoundTextField, AFieldWithoutTextMakesItsVariableOnlyWhenRenamed) {
  ActionBuilder first, second;
  traceVar(first, "v");
  setMember(first, "f", "variable", S("w"));
  traceVar(first, "w");
  first.push(S("w")).action(kGetVariable).action(0x44).action(kTrace);
  SwfBuilder b = boundFieldMovie("v", first, second, std::nullopt);
  FieldMovie run(b);
  EXPECT_EQ(run.lines, (Lines{"undefined", "", "string"}));
}

TEST(BoundTextField, APathReachesAnotherClipsVariable) {
  ActionBuilder first, second;
  first.push({I(0), S("holder"), I(2), S("createEmptyMovieClip")}).action(kCallFunction).action(kPop);
  setMember(first, "holder", "v", S("deep"));
  SwfBuilder b = boundFieldMovie("_root.holder.v", first, second);
  FieldMovie run(b);
  ASSERT_NE(run.field(1), nullptr);
  EXPECT_EQ(run.field(1)->text(), "deep");
}

TEST(ScriptTextField, CreateTextFieldMakesAFieldAtTheBoxGiven) {
  // createTextField("t", 7, 5, 10, 20, 30): arguments pushed last to first.
  ActionBuilder make;
  make.push({I(30), I(20), I(10), I(5), I(7), S("t"), I(6), S("createTextField")}).action(kCallFunction).action(kPop);
  for (const char* p : {"_x", "_y", "_width", "_height", "text", "border", "type", "autoSize", "variable"})
    traceMember(make, "t", p);
  callMethod(make, "t", "getDepth", {}).action(kTrace);
  SwfBuilder b;
  b.version(8).doAction(make).showFrame();
  FieldMovie run(b);
  EXPECT_EQ(run.lines, (Lines{"5", "10", "20", "30", "", "false", "dynamic", "none", "null", "7"}));
}

TEST(ScriptTextField, PropertiesKeepWhatScriptsSetWithinTheirRange) {
  ActionBuilder a;
  a.push({I(30), I(100), I(0), I(0), I(1), S("t"), I(6), S("createTextField")}).action(kCallFunction).action(kPop);
  setMember(a, "t", "borderColor", I(-1));
  traceMember(a, "t", "borderColor");
  setMember(a, "t", "maxChars", I(0));
  traceMember(a, "t", "maxChars");
  setMember(a, "t", "type", S("bogus"));
  traceMember(a, "t", "type");
  setMember(a, "t", "text", S("a\nb"));
  traceMember(a, "t", "length");
  setMember(a, "t", "_width", I(40));
  traceMember(a, "t", "_width");
  traceMember(a, "t", "_xscale");
  callMethod(a, "t", "removeTextField", {}).action(kPop);
  traceVar(a, "t");
  SwfBuilder b;
  b.version(8).doAction(a).showFrame();
  FieldMovie run(b);
  EXPECT_EQ(run.lines, (Lines{"16777215", "null", "dynamic", "3", "40", "100", "undefined"}));
}

TEST(ScriptTextField, VersionFiveMoviesSeeNoTextProperties) {
  ActionBuilder a;
  a.push({I(30), I(100), I(0), I(0), I(1), S("t"), I(6), S("createTextField")}).action(kCallFunction).action(kPop);
  setMember(a, "t", "text", S("x"));
  traceMember(a, "t", "text");
  traceMember(a, "t", "_x");
  SwfBuilder b;
  b.version(5).doAction(a).showFrame();
  FieldMovie run(b);
  EXPECT_EQ(run.lines, (Lines{"x", "0"}));  // a plain variable of the object
}

TEST(ScriptTextFormat, ARangeReadsNullWhereItsCharactersDiffer) {
  ActionBuilder a;
  a.push({I(30), I(100), I(0), I(0), I(1), S("t"), I(6), S("createTextField")}).action(kCallFunction).action(kPop);
  setMember(a, "t", "text", S("abcd"));
  a.push({S("fmt"), I(0), S("TextFormat")}).action(kNewObject).action(kSetVariable);
  setMember(a, "fmt", "bold", PushValue::boolean(true));
  setMember(a, "fmt", "align", S("center"));
  callMethod(a, "t", "setTextFormat", {I(1), I(3), PushValue::null()}).action(kPop);  // no format: nothing
  a.push(S("fmt")).action(kGetVariable);
  a.push({I(3), I(1), I(3), S("t")}).action(kGetVariable).push(S("setTextFormat")).action(kCallMethod).action(kPop);
  for (auto range : {std::vector<int32_t>{0, 4}, {1, 3}, {0, 1}}) {
    callMethod(a, "t", "getTextFormat", {I(range[0]), I(range[1])}).push(S("bold")).action(kGetMember).action(kTrace);
  }
  // Paragraph attributes cover the whole paragraph.
  callMethod(a, "t", "getTextFormat", {I(0), I(1)}).push(S("align")).action(kGetMember).action(kTrace);
  callMethod(a, "t", "getTextFormat", {}).push(S("font")).action(kGetMember).action(kTrace);
  SwfBuilder b;
  b.version(8).doAction(a).showFrame();
  FieldMovie run(b);
  EXPECT_EQ(run.lines, (Lines{"null", "true", "false", "center", "Times New Roman"}));
}

TEST(SelectionFocus, SetFocusTellsTheOldTheNewAndTheListenersInThatOrder) {
  ActionBuilder a;
  a.push({I(1), S("a"), I(2), S("createEmptyMovieClip")}).action(kCallFunction).action(kPop);
  a.push({I(2), S("b"), I(2), S("createEmptyMovieClip")}).action(kCallFunction).action(kPop);
  setMember(a, "a", "focusEnabled", PushValue::boolean(true));
  setMember(a, "b", "focusEnabled", PushValue::boolean(true));
  a.push(S("a")).action(kGetVariable).push(S("onKillFocus"));
  tracingFunction(a, "a loses").action(kSetMember);
  a.push(S("b")).action(kGetVariable).push(S("onSetFocus"));
  tracingFunction(a, "b takes").action(kSetMember);
  a.push(S("Selection")).action(kGetVariable).push(S("onSetFocus"));
  tracingFunction(a, "listeners").action(kSetMember);
  a.push(S("Selection")).action(kGetVariable);
  a.push({I(1), S("Selection")}).action(kGetVariable).push(S("addListener")).action(kCallMethod).action(kPop);
  callMethod(a, "Selection", "setFocus", {PushValue::boolean(false)}).action(kTrace);
  a.push(S("a"))
      .action(kGetVariable)
      .push({I(1), S("Selection")})
      .action(kGetVariable)
      .push(S("setFocus"))
      .action(kCallMethod)
      .action(kTrace);
  a.push(S("b"))
      .action(kGetVariable)
      .push({I(1), S("Selection")})
      .action(kGetVariable)
      .push(S("setFocus"))
      .action(kCallMethod)
      .action(kPop);
  callMethod(a, "Selection", "getFocus", {}).action(kTrace);
  SwfBuilder b;
  b.version(7).doAction(a).showFrame();
  FieldMovie run(b);
  EXPECT_EQ(run.lines, (Lines{"false", "listeners", "true", "a loses", "b takes", "listeners", "_level0.b"}));
}

TEST(SelectionFocus, AClipTakesItOnlyWithFocusEnabledOrAButtonHandler) {
  ActionBuilder a;
  a.push({I(1), S("c"), I(2), S("createEmptyMovieClip")}).action(kCallFunction).action(kPop);
  a.push(S("c"))
      .action(kGetVariable)
      .push({I(1), S("Selection")})
      .action(kGetVariable)
      .push(S("setFocus"))
      .action(kCallMethod)
      .action(kTrace);
  a.push(S("c")).action(kGetVariable).push(S("onRelease"));
  tracingFunction(a, "released").action(kSetMember);
  a.push(S("c"))
      .action(kGetVariable)
      .push({I(1), S("Selection")})
      .action(kGetVariable)
      .push(S("setFocus"))
      .action(kCallMethod)
      .action(kTrace);
  // Nothing named: the focus goes.
  callMethod(a, "Selection", "setFocus", {PushValue::undefined()}).action(kTrace);
  callMethod(a, "Selection", "getFocus", {}).action(kTrace);
  SwfBuilder b;
  b.version(7).doAction(a).showFrame();
  FieldMovie run(b);
  EXPECT_EQ(run.lines, (Lines{"false", "true", "true", "null"}));
}

TEST(SelectionText, FocusSelectsAllAndReplaceSelTakesTheSelection) {
  ActionBuilder a;
  a.push({I(30), I(100), I(0), I(0), I(1), S("t"), I(6), S("createTextField")}).action(kCallFunction).action(kPop);
  setMember(a, "t", "text", S("abcd"));
  // Never focused: a caret at the start.
  callMethod(a, "t", "replaceSel", {S("|")}).action(kPop);
  traceMember(a, "t", "text");
  callMethod(a, "Selection", "getBeginIndex", {}).action(kTrace);
  a.push(S("t"))
      .action(kGetVariable)
      .push({I(1), S("Selection")})
      .action(kGetVariable)
      .push(S("setFocus"))
      .action(kCallMethod)
      .action(kPop);
  callMethod(a, "Selection", "getEndIndex", {}).action(kTrace);
  // Backwards: the caret stays where the selection ends.
  callMethod(a, "Selection", "setSelection", {I(4), I(1)}).action(kPop);
  callMethod(a, "Selection", "getBeginIndex", {}).action(kTrace);
  callMethod(a, "Selection", "getCaretIndex", {}).action(kTrace);
  callMethod(a, "t", "replaceSel", {S("-")}).action(kPop);
  traceMember(a, "t", "text");
  callMethod(a, "Selection", "getCaretIndex", {}).action(kTrace);
  callMethod(a, "Selection", "setSelection", {I(-3), I(99)}).action(kPop);
  callMethod(a, "Selection", "getBeginIndex", {}).action(kTrace);
  callMethod(a, "Selection", "getEndIndex", {}).action(kTrace);
  SwfBuilder b;
  b.version(8).doAction(a).showFrame();
  FieldMovie run(b);
  EXPECT_EQ(run.lines, (Lines{"|abcd", "-1", "5", "1", "1", "|-d", "2", "0", "3"}));
}

ActionBuilder focusRectScript() {
  ActionBuilder a;
  a.push({I(1), S("a"), I(2), S("createEmptyMovieClip")}).action(kCallFunction).action(kPop);
  traceMember(a, "a", "_focusrect");
  traceMember(a, "_root", "_focusrect");
  // The movie's setting: numbers only, what is none leaves it.
  for (const PushValue& v : {I(0), PushValue::undefined(), S("x"), I(2)}) {
    setMember(a, "_root", "_focusrect", v);
    traceMember(a, "_root", "_focusrect");
  }
  // A clip's: any value as a flag; null clears it.
  for (const PushValue& v : {S("x"), PushValue::null()}) {
    setMember(a, "a", "_focusrect", v);
    traceMember(a, "a", "_focusrect");
  }
  return a;
}

TEST(FocusRect, TheMoviesSettingTakesNumbersAndAClipsAnyValueAsAFlag) {
  SwfBuilder b;
  b.version(7).doAction(focusRectScript()).showFrame();
  FieldMovie run(b);
  EXPECT_EQ(run.lines, (Lines{"null", "true", "false", "false", "false", "true", "true", "null"}));
  // Version 5 clips have none; the setting reads as a number.
  SwfBuilder old;
  old.version(5).doAction(focusRectScript()).showFrame();
  FieldMovie run5(old);
  EXPECT_EQ(run5.lines, (Lines{"undefined", "1", "0", "0", "0", "1", "undefined", "undefined"}));
}

}  // namespace
