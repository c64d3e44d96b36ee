// Which timeline script acts on, and how clips come and go: a function's
// base clip, removal and depths, as movies built here show them.
#include <gtest/gtest.h>

#include <memory>
#include <string>
#include <vector>

#include "swf_builder.h"
#include "tags/tag_codes.h"
#include "timeline/stage.h"

namespace {

using mvqtest::ActionBuilder;
using mvqtest::Bytes;
using mvqtest::PlaceObject2;
using mvqtest::PushValue;
using mvqtest::SwfBuilder;
using mvqtest::TagStream;
using Lines = std::vector<std::string>;

enum : uint8_t {
  kCallFunction = 0x3D,
  kCallMethod = 0x52,
  kGetMember = 0x4E,
  kGetProperty = 0x22,
  kGetVariable = 0x1C,
  kInitObject = 0x43,
  kPop = 0x17,
  kSetMember = 0x4F,
  kSetVariable = 0x1D,
  kEnumerate2 = 0x55,
  kStoreRegister = 0x87,
  kEquals2 = 0x49,
  kSetTarget = 0x8B,
  kStrictEquals = 0x66,
  kTrace = 0x26,
  kDefineFunction = 0x9B,
};

PushValue S(const std::string& s) { return PushValue::string(s); }
PushValue I(int32_t n) { return PushValue::integer(n); }

// An anonymous function without parameters, left on the stack.
ActionBuilder& function(ActionBuilder& a, const ActionBuilder& body) {
  Bytes p{0, 0, 0, uint8_t(body.size() & 0xFF), uint8_t(body.size() >> 8)};
  return a.action(kDefineFunction, p).raw(body.bytes());
}

// trace(getProperty("", _target)): the timeline the actions act on.
ActionBuilder& traceTarget(ActionBuilder& a) { return a.push({S(""), I(11)}).action(kGetProperty).action(kTrace); }

ActionBuilder& traceVar(ActionBuilder& a, const std::string& path) {
  return a.push(S(path)).action(kGetVariable).action(kTrace);
}

// object.method(args...), result dropped.
ActionBuilder& callMethod(ActionBuilder& a, const std::string& object, const std::string& method,
                          std::vector<PushValue> args) {
  for (auto it = args.rbegin(); it != args.rend(); ++it) a.push(*it);
  a.push(I(int32_t(args.size()))).push(S(object)).action(kGetVariable);
  return a.push(S(method)).action(kCallMethod).action(kPop);
}

ActionBuilder& call(ActionBuilder& a, const std::string& name, std::vector<PushValue> args) {
  for (auto it = args.rbegin(); it != args.rend(); ++it) a.push(*it);
  return a.push({I(int32_t(args.size())), S(name)}).action(kCallFunction).action(kPop);
}

// object.member = value of variable `variable`.
ActionBuilder& setMemberFrom(ActionBuilder& a, const std::string& object, const std::string& member,
                             const std::string& variable) {
  a.push(S(object)).action(kGetVariable).push(S(member));
  return a.push(S(variable)).action(kGetVariable).action(kSetMember);
}

Bytes exportBody(uint16_t id, const std::string& name) {
  Bytes b{1, 0, uint8_t(id), uint8_t(id >> 8)};
  b.insert(b.end(), name.begin(), name.end());
  b.push_back(0);
  return b;
}

// Plays a built movie for some ticks and collects its trace lines.
class ScriptedMovie {
 public:
  explicit ScriptedMovie(SwfBuilder& b, int ticks = 0) {
    EXPECT_TRUE(movie_.parse(b.finish()));
    stage_ =
        std::make_unique<swf::Stage>(movie_, nullptr, nullptr, [this](const std::string& l) { lines.push_back(l); });
    for (int i = 0; i < ticks; ++i) stage_->tick(true);
  }
  swf::MovieClip& root() { return stage_->root(); }
  Lines lines;

