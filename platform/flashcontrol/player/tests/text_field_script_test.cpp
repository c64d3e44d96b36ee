// Text fields as scripts reach them: fields scripts make and remove, their
// properties and formats, fields bound to a variable, and Selection's focus.
#include <gtest/gtest.h>

#include <memory>
#include <optional>
#include <string>
#include <vector>

#include "action_steps.h"
#include "scripted_movie.h"
#include "swf_builder.h"
#include "tags/tag_codes.h"
#include "text_writer.h"
#include "timeline/stage.h"

namespace {

using namespace playertest;

ActionBuilder& get(ActionBuilder& a, const std::string& object, const std::string& member) {
  return a.push(str(object)).action(Code::GetVariable).push(str(member)).action(Code::GetMember);
}

ActionBuilder& traceMember(ActionBuilder& a, const std::string& object, const std::string& member) {
  return get(a, object, member).action(Code::Trace);
}

ActionBuilder& setMember(ActionBuilder& a, const std::string& object, const std::string& member, const PushValue& v) {
  return a.push(str(object)).action(Code::GetVariable).push({str(member), v}).action(Code::SetMember);
}

// Selection.setFocus(the value of name), the answer left on the stack.
ActionBuilder& setFocusTo(ActionBuilder& a, const std::string& name) {
  a.push(str(name)).action(Code::GetVariable).push({i32(1), str("Selection")}).action(Code::GetVariable);
  return a.push(str("setFocus")).action(Code::CallMethod);
}

// A function of one frame's actions, traced by name: function() { trace(text); }
ActionBuilder& tracingFunction(ActionBuilder& a, const std::string& text) {
  ActionBuilder body;
  body.push(str(text)).action(Code::Trace);
  return defineFunction(a, "", {}, body);
}

class FieldMovie : public ScriptedMovie {
 public:
  using ScriptedMovie::ScriptedMovie;
  // The field at a timeline depth (1-based as placed).
  swf::TextFieldInstance* field(int depth) {
    auto& children = root().children();
    auto it = children.find(depth);
    return it == children.end() ? nullptr : it->second.textField.get();
  }
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
  first.push({str("score"), i32(42)}).action(Code::SetVariable);
  traceMember(second, "f", "text");
  setMember(second, "f", "text", str("abc"));
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
  setMember(first, "f", "variable", str("w"));
  traceVar(first, "w");
  first.push(str("w")).action(Code::GetVariable).action(0x44).action(Code::Trace);
  SwfBuilder b = boundFieldMovie("v", first, second, std::nullopt);
  FieldMovie run(b);
  EXPECT_EQ(run.lines, (Lines{"undefined", "", "string"}));
}

TEST(BoundTextField, APathReachesAnotherClipsVariable) {
  ActionBuilder first, second;
  first.push({i32(0), str("holder"), i32(2), str("createEmptyMovieClip")}).action(Code::CallFunction).action(Code::Pop);
  setMember(first, "holder", "v", str("deep"));
  SwfBuilder b = boundFieldMovie("_root.holder.v", first, second);
  FieldMovie run(b);
  ASSERT_NE(run.field(1), nullptr);
  EXPECT_EQ(run.field(1)->text(), "deep");
}

TEST(ScriptTextField, CreateTextFieldMakesAFieldAtTheBoxGiven) {
  // createTextField("t", 7, 5, 10, 20, 30): arguments pushed last to first.
  ActionBuilder make;
  make.push({i32(30), i32(20), i32(10), i32(5), i32(7), str("t"), i32(6), str("createTextField")})
      .action(Code::CallFunction)
      .action(Code::Pop);
  for (const char* p : {"_x", "_y", "_width", "_height", "text", "border", "type", "autoSize", "variable"})
    traceMember(make, "t", p);
  callMethod(make, "t", "getDepth", {}).action(Code::Trace);
  SwfBuilder b;
  b.version(8).doAction(make).showFrame();
  FieldMovie run(b);
  EXPECT_EQ(run.lines, (Lines{"5", "10", "20", "30", "", "false", "dynamic", "none", "null", "7"}));
}

TEST(ScriptTextField, PropertiesKeepWhatScriptsSetWithinTheirRange) {
  ActionBuilder a;
  a.push({i32(30), i32(100), i32(0), i32(0), i32(1), str("t"), i32(6), str("createTextField")})
      .action(Code::CallFunction)
      .action(Code::Pop);
  setMember(a, "t", "borderColor", i32(-1));
  traceMember(a, "t", "borderColor");
  setMember(a, "t", "maxChars", i32(0));
  traceMember(a, "t", "maxChars");
  setMember(a, "t", "type", str("bogus"));
  traceMember(a, "t", "type");
  setMember(a, "t", "text", str("a\nb"));
  traceMember(a, "t", "length");
  setMember(a, "t", "_width", i32(40));
  traceMember(a, "t", "_width");
  traceMember(a, "t", "_xscale");
  callMethod(a, "t", "removeTextField", {}).action(Code::Pop);
  traceVar(a, "t");
  SwfBuilder b;
  b.version(8).doAction(a).showFrame();
  FieldMovie run(b);
  EXPECT_EQ(run.lines, (Lines{"16777215", "null", "dynamic", "3", "40", "100", "undefined"}));
}

TEST(ScriptTextField, VersionFiveMoviesSeeNoTextProperties) {
  ActionBuilder a;
  a.push({i32(30), i32(100), i32(0), i32(0), i32(1), str("t"), i32(6), str("createTextField")})
      .action(Code::CallFunction)
      .action(Code::Pop);
  setMember(a, "t", "text", str("x"));
  traceMember(a, "t", "text");
  traceMember(a, "t", "_x");
  SwfBuilder b;
  b.version(5).doAction(a).showFrame();
  FieldMovie run(b);
  EXPECT_EQ(run.lines, (Lines{"x", "0"}));  // a plain variable of the object
}

TEST(ScriptTextFormat, ARangeReadsNullWhereItsCharactersDiffer) {
  ActionBuilder a;
  a.push({i32(30), i32(100), i32(0), i32(0), i32(1), str("t"), i32(6), str("createTextField")})
      .action(Code::CallFunction)
      .action(Code::Pop);
  setMember(a, "t", "text", str("abcd"));
  a.push({str("fmt"), i32(0), str("TextFormat")}).action(Code::NewObject).action(Code::SetVariable);
  setMember(a, "fmt", "bold", PushValue::boolean(true));
  setMember(a, "fmt", "align", str("center"));
  callMethod(a, "t", "setTextFormat", {i32(1), i32(3), PushValue::null()}).action(Code::Pop);  // no format: nothing
  a.push(str("fmt")).action(Code::GetVariable);
  a.push({i32(3), i32(1), i32(3), str("t")})
      .action(Code::GetVariable)
      .push(str("setTextFormat"))
      .action(Code::CallMethod)
      .action(Code::Pop);
  for (auto range : {std::vector<int32_t>{0, 4}, {1, 3}, {0, 1}}) {
    callMethod(a, "t", "getTextFormat", {i32(range[0]), i32(range[1])})
        .push(str("bold"))
        .action(Code::GetMember)
        .action(Code::Trace);
  }
  // Paragraph attributes cover the whole paragraph.
  callMethod(a, "t", "getTextFormat", {i32(0), i32(1)}).push(str("align")).action(Code::GetMember).action(Code::Trace);
  callMethod(a, "t", "getTextFormat", {}).push(str("font")).action(Code::GetMember).action(Code::Trace);
  SwfBuilder b;
  b.version(8).doAction(a).showFrame();
  FieldMovie run(b);
  EXPECT_EQ(run.lines, (Lines{"null", "true", "false", "center", "Times New Roman"}));
}

TEST(SelectionFocus, SetFocusTellsTheOldTheNewAndTheListenersInThatOrder) {
  ActionBuilder a;
  a.push({i32(1), str("a"), i32(2), str("createEmptyMovieClip")}).action(Code::CallFunction).action(Code::Pop);
  a.push({i32(2), str("b"), i32(2), str("createEmptyMovieClip")}).action(Code::CallFunction).action(Code::Pop);
  setMember(a, "a", "focusEnabled", PushValue::boolean(true));
  setMember(a, "b", "focusEnabled", PushValue::boolean(true));
  a.push(str("a")).action(Code::GetVariable).push(str("onKillFocus"));
  tracingFunction(a, "a loses").action(Code::SetMember);
  a.push(str("b")).action(Code::GetVariable).push(str("onSetFocus"));
  tracingFunction(a, "b takes").action(Code::SetMember);
  a.push(str("Selection")).action(Code::GetVariable).push(str("onSetFocus"));
  tracingFunction(a, "listeners").action(Code::SetMember);
  a.push(str("Selection")).action(Code::GetVariable);
  a.push({i32(1), str("Selection")})
      .action(Code::GetVariable)
      .push(str("addListener"))
      .action(Code::CallMethod)
      .action(Code::Pop);
  callMethod(a, "Selection", "setFocus", {PushValue::boolean(false)}).action(Code::Trace);
  setFocusTo(a, "a").action(Code::Trace);
  setFocusTo(a, "b").action(Code::Pop);
  callMethod(a, "Selection", "getFocus", {}).action(Code::Trace);
  SwfBuilder b;
  b.version(7).doAction(a).showFrame();
  FieldMovie run(b);
  EXPECT_EQ(run.lines, (Lines{"false", "listeners", "true", "a loses", "b takes", "listeners", "_level0.b"}));
}

TEST(SelectionFocus, AClipTakesItOnlyWithFocusEnabledOrAButtonHandler) {
  ActionBuilder a;
  a.push({i32(1), str("c"), i32(2), str("createEmptyMovieClip")}).action(Code::CallFunction).action(Code::Pop);
  setFocusTo(a, "c").action(Code::Trace);
  a.push(str("c")).action(Code::GetVariable).push(str("onRelease"));
  tracingFunction(a, "released").action(Code::SetMember);
  setFocusTo(a, "c").action(Code::Trace);
  // Nothing named: the focus goes.
  callMethod(a, "Selection", "setFocus", {PushValue::undefined()}).action(Code::Trace);
  callMethod(a, "Selection", "getFocus", {}).action(Code::Trace);
  SwfBuilder b;
  b.version(7).doAction(a).showFrame();
  FieldMovie run(b);
  EXPECT_EQ(run.lines, (Lines{"false", "true", "true", "null"}));
}

TEST(SelectionText, FocusSelectsAllAndReplaceSelTakesTheSelection) {
  ActionBuilder a;
  a.push({i32(30), i32(100), i32(0), i32(0), i32(1), str("t"), i32(6), str("createTextField")})
      .action(Code::CallFunction)
      .action(Code::Pop);
  setMember(a, "t", "text", str("abcd"));
  // Never focused: a caret at the start.
  callMethod(a, "t", "replaceSel", {str("|")}).action(Code::Pop);
  traceMember(a, "t", "text");
  callMethod(a, "Selection", "getBeginIndex", {}).action(Code::Trace);
  setFocusTo(a, "t").action(Code::Pop);
  callMethod(a, "Selection", "getEndIndex", {}).action(Code::Trace);
  // Backwards: the caret stays where the selection ends.
  callMethod(a, "Selection", "setSelection", {i32(4), i32(1)}).action(Code::Pop);
  callMethod(a, "Selection", "getBeginIndex", {}).action(Code::Trace);
  callMethod(a, "Selection", "getCaretIndex", {}).action(Code::Trace);
  callMethod(a, "t", "replaceSel", {str("-")}).action(Code::Pop);
  traceMember(a, "t", "text");
  callMethod(a, "Selection", "getCaretIndex", {}).action(Code::Trace);
  callMethod(a, "Selection", "setSelection", {i32(-3), i32(99)}).action(Code::Pop);
  callMethod(a, "Selection", "getBeginIndex", {}).action(Code::Trace);
  callMethod(a, "Selection", "getEndIndex", {}).action(Code::Trace);
  SwfBuilder b;
  b.version(8).doAction(a).showFrame();
  FieldMovie run(b);
  EXPECT_EQ(run.lines, (Lines{"|abcd", "-1", "5", "1", "1", "|-d", "2", "0", "3"}));
}

ActionBuilder focusRectScript() {
  ActionBuilder a;
  a.push({i32(1), str("a"), i32(2), str("createEmptyMovieClip")}).action(Code::CallFunction).action(Code::Pop);
  traceMember(a, "a", "_focusrect");
  traceMember(a, "_root", "_focusrect");
  // The movie's setting: numbers only, what is none leaves it.
  for (const PushValue& v : {i32(0), PushValue::undefined(), str("x"), i32(2)}) {
    setMember(a, "_root", "_focusrect", v);
    traceMember(a, "_root", "_focusrect");
  }
  // A clip's: any value as a flag; null clears it.
  for (const PushValue& v : {str("x"), PushValue::null()}) {
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
