// Clips as scripts make, find and lose them: script depths beyond the
// timeline's, removal and rewinds, exported sprites (attachMovie, init
// actions, registered classes) and what removed clips still answer.
#include <gtest/gtest.h>

#include <memory>
#include <string>
#include <vector>

#include "swf_builder.h"
#include "tags/export_assets.h"
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
  kGetVariable = 0x1C,
  kInitObject = 0x43,
  kPop = 0x17,
  kSetMember = 0x4F,
  kSetVariable = 0x1D,
  kTrace = 0x26,
  kDefineFunction = 0x9B,
  kGoto = 0x81,
};

PushValue S(const std::string& s) { return PushValue::string(s); }
PushValue I(int32_t n) { return PushValue::integer(n); }

void appendString(Bytes& b, const std::string& s) {
  b.insert(b.end(), s.begin(), s.end());
  b.push_back(0);
}

// An anonymous function without parameters.
ActionBuilder& function(ActionBuilder& a, const ActionBuilder& body) {
  Bytes p{0, 0, 0, uint8_t(body.size() & 0xFF), uint8_t(body.size() >> 8)};
  return a.action(kDefineFunction, p).raw(body.bytes());
}

ActionBuilder& traceVar(ActionBuilder& a, const std::string& path) {
  return a.push(S(path)).action(kGetVariable).action(kTrace);
}

// name(args...) as a plain call, result dropped.
ActionBuilder& call(ActionBuilder& a, const std::string& name, std::vector<PushValue> args) {
  for (auto it = args.rbegin(); it != args.rend(); ++it) a.push(*it);
  return a.push({I(int32_t(args.size())), S(name)}).action(kCallFunction).action(kPop);
}

// object.method(args...), result left on the stack.
ActionBuilder& callMethod(ActionBuilder& a, const std::string& object, const std::string& method,
                          std::vector<PushValue> args) {
  for (auto it = args.rbegin(); it != args.rend(); ++it) a.push(*it);
  a.push(I(int32_t(args.size()))).push(S(object)).action(kGetVariable);
  return a.push(S(method)).action(kCallMethod);
}

// Exports: (id, name) pairs.
Bytes exportBody(const std::vector<std::pair<uint16_t, std::string>>& names) {
  Bytes b{uint8_t(names.size()), 0};
  for (const auto& n : names) {
    b.push_back(uint8_t(n.first));
    b.push_back(uint8_t(n.first >> 8));
    appendString(b, n.second);
  }
  return b;
}

Bytes initActionBody(uint16_t sprite, const ActionBuilder& actions) {
  Bytes b{uint8_t(sprite), uint8_t(sprite >> 8)};
  b.insert(b.end(), actions.bytes().begin(), actions.bytes().end());
  b.push_back(0);
  return b;
}

// A movie with an empty one-frame sprite 1 exported as "Thing"; collects trace().
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
    call(a, "createEmptyMovieClip", {S(name), I(depth)});
    callMethod(a, name, "getDepth", {}).action(kTrace);
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
  for (const auto& c : clips) call(a, "createEmptyMovieClip", {S(c.first), I(c.second)});
  for (const auto& c : clips) callMethod(a, c.first, "removeMovieClip", {}).action(kPop);
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
  for (const auto& c : clips) call(make, "createEmptyMovieClip", {S(c.first), I(c.second)});
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
    call(a, "createEmptyMovieClip", {S("made"), I(3)});
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
  a.push(S("show"));
  function(a, body).action(kSetVariable);
  call(a, "show", {});
  SwfBuilder b;
  b.version(6).doAction(a).showFrame();
  ScriptedMovie run(b);
  EXPECT_EQ(run.lines, (Lines{"_level0"}));
}