 private:
  swf::Movie movie_;
  std::unique_ptr<swf::Stage> stage_;
};

// A function the root defines, called from a child's second frame as _root.f().
Lines baseOfRootFunctionCalledFromChild(int version) {
  SwfBuilder b;
  b.version(uint8_t(version));
  ActionBuilder childFrame2, body, define;
  callMethod(childFrame2, "_root", "f", {}).stop();
  TagStream child;
  child.showFrame().doAction(childFrame2).showFrame();
  b.defineSprite(1, child);
  traceTarget(body);
  define.push(S("f"));
  function(define, body).action(kSetVariable);
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
  define.push(S("_root")).action(kGetVariable).push(S("g"));
  function(define, body).action(kSetMember);
  TagStream definer;
  definer.doAction(define).showFrame();
  b.defineSprite(1, definer);
  b.tag(uint16_t(swf::TagCode::ExportAssets), exportBody(1, "Definer"));
  ActionBuilder make, later;
  call(make, "attachMovie", {S("Definer"), S("d"), I(5)});
  call(later, "createEmptyMovieClip", {S("holder"), I(6)});
  later.push(S("o")).push(I(0)).action(kInitObject).action(kSetVariable);
  setMemberFrom(later, "holder", "g", "g");
  setMemberFrom(later, "o", "g", "g");
  callMethod(later, "holder", "g", {});
  callMethod(later, "d", "removeMovieClip", {});
  callMethod(later, "holder", "g", {});
  callMethod(later, "o", "g", {});
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
  callMethod(swap, "a", "swapDepths", {I(-100)});
  callMethod(swap, "c", "swapDepths", {I(1 - 16384)});
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
  a.push(S("old")).push(S("kid")).action(kGetVariable).action(kSetVariable);
  callMethod(a, "kid", "swapDepths", {I(10)});
  a.gotoFrame(0);
  // old === getInstanceAtDepth(-16383), then both depths.
  a.push(S("old")).action(kGetVariable);
  a.push({I(-16383), I(1), S("this")}).action(kGetVariable).push(S("getInstanceAtDepth")).action(kCallMethod);
  a.action(kStrictEquals).action(kTrace);
  a.push({I(0), S("old")}).action(kGetVariable).push(S("getDepth")).action(kCallMethod).action(kTrace);
  a.push({I(0), S("kid")}).action(kGetVariable).push(S("getDepth")).action(kCallMethod).action(kTrace);
  // A clip at another path stays unequal.
  a.push(S("old")).action(kGetVariable).push(S("_root")).action(kGetVariable).action(kStrictEquals).action(kTrace);
  a.stop();
  b.placeObject2(kid).showFrame().doAction(a).showFrame();
  ScriptedMovie run(b, 1);
  EXPECT_EQ(run.lines, (Lines{"true", "10", "-16383", "false"}));
}

ActionBuilder& setTarget(ActionBuilder& a, const std::string& path) {
  Bytes p(path.begin(), path.end());
  p.push_back(0);
  return a.action(kSetTarget, p);
}

TEST(TellTarget, APathNamingNoClipActsOnTheRoot) {
  SwfBuilder b;
  b.version(7);
  ActionBuilder kidFrame, rootFrame1, rootFrame3;
  setTarget(kidFrame, "nowhere").push({S("v"), I(7)}).action(kSetVariable).gotoFrame(2);
  setTarget(kidFrame, "");
  TagStream kid;
  kid.doAction(kidFrame).showFrame();
  b.defineSprite(1, kid);
  PlaceObject2 p;
  p.depth = 1, p.character = 1, p.name = "kid";
  rootFrame1.stop();
  rootFrame3.push(S("root frame 3")).action(kTrace);
  traceVar(rootFrame3, "v");
  traceVar(rootFrame3, "kid.v");
  b.placeObject2(p).doAction(rootFrame1).showFrame().showFrame().doAction(rootFrame3).showFrame();
  ScriptedMovie run(b, 1);
  EXPECT_EQ(run.lines, (Lines{"root frame 3", "7", "undefined"}));
}

// Sprite id of three frames tracing line on each, stopping on the last.
void defineTracingSprite(SwfBuilder& b, uint16_t id, const std::string& line) {
  ActionBuilder each, last;
  each.push(S(line)).action(kTrace);
  last.push(S(line)).action(kTrace).stop();
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
  root3.push(S("root 3")).action(kTrace).stop();
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
  a.push({S("v"), I(1)}).action(kSetVariable);
  // for (k in this) trace(k);
  a.push(S("this")).action(kGetVariable).action(kEnumerate2);
  a.action(kStoreRegister, {0}).action(kPop).push(PushValue::registerNumber(0)).push(PushValue::null());
  a.action(kEquals2).ifTrue(11).push(PushValue::registerNumber(0)).action(kTrace).jump(-31);
  b.placeObject2(low).placeObject2(high).doAction(a).showFrame();
  ScriptedMovie run(b);
  EXPECT_EQ(run.lines, (Lines{"v", "high", "low"}));
}

}  // namespace
