// MovieClip.blendMode as scripts set and read it, and the placement it
// changes for drawing.
#include <gtest/gtest.h>

#include <memory>
#include <string>
#include <vector>

#include "action_steps.h"
#include "swf_builder.h"
#include "timeline/stage.h"

namespace {

using namespace playertest;

// m.blendMode = value; trace(m.blendMode).
void setAndTrace(ActionBuilder& a, const PushValue& value) {
  a.push(str("m")).action(Code::GetVariable).push(str("blendMode")).push(value).action(Code::SetMember);
  a.push(str("m")).action(Code::GetVariable).push(str("blendMode")).action(Code::GetMember).action(Code::Trace);
}

struct Played {
  Lines lines;
  int placedMode = -1;
};

Played play(int version, const std::vector<PushValue>& values) {
  ActionBuilder a;
  a.push({PushValue::integer(1), str("m"), PushValue::integer(2), str("createEmptyMovieClip")});
  a.action(Code::CallFunction).action(Code::Pop);
  a.push(str("m")).action(Code::GetVariable).push(str("blendMode")).action(Code::GetMember).action(Code::Trace);
  for (const PushValue& v : values) setAndTrace(a, v);
  SwfBuilder b;
  b.version(uint8_t(version)).doAction(a).showFrame();
  Played run;
  swf::Movie movie;
  EXPECT_TRUE(movie.parse(b.finish()));
  swf::Stage stage(movie, nullptr, nullptr, [&run](const std::string& l) { run.lines.push_back(l); });
  for (const auto& entry : stage.root().children()) run.placedMode = entry.second.placement.blendMode;
  return run;
}

TEST(ClipBlendMode, NamesAndNumbersSetTheModeOtherValuesLeaveIt) {
  Played run = play(8, {str("multiply"), str("Screen"), PushValue::boolean(true), PushValue::number(266.9),
                        PushValue::number(-1), PushValue::null(), PushValue::integer(2)});
  EXPECT_EQ(run.lines, (Lines{"normal", "multiply", "multiply", "multiply", "invert", "invert", "normal", "layer"}));
  EXPECT_EQ(run.placedMode, 2);
}

TEST(ClipBlendMode, MoviesBeforeVersionEightHaveNoSuchProperty) {
  Played run = play(7, {str("multiply")});
  EXPECT_EQ(run.lines, (Lines{"undefined", "multiply"}));
  EXPECT_EQ(run.placedMode, 0);
}

}  // namespace
