// How scripts find clips again: the names unnamed instances take, and
// tellTarget reaching a clip through its path.
#include <gtest/gtest.h>

#include <memory>
#include <string>
#include <vector>

#include "swf_builder.h"
#include "timeline/stage.h"

namespace {

using mvqtest::ActionBuilder;
using mvqtest::PushValue;
using mvqtest::SwfBuilder;
using mvqtest::TagStream;
using Lines = std::vector<std::string>;

enum : uint8_t {
  kCallFunction = 0x3D,
  kCallMethod = 0x52,
  kDefineLocal = 0x3C,
  kGetMember = 0x4E,
  kGetVariable = 0x1C,
  kSetMember = 0x4F,
  kSetTarget = 0x8B,
  kSetTarget2 = 0x20,
  kTrace = 0x26,
};

PushValue S(const std::string& s) { return PushValue::string(s); }
PushValue I(int32_t n) { return PushValue::integer(n); }

Lines run(SwfBuilder& b, int ticks = 0) {
  Lines lines;
  swf::Movie movie;
  EXPECT_TRUE(movie.parse(b.finish()));
  swf::Stage stage(movie, nullptr, nullptr, [&lines](const std::string& l) { lines.push_back(l); });
  for (int i = 0; i < ticks; ++i) stage.tick(true);
  return lines;
}

// this.getInstanceAtDepth(depth)._name, traced, for a timeline depth.
void traceNameAtDepth(ActionBuilder& a, int depth) {
  a.push({I(depth - 16384), I(1), S("this")}).action(kGetVariable).push(S("getInstanceAtDepth")).action(kCallMethod);
  a.push(S("_name")).action(kGetMember).action(kTrace);
}

TEST(ClipFinding, UnnamedInstancesAreNamedInTheOrderTheyArePlaced) {
  ActionBuilder a;
  // Asking the higher one first must not change which is the first instance.
  traceNameAtDepth(a, 3);
  traceNameAtDepth(a, 1);
  TagStream empty;
  empty.showFrame();
  SwfBuilder b;
  b.version(7).defineSprite(1, empty).placeObject2(1, 1).placeObject2(1, 3).doAction(a).showFrame();
  EXPECT_EQ(run(b), (Lines{"instance2", "instance1"}));
}

TEST(ClipFinding, TellTargetOfAClipGoesToTheFirstClipOfItsPath) {
  ActionBuilder a;
  // first = createEmptyMovieClip("twin", 1); first.x = "first"; the same at depth 2.
  for (const auto& [local, depth] : {std::pair<std::string, int>{"first", 1}, {"second", 2}}) {
    a.push({S(local), I(depth), S("twin"), I(2), S("createEmptyMovieClip")}).action(kCallFunction);
    a.action(kDefineLocal);
    a.push(S(local)).action(kGetVariable).push({S("x"), S(local)}).action(kSetMember);
  }
  for (const char* local : {"second", "first"}) {
    a.push(S(local)).action(kGetVariable).action(kSetTarget2);
    a.push(S("x")).action(kGetVariable).action(kTrace);
    a.action(kSetTarget, {0});
  }
  // A text naming no clip still leaves the root as the target.
  a.push(S("nowhere")).action(kSetTarget2).push(S("_target")).action(kGetVariable).action(kTrace);
  a.action(kSetTarget, {0});
  SwfBuilder b;
  b.version(6).doAction(a).showFrame();
  EXPECT_EQ(run(b), (Lines{"first", "first", "/"}));
}

}  // namespace
