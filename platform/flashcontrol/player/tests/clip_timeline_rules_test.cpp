// Which timeline script acts on, and how clips come and go: a function's
// base clip, removal and depths, as movies built here show them.
#include <gtest/gtest.h>

#include <memory>
#include <string>
#include <vector>

#include "action_steps.h"
#include "scripted_movie.h"
#include "swf_builder.h"
#include "tags/tag_codes.h"
#include "timeline/stage.h"

namespace {

using namespace playertest;

// trace(getProperty("", _target)): the timeline the actions act on.
ActionBuilder& traceTarget(ActionBuilder& a) {
  return a.push({str(""), i32(11)}).action(Code::GetProperty).action(Code::Trace);
}

// object.member = value of variable `variable`.
ActionBuilder& setMemberFrom(ActionBuilder& a, const std::string& object, const std::string& member,
                             const std::string& variable) {
  a.push(str(object)).action(Code::GetVariable).push(str(member));
  return a.push(str(variable)).action(Code::GetVariable).action(Code::SetMember);
}

Bytes exportBody(uint16_t id, const std::string& name) {
  Bytes b{1, 0, uint8_t(id), uint8_t(id >> 8)};
  b.insert(b.end(), name.begin(), name.end());
  b.push_back(0);
  return b;
}

// A function the root defines, called from a child's second frame as _root.f().
Lines baseOfRootFunctionCalledFromChild(int version) {
  SwfBuilder b;
  b.version(uint8_t(version));
  ActionBuilder childFrame2, body, define;
  callMethod(childFrame2, "_root", "f", {}).action(Code::Pop).stop();
  TagStream child;
  child.showFrame().doAction(childFrame2).showFrame();
  b.defineSprite(1, child);
  traceTarget(body);
  define.push(str("f"));
  defineFunction(define, "", {}, body).action(Code::SetVariable);
  PlaceObject2 p;
  p.depth = 1, p.character = 1, p.name = "kid";
  b.doAction(define).placeObject2(p).showFrame().showFrame();
  ScriptedMovie run(b, 2);
  return run.lines;
}

TEST(FunctionBase, BeforeVersionSixAFunctionActsOnItsCallersTimeline) {
  EXPECT_EQ(baseOfRootFunctionCalledFromChild(5), (Lines{"/kid"}));
  EXPECT_EQ(baseOfRootFunctionCalledFromChild(6), (Lines{"/"}));
}

TEST(FunctionBase, AfterItsTimelineLeftTheFunctionActsOnThisClipOrElseTheCaller) {
  SwfBuilder b;
  b.version(6);
  ActionBuilder body, define;
  traceTarget(body);
  define.push(str("_root")).action(Code::GetVariable).push(str("g"));
  defineFunction(define, "", {}, body).action(Code::SetMember);
  TagStream definer;
  definer.doAction(define).showFrame();
  b.defineSprite(1, definer);
  b.tag(uint16_t(swf::TagCode::ExportAssets), exportBody(1, "Definer"));
  ActionBuilder make, later;
  call(make, "attachMovie", {str("Definer"), str("d"), i32(5)}).action(Code::Pop);
  call(later, "createEmptyMovieClip", {str("holder"), i32(6)}).action(Code::Pop);
  later.push(str("o")).push(i32(0)).action(Code::InitObject).action(Code::SetVariable);
  setMemberFrom(later, "holder", "g", "g");
  setMemberFrom(later, "o", "g", "g");
  callMethod(later, "holder", "g", {}).action(Code::Pop);
  callMethod(later, "d", "removeMovieClip", {}).action(Code::Pop);
  callMethod(later, "holder", "g", {}).action(Code::Pop);
  callMethod(later, "o", "g", {}).action(Code::Pop);
  later.stop();
  b.doAction(make).showFrame().doAction(later).showFrame();
  ScriptedMovie run(b, 2);
  EXPECT_EQ(run.lines, (Lines{"/d", "/holder", "/"}));
}

TEST(TimelineRemoval, RemovesAClipScriptsSwappedOntoItsDepth) {
  SwfBuilder b;
  b.version(7);
  TagStream empty;
  empty.showFrame();
  b.defineSprite(1, empty);
  PlaceObject2 a, c;
  a.depth = 1, a.character = 1, a.name = "a";
  c.depth = 3, c.character = 1, c.name = "c";
  ActionBuilder swap, after;
  callMethod(swap, "a", "swapDepths", {i32(-100)}).action(Code::Pop);
  callMethod(swap, "c", "swapDepths", {i32(1 - 16384)}).action(Code::Pop);
  traceVar(after, "a");
  traceVar(after, "c");
  after.stop();
  b.placeObject2(a).placeObject2(c).doAction(swap).showFrame();
  b.removeObject2(1).doAction(after).showFrame();
  ScriptedMovie run(b, 1);
  EXPECT_EQ(run.lines, (Lines{"_level0.a", "undefined"}));
}

TEST(ClipIdentity, AClipTheTimelineMadeAgainEqualsTheOneStillAtItsOldPath) {
  SwfBuilder b;
  b.version(7);
  TagStream empty;
  empty.showFrame();
  b.defineSprite(1, empty);
  PlaceObject2 kid;
  kid.depth = 1, kid.character = 1, kid.name = "kid";
  ActionBuilder a;
  a.push(str("old")).push(str("kid")).action(Code::GetVariable).action(Code::SetVariable);
  callMethod(a, "kid", "swapDepths", {i32(10)}).action(Code::Pop);
  a.gotoFrame(0);
  // old === getInstanceAtDepth(-16383), then both depths.
  a.push(str("old")).action(Code::GetVariable);
  a.push({i32(-16383), i32(1), str("this")})
      .action(Code::GetVariable)
      .push(str("getInstanceAtDepth"))
      .action(Code::CallMethod);
  a.action(Code::StrictEquals).action(Code::Trace);
  a.push({i32(0), str("old")})
      .action(Code::GetVariable)
      .push(str("getDepth"))
      .action(Code::CallMethod)
      .action(Code::Trace);
  a.push({i32(0), str("kid")})
      .action(Code::GetVariable)
      .push(str("getDepth"))
      .action(Code::CallMethod)
      .action(Code::Trace);
  // A clip at another path stays unequal.
  a.push(str("old"))
      .action(Code::GetVariable)
      .push(str("_root"))
      .action(Code::GetVariable)
      .action(Code::StrictEquals)
      .action(Code::Trace);
  a.stop();
  b.placeObject2(kid).showFrame().doAction(a).showFrame();
  ScriptedMovie run(b, 1);
  EXPECT_EQ(run.lines, (Lines{"true", "10", "-16383", "false"}));
}

ActionBuilder& setTarget(ActionBuilder& a, const std::string& path) {
  Bytes p(path.begin(), path.end());
  p.push_back(0);
  return a.action(Code::SetTarget, p);
}

TEST(TellTarget, APathNamingNoClipActsOnTheRoot) {
  SwfBuilder b;
  b.version(7);
  ActionBuilder kidFrame, rootFrame1, rootFrame3;
  setTarget(kidFrame, "nowhere").push({str("v"), i32(7)}).action(Code::SetVariable).gotoFrame(2);
  setTarget(kidFrame, "");
  TagStream kid;
  kid.doAction(kidFrame).showFrame();
  b.defineSprite(1, kid);
  PlaceObject2 p;
  p.depth = 1, p.character = 1, p.name = "kid";
  rootFrame1.stop();
  rootFrame3.push(str("root frame 3")).action(Code::Trace);
  traceVar(rootFrame3, "v");
  traceVar(rootFrame3, "kid.v");
  b.placeObject2(p).doAction(rootFrame1).showFrame().showFrame().doAction(rootFrame3).showFrame();
  ScriptedMovie run(b, 1);
  EXPECT_EQ(run.lines, (Lines{"root frame 3", "7", "undefined"}));
}

// Sprite id of three frames tracing line on each, stopping on the last.
void defineTracingSprite(SwfBuilder& b, uint16_t id, const std::string& line) {
  ActionBuilder each, last;
  each.push(str(line)).action(Code::Trace);
  last.push(str(line)).action(Code::Trace).stop();
  TagStream t;
  t.doAction(each).showFrame().doAction(each).showFrame().doAction(last).showFrame();
  b.defineSprite(id, t);
}

TEST(ExecutionOrder, TheNewestClipPlaysItsNextFrameFirstAndTheRootLast) {
  SwfBuilder b;
  b.version(6);
  defineTracingSprite(b, 1, "high");
  defineTracingSprite(b, 2, "low");
  PlaceObject2 high, low;
  high.depth = 5, high.character = 1;
  low.depth = 1, low.character = 2;
  ActionBuilder root3;
  root3.push(str("root 3")).action(Code::Trace).stop();
  // The later clip sits lower: creation order, not depth, decides.
  b.placeObject2(high).showFrame().placeObject2(low).showFrame().doAction(root3).showFrame();
  ScriptedMovie run(b, 2);
  EXPECT_EQ(run.lines, (Lines{"high", "high", "low", "low", "high", "root 3"}));
}

TEST(ClipEnumeration, ForInVisitsTheVariablesThenNamedChildrenFromTheTop) {
  SwfBuilder b;
  b.version(7);
  TagStream empty;
  empty.showFrame();
  b.defineSprite(1, empty);
  PlaceObject2 low, high;
  low.depth = 1, low.character = 1, low.name = "low";
  high.depth = 3, high.character = 1, high.name = "high";
  ActionBuilder a;
  a.push({str("v"), i32(1)}).action(Code::SetVariable);
  // for (k in this) trace(k);
  a.push(str("this")).action(Code::GetVariable).action(Code::Enumerate2);
  a.action(Code::StoreRegister, {0}).action(Code::Pop).push(PushValue::registerNumber(0)).push(PushValue::null());
  a.action(Code::Equals2).ifTrue(11).push(PushValue::registerNumber(0)).action(Code::Trace).jump(-31);
  b.placeObject2(low).placeObject2(high).doAction(a).showFrame();
  ScriptedMovie run(b);
  EXPECT_EQ(run.lines, (Lines{"v", "high", "low"}));
}

}  // namespace
