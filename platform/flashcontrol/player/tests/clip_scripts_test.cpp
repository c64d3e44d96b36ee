// Clips as scripts make, find and lose them: script depths beyond the
// timeline's, removal and rewinds, exported sprites (attachMovie, init
// actions, registered classes) and what removed clips still answer.
#include <gtest/gtest.h>

#include <memory>
#include <string>
#include <vector>

#include "action_steps.h"
#include "scripted_movie.h"
#include "swf_builder.h"
#include "tags/export_assets.h"
#include "tags/tag_codes.h"
#include "timeline/stage.h"

namespace {

using namespace playertest;

// Exports: (id, name) pairs.
Bytes exportBody(const std::vector<std::pair<uint16_t, std::string>>& names) {
  Bytes b{uint8_t(names.size()), 0};
  for (const auto& n : names) {
    b.push_back(uint8_t(n.first));
    b.push_back(uint8_t(n.first >> 8));
    mvqtest::putString(b, n.second);
  }
  return b;
}

Bytes initActionBody(uint16_t sprite, const ActionBuilder& actions) {
  Bytes b{uint8_t(sprite), uint8_t(sprite >> 8)};
  b.insert(b.end(), actions.bytes().begin(), actions.bytes().end());
  b.push_back(0);
  return b;
}

// A movie with an empty one-frame sprite 1 exported as "Thing".
SwfBuilder withExportedSprite(int version) {
  SwfBuilder b;
  b.version(uint8_t(version));
  TagStream empty;
  empty.showFrame();
  b.defineSprite(1, empty);
  b.tag(uint16_t(swf::TagCode::ExportAssets), exportBody({{1, "Thing"}}));
  return b;
}

TEST(ClipDepths, ScriptsPlaceClipsFarAboveAndBelowTheTimelineDepths) {
  ActionBuilder a;
  for (int32_t depth : {2000000, -2000000, 2130690045}) {
    std::string name = "c" + std::to_string(depth < 0 ? 0 : depth);
    call(a, "createEmptyMovieClip", {str(name), i32(depth)}).action(Code::Pop);
    callMethod(a, name, "getDepth", {}).action(Code::Trace);
  }
  SwfBuilder b;
  b.version(7).doAction(a).showFrame();
  ScriptedMovie run(b);
  EXPECT_EQ(run.lines, (Lines{"2000000", "-2000000", "2130690045"}));
}

TEST(ClipDepths, RemoveMovieClipWorksOnlyFromZeroTo1048575) {
  ActionBuilder a;
  const std::vector<std::pair<std::string, int32_t>> clips = {
      {"zero", 0}, {"top", 1048575}, {"above", 1048576}, {"below", -1}};
  for (const auto& c : clips) call(a, "createEmptyMovieClip", {str(c.first), i32(c.second)}).action(Code::Pop);
  for (const auto& c : clips) callMethod(a, c.first, "removeMovieClip", {}).action(Code::Pop);
  for (const auto& c : clips) traceVar(a, c.first);
  SwfBuilder b;
  b.version(7).doAction(a).showFrame();
  ScriptedMovie run(b);
  EXPECT_EQ(run.lines, (Lines{"undefined", "undefined", "_level0.above", "_level0.below"}));
}

TEST(ClipDepths, GoingBackDropsScriptClipsAmongTheTimelineDepthsOnly) {
  ActionBuilder make, back;
  const std::vector<std::pair<std::string, int32_t>> clips = {
      {"lowest", -16384}, {"highest", -1}, {"under", -16385}, {"script", 0}};
  for (const auto& c : clips) call(make, "createEmptyMovieClip", {str(c.first), i32(c.second)}).action(Code::Pop);
  back.gotoFrame(0);
  for (const auto& c : clips) traceVar(back, c.first);
  SwfBuilder b;
  b.version(7).showFrame().doAction(make).showFrame().doAction(back).showFrame();
  ScriptedMovie run(b, 2);
  EXPECT_EQ(run.lines, (Lines{"undefined", "undefined", "_level0.under", "_level0.script"}));
}

TEST(ClipMethods, ClipMethodsCalledByNameActOnTheClipInScopeFromVersionSix) {
  for (int version : {5, 6}) {
    ActionBuilder a;
    call(a, "createEmptyMovieClip", {str("made"), i32(3)}).action(Code::Pop);
    traceVar(a, "made");
    SwfBuilder b;
    b.version(uint8_t(version)).doAction(a).showFrame();
    ScriptedMovie run(b);
    // Version 5 players had no createEmptyMovieClip.
    EXPECT_EQ(run.lines, (Lines{version == 5 ? "undefined" : "_level0.made"})) << version;
  }
}

TEST(ClipMethods, AScriptFunctionCalledByNameRunsOnTheClipThatHeldIt) {
  ActionBuilder body, a;
  traceVar(body, "this");
  a.push(str("show"));
  defineFunction(a, "", {}, body).action(Code::SetVariable);
  call(a, "show", {}).action(Code::Pop);
  SwfBuilder b;
  b.version(6).doAction(a).showFrame();
  ScriptedMovie run(b);
  EXPECT_EQ(run.lines, (Lines{"_level0"}));
}

TEST(ClipDepths, SwapsReachFromTheLowestTimelineDepthTo2130690044) {
  ActionBuilder a;
  call(a, "createEmptyMovieClip", {str("m"), i32(1)}).action(Code::Pop);
  for (int32_t depth : {-16385, -16384, 2130690045, 2130690044}) {
    callMethod(a, "m", "swapDepths", {i32(depth)}).action(Code::Pop);
    callMethod(a, "m", "getDepth", {}).action(Code::Trace);
  }
  SwfBuilder b;
  b.version(7).doAction(a).showFrame();
  ScriptedMovie run(b);
  EXPECT_EQ(run.lines, (Lines{"1", "-16384", "-16384", "2130690044"}));
}

TEST(ClipTimeline, AMoveOntoAnEmptyDepthPlacesNothingEvenWithACharacter) {
  SwfBuilder b = withExportedSprite(6);
  PlaceObject2 p;
  p.depth = 4, p.character = 1, p.move = true;
  b.placeObject2(p).showFrame();
  ScriptedMovie run(b);
  EXPECT_TRUE(run.root().children().empty());
}

TEST(ClipTimeline, ARemovedClipKeepsItsNameForItsUnloadHandler) {
  SwfBuilder b = withExportedSprite(6);
  b.placeObject2(1, 2);
  ActionBuilder unload, a;
  traceVar(unload, "this");
  a.push(str("instance1")).action(Code::GetVariable).push(str("onUnload"));
  defineFunction(a, "", {}, unload).action(Code::SetMember);
  b.doAction(a).showFrame().removeObject2(2).showFrame();
  ScriptedMovie run(b, 1);
  EXPECT_EQ(run.lines, (Lines{"_level0.instance1"}));
}

TEST(ClipExports, AttachMovieFindsExportsIgnoringAsciiCaseOnly) {
  SwfBuilder b = withExportedSprite(7);
  b.tag(uint16_t(swf::TagCode::ExportAssets), exportBody({{1, "\xC3\x9C"}}));  // "Ü"
  ActionBuilder a;
  const std::vector<std::string> names = {"tHING", "\xC3\x9C", "\xC3\xBC", "missing"};
  for (size_t i = 0; i < names.size(); ++i) {
    std::string instance = "x" + std::to_string(i);
    call(a, "attachMovie", {str(names[i]), str(instance), i32(int32_t(i))}).action(Code::Pop);
    traceVar(a, instance);
  }
  b.doAction(a).showFrame();
  ScriptedMovie run(b);
  EXPECT_EQ(run.lines, (Lines{"_level0.x0", "_level0.x1", "undefined", "undefined"}));
}

TEST(ClipExports, TheInitObjectIsCopiedHiddenPropertiesIncludedBeforeTheClassConstructorRuns) {
  SwfBuilder b = withExportedSprite(6);
  ActionBuilder ctor, a;
  traceVar(ctor, "this.hidden");
  a.push(str("Made"));
  defineFunction(a, "", {}, ctor).action(Code::SetVariable);
  // Object.registerClass("Thing", Made)
  a.push(str("Made")).action(Code::GetVariable).push({str("Thing"), i32(2), str("Object")}).action(Code::GetVariable);
  a.push(str("registerClass")).action(Code::CallMethod).action(Code::Pop);
  // o = {hidden: 5}; ASSetPropFlags(o, "hidden", 1 | 0x1000)
  a.push(str("o")).push({str("hidden"), i32(5), i32(1)}).action(Code::InitObject).action(Code::SetVariable);
  a.push({i32(0x1001), str("hidden")}).push(str("o")).action(Code::GetVariable);
  a.push({i32(3), str("ASSetPropFlags")}).action(Code::CallFunction).action(Code::Pop);
  a.push(str("o")).action(Code::GetVariable).push({i32(1), str("x"), str("Thing"), i32(4), str("attachMovie")});
  a.action(Code::CallFunction).action(Code::Pop);
  b.doAction(a).showFrame();
  ScriptedMovie run(b);
  EXPECT_EQ(run.lines, (Lines{"5"}));
}

TEST(ClipExports, VersionFiveMoviesHaveNoRegisterClass) {
  SwfBuilder b = withExportedSprite(5);
  ActionBuilder a;
  a.push(str("Object"))
      .action(Code::GetVariable)
      .push(str("registerClass"))
      .action(Code::GetMember)
      .action(Code::Trace);
  b.doAction(a).showFrame();
  ScriptedMovie run(b);
  EXPECT_EQ(run.lines, (Lines{"undefined"}));
}

TEST(ClipInitActions, RunOnceOnTheRootBeforeItsFrameActions) {
  SwfBuilder b = withExportedSprite(6);
  ActionBuilder init, frame;
  traceVar(init, "this");
  frame.push(str("frame")).action(Code::Trace);
  b.doAction(frame);
  b.tag(uint16_t(swf::TagCode::DoInitAction), initActionBody(1, init));
  b.showFrame().showFrame();
  ScriptedMovie run(b, 2);  // frame 1, frame 2, frame 1 again
  EXPECT_EQ(run.lines, (Lines{"_level0", "frame", "frame"}));
}

// path.onUnload = function() { trace(this); trace(this.getDepth()); }
ActionBuilder& tracingUnload(ActionBuilder& a, const std::string& path) {
  ActionBuilder body;
  traceVar(body, "this");
  callMethod(body, "this", "getDepth", {}).action(Code::Trace);
  a.push(str(path)).action(Code::GetVariable).push(str("onUnload"));
  return defineFunction(a, "", {}, body).action(Code::SetMember);
}

SwfBuilder twoFrames(const ActionBuilder& first, const ActionBuilder& second) {
  SwfBuilder b;
  b.version(7).doAction(first).showFrame().doAction(second).showFrame();
  return b;
}

TEST(ClipUnload, AClipWithAHandlerWaitsBelowEveryDepthUntilItsUnloadRan) {
  ActionBuilder a, next;
  call(a, "createEmptyMovieClip", {str("a"), i32(2)}).action(Code::Pop);
  tracingUnload(a, "a");
  callMethod(a, "a", "removeMovieClip", {}).action(Code::Pop);
  callMethod(a, "a", "getDepth", {}).action(Code::Trace);
  traceVar(next, "a");
  SwfBuilder b = twoFrames(a, next);
  ScriptedMovie run(b, 1);
  EXPECT_EQ(run.lines, (Lines{"-32771", "_level0.a", "-32771", "undefined"}));
}

TEST(ClipUnload, ChildrenUnloadFirstAndNothingUnderAWaitingClipCanBeRemoved) {
  ActionBuilder a;
  call(a, "createEmptyMovieClip", {str("a"), i32(0)}).action(Code::Pop);
  a.push({i32(5), str("kid"), i32(2), str("a")})
      .action(Code::GetVariable)
      .push(str("createEmptyMovieClip"))
      .action(Code::CallMethod);
  a.action(Code::Pop);
  a.push({i32(6), str("plain"), i32(2), str("a")})
      .action(Code::GetVariable)
      .push(str("createEmptyMovieClip"))
      .action(Code::CallMethod);
  a.action(Code::Pop);
  tracingUnload(a, "a");
  tracingUnload(a, "a.kid");
  callMethod(a, "a", "removeMovieClip", {}).action(Code::Pop);
  callMethod(a, "a.plain", "removeMovieClip", {}).action(Code::Pop);
  traceVar(a, "a.plain");
  SwfBuilder b = twoFrames(a, ActionBuilder());
  ScriptedMovie run(b);
  EXPECT_EQ(run.lines, (Lines{"_level0.a.plain", "_level0.a.kid", "5", "_level0.a", "-32769"}));
}

TEST(ClipUnload, WithoutAHandlerTheClipGoesAtOnceAndReferencesReachNothing) {
  ActionBuilder a;
  a.push(str("held"))
      .push({i32(3), str("b"), i32(2), str("createEmptyMovieClip")})
      .action(Code::CallFunction)
      .action(Code::SetVariable);
  callMethod(a, "b", "removeMovieClip", {}).action(Code::Pop);
  callMethod(a, "held", "getDepth", {}).action(Code::Trace);
  traceVar(a, "b");
  SwfBuilder b = twoFrames(a, ActionBuilder());
  ScriptedMovie run(b);
  EXPECT_EQ(run.lines, (Lines{"undefined", "undefined"}));
}

TEST(ExportAssetsReader, KeepsThePairsBeforeADamagedOne) {
  Bytes body = exportBody({{3, "a"}, {7, "b"}});
  swf::ExportList out;
  EXPECT_TRUE(swf::readExportAssets(body.data(), body.size(), out));
  EXPECT_EQ(out, (swf::ExportList{{3, "a"}, {7, "b"}}));
  out.clear();
  EXPECT_FALSE(swf::readExportAssets(body.data(), 6, out));  // the second id cut short
  EXPECT_EQ(out, (swf::ExportList{{3, "a"}}));
  out.clear();
  EXPECT_FALSE(swf::readExportAssets(body.data(), 1, out));
  EXPECT_TRUE(out.empty());
}

TEST(ClipProperties, UndefinedNullAndNaNLeaveDisplayPropertiesAsTheyWere) {
  for (int version : {6, 7}) {
    ActionBuilder a;
    call(a, "createEmptyMovieClip", {str("c"), i32(1)}).action(Code::Pop);
    a.push(str("c")).action(Code::GetVariable).push({str("_x"), i32(100)}).action(Code::SetMember);
    for (PushValue bad : {str("NaN"), PushValue::undefined(), PushValue::null()}) {
      a.push(str("c")).action(Code::GetVariable).push(str("_x")).push(bad).action(Code::SetMember);
      a.push(str("c")).action(Code::GetVariable).push(str("_x")).action(Code::GetMember).action(Code::Trace);
    }
    SwfBuilder b;
    b.version(uint8_t(version)).doAction(a).showFrame();
    ScriptedMovie run(b);
    EXPECT_EQ(run.lines, (Lines{"100", "100", "100"})) << version;
  }
}

}  // namespace
