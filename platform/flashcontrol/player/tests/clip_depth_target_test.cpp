// Depth methods and target paths as scripts use them: swapDepths with
// numbers, sibling paths and clips of other parents; getInstanceAtDepth;
// getSWFVersion; SetTarget relative to the actions' own timeline, colon
// steps in target paths, a SetTarget clip that leaves the stage, and the
// actions of a clip a tellTarget removed.
#include <gtest/gtest.h>

#include <memory>
#include <string>
#include <vector>

#include "action_steps.h"
#include "swf_builder.h"
#include "timeline/stage.h"

namespace {

using namespace playertest;

ActionBuilder& traceDepth(ActionBuilder& a, const std::string& path) {
  return callMethod(a, path, "getDepth", {}).action(Code::Trace);
}

ActionBuilder& setTarget(ActionBuilder& a, const std::string& path) {
  Bytes p(path.begin(), path.end());
  p.push_back(0);
  return a.action(Code::SetTarget, p);
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
  call(a, "createEmptyMovieClip", {str("c"), i32(5)}).action(Code::Pop);
  callMethod(a, "c", "swapDepths", {PushValue::number(4294967297.1)}).action(Code::Pop);
  traceDepth(a, "c");
  callMethod(a, "c", "swapDepths", {str("no number")}).action(Code::Pop);
  traceDepth(a, "c");
  callMethod(a, "c", "swapDepths", {PushValue::undefined()}).action(Code::Pop);
  traceDepth(a, "c");
  callMethod(a, "c", "swapDepths", {i32(-16385)}).action(Code::Pop);  // below every depth
  traceDepth(a, "c");
  EXPECT_EQ(run(7, a), (Lines{"1", "0", "0", "0"}));
}

TEST(SwapDepths, SiblingsByPathSwapAndClipsOfOtherParentsDoNot) {
  ActionBuilder a;
  call(a, "createEmptyMovieClip", {str("a"), i32(1)}).action(Code::Pop);
  call(a, "createEmptyMovieClip", {str("b"), i32(2)}).action(Code::Pop);
  callMethod(a, "a", "createEmptyMovieClip", {str("inner"), i32(7)}).action(Code::Pop);
  callMethod(a, "b", "swapDepths", {str("../a")}).action(Code::Pop);
  traceDepth(a, "a");
  traceDepth(a, "b");
  a.push(i32(0)).push(str("a")).action(Code::GetVariable).push(str("inner")).action(Code::GetMember);
  a.push(i32(1))
      .push(str("b"))
      .action(Code::GetVariable)
      .push(str("swapDepths"))
      .action(Code::CallMethod)
      .action(Code::Pop);
  traceDepth(a, "b");
  traceDepth(a, "a.inner");
  EXPECT_EQ(run(7, a), (Lines{"2", "1", "1", "7"}));
}

TEST(InstanceAtDepth, FindsChildrenFromVersionSevenOn) {
  ActionBuilder a;
  call(a, "createEmptyMovieClip", {str("low"), i32(-3)}).action(Code::Pop);
  for (PushValue depth : {i32(-3), i32(4), PushValue::number(-3.7), PushValue::undefined()}) {
    a.push(depth).push(i32(1)).push(str("_root")).action(Code::GetVariable);
    a.push(str("getInstanceAtDepth")).action(Code::CallMethod).action(Code::Trace);
  }
  EXPECT_EQ(run(7, a), (Lines{"_level0.low", "undefined", "_level0.low", "undefined"}));
  EXPECT_EQ(run(6, a), (Lines{"undefined", "undefined", "undefined", "undefined"}));
}

TEST(SwfVersion, ClipsGiveTheirMoviesVersionOtherObjectsMinusOne) {
  ActionBuilder a;
  callMethod(a, "_root", "getSWFVersion", {}).action(Code::Trace);
  // MovieClip.prototype.getSWFVersion.call(Math)
  a.push(str("Math")).action(Code::GetVariable).push(i32(1));
  a.push(str("MovieClip")).action(Code::GetVariable).push(str("prototype")).action(Code::GetMember);
  a.push(str("getSWFVersion")).action(Code::GetMember).push(str("call")).action(Code::CallMethod).action(Code::Trace);
  EXPECT_EQ(run(6, a), (Lines{"6", "-1"}));
}

TEST(SetTarget, PathsStartFromTheActionsOwnTimelineWithColonSteps) {
  ActionBuilder a;
  call(a, "createEmptyMovieClip", {str("a"), i32(1)}).action(Code::Pop);
  callMethod(a, "a", "createEmptyMovieClip", {str("a"), i32(1)}).action(Code::Pop);
  setTarget(a, "a");
  setTarget(a, "a");
  a.push(str("_target")).action(Code::GetVariable).action(Code::Trace);
  setTarget(a, "");
  a.push({str("a/..:a::a"), i32(11)}).action(Code::GetProperty).action(Code::Trace);
  a.push({str("a/..:b"), i32(11)}).action(Code::GetProperty).action(Code::Trace);
  EXPECT_EQ(run(7, a), (Lines{"/a", "/a/a", "undefined"}));
}

TEST(SetTarget, ARemovedTargetLeadsBackToTheOwnTimeline) {
  ActionBuilder a;
  a.push({str("where"), str("root")}).action(Code::SetVariable);
  call(a, "createEmptyMovieClip", {str("a"), i32(1)}).action(Code::Pop);
  a.push(str("a")).action(Code::GetVariable).push({str("where"), str("clip")}).action(0x4F);  // a.where = "clip"
  setTarget(a, "a");
  a.push(str("where")).action(Code::GetVariable).action(Code::Trace);
  a.push(str("/a")).action(Code::RemoveSprite);
  a.push(str("where")).action(Code::GetVariable).action(Code::Trace);
  EXPECT_EQ(run(7, a), (Lines{"clip", "root"}));
}

TEST(SetTarget, ActionsOfAClipTheirTellTargetRemovedReadTheFirstLevel) {
  mvqtest::TagStream sprite;
  ActionBuilder child;
  setTarget(child, "_root");
  child.action(0x81, Bytes{1, 0});  // the root's second frame, without this clip
  setTarget(child, "");
  child.push(str("foo")).action(Code::GetVariable).action(Code::Trace);
  sprite.doAction(child).showFrame();
  ActionBuilder root;
  root.push({str("foo"), str("root value")}).action(Code::SetVariable).action(0x07);
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
