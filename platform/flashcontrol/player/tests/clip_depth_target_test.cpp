// Depth methods and target paths as scripts use them: swapDepths with
// numbers, sibling paths and clips of other parents; getInstanceAtDepth;
// getSWFVersion; SetTarget relative to the actions' own timeline, colon
// steps in target paths, a SetTarget clip that leaves the stage, and the
// actions of a clip a tellTarget removed.
#include <gtest/gtest.h>

#include <memory>
#include <string>
#include <vector>

#include "swf_builder.h"
#include "timeline/stage.h"

namespace {

using mvqtest::ActionBuilder;
using mvqtest::Bytes;
using mvqtest::PushValue;
using mvqtest::SwfBuilder;
using Lines = std::vector<std::string>;

enum : uint8_t {
  kCallFunction = 0x3D,
  kCallMethod = 0x52,
  kGetVariable = 0x1C,
  kPop = 0x17,
  kTrace = 0x26,
  kSetTarget = 0x8B,
  kGetProperty = 0x22,
  kSetVariable = 0x1D,
  kRemoveSprite = 0x25,
  kGetMember = 0x4E,
};

PushValue S(const std::string& s) { return PushValue::string(s); }
PushValue I(int32_t n) { return PushValue::integer(n); }

ActionBuilder& call(ActionBuilder& a, const std::string& name, std::vector<PushValue> args) {
  for (auto it = args.rbegin(); it != args.rend(); ++it) a.push(*it);
  return a.push({I(int32_t(args.size())), S(name)}).action(kCallFunction).action(kPop);
}

// path.method(args...), result left on the stack.
ActionBuilder& callMethod(ActionBuilder& a, const std::string& path, const std::string& method,
                          std::vector<PushValue> args) {
  for (auto it = args.rbegin(); it != args.rend(); ++it) a.push(*it);
  a.push(I(int32_t(args.size()))).push(S(path)).action(kGetVariable);
  return a.push(S(method)).action(kCallMethod);
}

ActionBuilder& traceDepth(ActionBuilder& a, const std::string& path) {
  return callMethod(a, path, "getDepth", {}).action(kTrace);
}

ActionBuilder& setTarget(ActionBuilder& a, const std::string& path) {
  Bytes p(path.begin(), path.end());
  p.push_back(0);
  return a.action(kSetTarget, p);
}

Lines run(int version, const ActionBuilder& a) {
  SwfBuilder b;
  b.version(uint8_t(version)).doAction(a).showFrame();
  swf::Movie movie;
  EXPECT_TRUE(movie.parse(b.finish()));
  Lines lines;
  swf::Stage stage(movie, nullptr, nullptr, [&lines](const std::string& l) { lines.push_back(l); });
  return lines;
}

TEST(SwapDepths, NumbersWrapToThirtyTwoBitsAndWhatIsNoNumberIsZero) {
  ActionBuilder a;
  call(a, "createEmptyMovieClip", {S("c"), I(5)});
  callMethod(a, "c", "swapDepths", {PushValue::number(4294967297.1)}).action(kPop);
  traceDepth(a, "c");
  callMethod(a, "c", "swapDepths", {S("no number")}).action(kPop);
  traceDepth(a, "c");
  callMethod(a, "c", "swapDepths", {PushValue::undefined()}).action(kPop);
  traceDepth(a, "c");
  callMethod(a, "c", "swapDepths", {I(-16385)}).action(kPop);  // below every depth
  traceDepth(a, "c");
  EXPECT_EQ(run(7, a), (Lines{"1", "0", "0", "0"}));
}

TEST(SwapDepths, SiblingsByPathSwapAndClipsOfOtherParentsDoNot) {
  ActionBuilder a;
  call(a, "createEmptyMovieClip", {S("a"), I(1)});
  call(a, "createEmptyMovieClip", {S("b"), I(2)});
  callMethod(a, "a", "createEmptyMovieClip", {S("inner"), I(7)}).action(kPop);
  callMethod(a, "b", "swapDepths", {S("../a")}).action(kPop);
  traceDepth(a, "a");
  traceDepth(a, "b");
  a.push(I(0)).push(S("a")).action(kGetVariable).push(S("inner")).action(kGetMember);
  a.push(I(1)).push(S("b")).action(kGetVariable).push(S("swapDepths")).action(kCallMethod).action(kPop);
  traceDepth(a, "b");
  traceDepth(a, "a.inner");
  EXPECT_EQ(run(7, a), (Lines{"2", "1", "1", "7"}));
}

TEST(InstanceAtDepth, FindsChildrenFromVersionSevenOn) {
  ActionBuilder a;
  call(a, "createEmptyMovieClip", {S("low"), I(-3)});
  for (PushValue depth : {I(-3), I(4), PushValue::number(-3.7), PushValue::undefined()}) {
    a.push(depth).push(I(1)).push(S("_root")).action(kGetVariable);
    a.push(S("getInstanceAtDepth")).action(kCallMethod).action(kTrace);
  }
  EXPECT_EQ(run(7, a), (Lines{"_level0.low", "undefined", "_level0.low", "undefined"}));
  EXPECT_EQ(run(6, a), (Lines{"undefined", "undefined", "undefined", "undefined"}));
}

TEST(SwfVersion, ClipsGiveTheirMoviesVersionOtherObjectsMinusOne) {
  ActionBuilder a;
  callMethod(a, "_root", "getSWFVersion", {}).action(kTrace);
  // MovieClip.prototype.getSWFVersion.call(Math)
  a.push(S("Math")).action(kGetVariable).push(I(1));
  a.push(S("MovieClip")).action(kGetVariable).push(S("prototype")).action(kGetMember);
  a.push(S("getSWFVersion")).action(kGetMember).push(S("call")).action(kCallMethod).action(kTrace);
  EXPECT_EQ(run(6, a), (Lines{"6", "-1"}));
}

TEST(SetTarget, PathsStartFromTheActionsOwnTimelineWithColonSteps) {
  ActionBuilder a;
  call(a, "createEmptyMovieClip", {S("a"), I(1)});
  callMethod(a, "a", "createEmptyMovieClip", {S("a"), I(1)}).action(kPop);
  setTarget(a, "a");
  setTarget(a, "a");
  a.push(S("_target")).action(kGetVariable).action(kTrace);
  setTarget(a, "");
  a.push({S("a/..:a::a"), I(11)}).action(kGetProperty).action(kTrace);
  a.push({S("a/..:b"), I(11)}).action(kGetProperty).action(kTrace);
  EXPECT_EQ(run(7, a), (Lines{"/a", "/a/a", "undefined"}));
}

TEST(SetTarget, ARemovedTargetLeadsBackToTheOwnTimeline) {
  ActionBuilder a;
  a.push({S("where"), S("root")}).action(kSetVariable);
  call(a, "createEmptyMovieClip", {S("a"), I(1)});
  a.push(S("a")).action(kGetVariable).push({S("where"), S("clip")}).action(0x4F);  // a.where = "clip"
  setTarget(a, "a");
  a.push(S("where")).action(kGetVariable).action(kTrace);
  a.push(S("/a")).action(kRemoveSprite);
  a.push(S("where")).action(kGetVariable).action(kTrace);
  EXPECT_EQ(run(7, a), (Lines{"clip", "root"}));
}

TEST(SetTarget, ActionsOfAClipTheirTellTargetRemovedReadTheFirstLevel) {
  mvqtest::TagStream sprite;
  ActionBuilder child;
  setTarget(child, "_root");
  child.action(0x81, Bytes{1, 0});  // the root's second frame, without this clip
  setTarget(child, "");
  child.push(S("foo")).action(kGetVariable).action(kTrace);
  sprite.doAction(child).showFrame();
  ActionBuilder root;
  root.push({S("foo"), S("root value")}).action(kSetVariable).action(0x07);
  SwfBuilder b;
  b.version(7).defineSprite(4, sprite).doAction(root).placeObject2(4, 1).showFrame();
  b.removeObject2(1).showFrame();
  swf::Movie movie;
  ASSERT_TRUE(movie.parse(b.finish()));
  Lines lines;
  swf::Stage stage(movie, nullptr, nullptr, [&lines](const std::string& l) { lines.push_back(l); });
  EXPECT_EQ(lines, (Lines{"root value"}));
  EXPECT_EQ(stage.root().currentFrame(), 1);
}

}  // namespace
