// Gotos with computed frames (GotoFrame2, gotoAndStop): how numbers wrap
// and what names a label instead of a frame.
#include <gtest/gtest.h>

#include <cmath>
#include <memory>
#include <string>
#include <vector>

#include "action_steps.h"
#include "avm1/frame_number.h"
#include "swf_builder.h"
#include "timeline/stage.h"

namespace {

using namespace playertest;

TEST(GotoFrames, NumbersWrapTo32BitsAndFramesBelowOneGoNowhere) {
  using swf::avm1::frameIndexOf;
  EXPECT_EQ(frameIndexOf(1), 0);
  EXPECT_EQ(frameIndexOf(3.9), 2);
  EXPECT_LT(frameIndexOf(0), 0);
  EXPECT_LT(frameIndexOf(-99), 0);
  EXPECT_LT(frameIndexOf(-2147483647), 0);
  EXPECT_EQ(frameIndexOf(4294967298.0), 1);           // 2 after wrapping
  EXPECT_EQ(frameIndexOf(2147483648.0), 2147483647);  // past the end: the last frame
  EXPECT_EQ(frameIndexOf(-2147483648.0), 2147483647);
  EXPECT_LT(frameIndexOf(std::nan("")), 0);
  EXPECT_EQ(frameIndexOf(1, 13), 13);  // a scene's bias
}

// Frame 1 does `gotoAndStop(value)` then traces _currentframe; frames 2 to 4
// are labelled "undefined", "4.5" and "x".
std::vector<std::string> currentFrameAfterGoto(const PushValue& value, uint16_t bias = 0) {
  ActionBuilder a;
  a.push(value);
  if (bias) {
    a.action(Code::GotoFrame2, {2, uint8_t(bias), 0});
  } else {
    a.action(Code::GotoFrame2, {0});
  }
  a.push(PushValue::string("_currentframe")).action(Code::GetVariable).action(Code::Trace);
  SwfBuilder b;
  b.version(7).doAction(a).showFrame();
  for (const char* label : {"undefined", "4.5", "x"}) b.frameLabel(label).showFrame();
  swf::Movie movie;
  EXPECT_TRUE(movie.parse(b.finish()));
  std::vector<std::string> lines;
  swf::Stage stage(movie, nullptr, nullptr, [&lines](const std::string& l) { lines.push_back(l); });
  return lines;
}

TEST(GotoFrames, ValuesThatAreNoWholeNumberNameALabel) {
  using Lines = std::vector<std::string>;
  EXPECT_EQ(currentFrameAfterGoto(PushValue::number(3)), (Lines{"3"}));
  EXPECT_EQ(currentFrameAfterGoto(PushValue::undefined()), (Lines{"2"}));
  EXPECT_EQ(currentFrameAfterGoto(PushValue::number(4.5)), (Lines{"3"}));
  EXPECT_EQ(currentFrameAfterGoto(PushValue::number(0)), (Lines{"1"}));
  // A label in a scene counts from the scene's first frame.
  EXPECT_EQ(currentFrameAfterGoto(PushValue::string("undefined"), 2), (Lines{"4"}));
}

}  // namespace