TEST(ClipDepths, SwapsReachFromTheLowestTimelineDepthTo2130690044) {
  ActionBuilder a;
  call(a, "createEmptyMovieClip", {S("m"), I(1)});
  for (int32_t depth : {-16385, -16384, 2130690045, 2130690044}) {
    callMethod(a, "m", "swapDepths", {I(depth)}).action(kPop);
    callMethod(a, "m", "getDepth", {}).action(kTrace);
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
  a.push(S("instance1")).action(kGetVariable).push(S("onUnload"));
  function(a, unload).action(kSetMember);
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
    call(a, "attachMovie", {S(names[i]), S(instance), I(int32_t(i))});
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
  a.push(S("Made"));
  function(a, ctor).action(kSetVariable);
  // Object.registerClass("Thing", Made)
  a.push(S("Made")).action(kGetVariable).push({S("Thing"), I(2), S("Object")}).action(kGetVariable);
  a.push(S("registerClass")).action(kCallMethod).action(kPop);
  // o = {hidden: 5}; ASSetPropFlags(o, "hidden", 1 | 0x1000)
  a.push(S("o")).push({S("hidden"), I(5), I(1)}).action(kInitObject).action(kSetVariable);
  a.push({I(0x1001), S("hidden")}).push(S("o")).action(kGetVariable);
  a.push({I(3), S("ASSetPropFlags")}).action(kCallFunction).action(kPop);
  a.push(S("o")).action(kGetVariable).push({I(1), S("x"), S("Thing"), I(4), S("attachMovie")});
  a.action(kCallFunction).action(kPop);
  b.doAction(a).showFrame();
  ScriptedMovie run(b);
  EXPECT_EQ(run.lines, (Lines{"5"}));
}

TEST(ClipExports, VersionFiveMoviesHaveNoRegisterClass) {
  SwfBuilder b = withExportedSprite(5);
  ActionBuilder a;
  a.push(S("Object")).action(kGetVariable).push(S("registerClass")).action(kGetMember).action(kTrace);
  b.doAction(a).showFrame();
  ScriptedMovie run(b);
  EXPECT_EQ(run.lines, (Lines{"undefined"}));
}

TEST(ClipInitActions, RunOnceOnTheRootBeforeItsFrameActions) {
  SwfBuilder b = withExportedSprite(6);
  ActionBuilder init, frame;
  traceVar(init, "this");
  frame.push(S("frame")).action(kTrace);
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
  callMethod(body, "this", "getDepth", {}).action(kTrace);
  a.push(S(path)).action(kGetVariable).push(S("onUnload"));
  return function(a, body).action(kSetMember);
}

SwfBuilder twoFrames(const ActionBuilder& first, const ActionBuilder& second) {
  SwfBuilder b;
  b.version(7).doAction(first).showFrame().doAction(second).showFrame();
  return b;
}

TEST(ClipUnload, AClipWithAHandlerWaitsBelowEveryDepthUntilItsUnloadRan) {
  ActionBuilder a, next;
  call(a, "createEmptyMovieClip", {S("a"), I(2)});
  tracingUnload(a, "a");
  callMethod(a, "a", "removeMovieClip", {}).action(kPop);
  callMethod(a, "a", "getDepth", {}).action(kTrace);
  traceVar(next, "a");
  SwfBuilder b = twoFrames(a, next);
  ScriptedMovie run(b, 1);
  EXPECT_EQ(run.lines, (Lines{"-32771", "_level0.a", "-32771", "undefined"}));
}

TEST(ClipUnload, ChildrenUnloadFirstAndNothingUnderAWaitingClipCanBeRemoved) {
  ActionBuilder a;
  call(a, "createEmptyMovieClip", {S("a"), I(0)});
  a.push({I(5), S("kid"), I(2), S("a")}).action(kGetVariable).push(S("createEmptyMovieClip")).action(kCallMethod);
  a.action(kPop);
  a.push({I(6), S("plain"), I(2), S("a")}).action(kGetVariable).push(S("createEmptyMovieClip")).action(kCallMethod);
  a.action(kPop);
  tracingUnload(a, "a");
  tracingUnload(a, "a.kid");
  callMethod(a, "a", "removeMovieClip", {}).action(kPop);
  callMethod(a, "a.plain", "removeMovieClip", {}).action(kPop);
  traceVar(a, "a.plain");
  SwfBuilder b = twoFrames(a, ActionBuilder());
  ScriptedMovie run(b);
  EXPECT_EQ(run.lines, (Lines{"_level0.a.plain", "_level0.a.kid", "5", "_level0.a", "-32769"}));
}

TEST(ClipUnload, WithoutAHandlerTheClipGoesAtOnceAndReferencesReachNothing) {
  ActionBuilder a;
  a.push(S("held")).push({I(3), S("b"), I(2), S("createEmptyMovieClip")}).action(kCallFunction).action(kSetVariable);
  callMethod(a, "b", "removeMovieClip", {}).action(kPop);
  callMethod(a, "held", "getDepth", {}).action(kTrace);
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
    call(a, "createEmptyMovieClip", {S("c"), I(1)});
    a.push(S("c")).action(kGetVariable).push({S("_x"), I(100)}).action(kSetMember);
    for (PushValue bad : {S("NaN"), PushValue::undefined(), PushValue::null()}) {
      a.push(S("c")).action(kGetVariable).push(S("_x")).push(bad).action(kSetMember);
      a.push(S("c")).action(kGetVariable).push(S("_x")).action(kGetMember).action(kTrace);
    }
    SwfBuilder b;
    b.version(uint8_t(version)).doAction(a).showFrame();
    ScriptedMovie run(b);
    EXPECT_EQ(run.lines, (Lines{"100", "100", "100"})) << version;
  }
}

}  // namespace
