// How scripts find clips again: the names unnamed instances take, and
// tellTarget reaching a clip through its path.
#include <gtest/gtest.h>

#include <memory>
#include <string>
#include <vector>

#include "action_steps.h"
#include "swf_builder.h"
#include "timeline/stage.h"

namespace {

using namespace playertest;

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
  a.push({i32(depth - 16384), i32(1), str("this")})
      .action(Code::GetVariable)
      .push(str("getInstanceAtDepth"))
      .action(Code::CallMethod);
  a.push(str("_name")).action(Code::GetMember).action(Code::Trace);
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
    a.push({str(local), i32(depth), str("twin"), i32(2), str("createEmptyMovieClip")}).action(Code::CallFunction);
    a.action(Code::DefineLocal);
    a.push(str(local)).action(Code::GetVariable).push({str("x"), str(local)}).action(Code::SetMember);
  }
  for (const char* local : {"second", "first"}) {
    a.push(str(local)).action(Code::GetVariable).action(Code::SetTarget2);
    a.push(str("x")).action(Code::GetVariable).action(Code::Trace);
    a.action(Code::SetTarget, {0});
  }
  // A text naming no clip still leaves the root as the target.
  a.push(str("nowhere")).action(Code::SetTarget2).push(str("_target")).action(Code::GetVariable).action(Code::Trace);
  a.action(Code::SetTarget, {0});
  SwfBuilder b;
  b.version(6).doAction(a).showFrame();
  EXPECT_EQ(run(b), (Lines{"first", "first", "/"}));
}

}  // namespace
