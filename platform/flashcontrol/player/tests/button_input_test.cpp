// Buttons driven by the pointer: the state machine's transitions with their
// condition bits and handler names, menu buttons, leaving the movie, the
// key-press conditions, and a whole movie whose button actions run on its
// timeline as the pointer moves, presses and releases.
#include <gtest/gtest.h>

#include <memory>
#include <string>
#include <vector>

#include "button_writer.h"
#include "swf_builder.h"
#include "timeline/button_input.h"
#include "timeline/movie.h"
#include "timeline/stage.h"

namespace {

using swf::ButtonPhase;
using swf::ButtonStateMachine;
using swf::ButtonTransition;

std::vector<uint16_t> conditions(const std::vector<ButtonTransition>& passed) {
  std::vector<uint16_t> out;
  for (const ButtonTransition& t : passed) out.push_back(t.condition);
  return out;
}

TEST(ButtonStateMachine, AClickRollsOverPressesReleasesAndRollsOut) {
  ButtonStateMachine m;
  EXPECT_EQ(m.shownState(), swf::ButtonUp);
  EXPECT_EQ(conditions(m.pointer(true, false, false)), (std::vector<uint16_t>{swf::IdleToOverUp}));
  EXPECT_EQ(m.shownState(), swf::ButtonOver);
  std::vector<ButtonTransition> press = m.pointer(true, true, false);
  ASSERT_EQ(press.size(), 1u);
  EXPECT_STREQ(press[0].handler, "onPress");
  EXPECT_EQ(m.shownState(), swf::ButtonDown);
  EXPECT_TRUE(m.pointer(true, true, false).empty());  // nothing changed
  EXPECT_EQ(conditions(m.pointer(true, false, false)), (std::vector<uint16_t>{swf::OverDownToOverUp}));
  EXPECT_EQ(conditions(m.pointer(false, false, false)), (std::vector<uint16_t>{swf::OverUpToIdle}));
  EXPECT_EQ(m.phase(), ButtonPhase::Idle);
}

TEST(ButtonStateMachine, DraggingOutAndBackAndReleasingOutside) {
  ButtonStateMachine m;
  m.pointer(true, false, false);
  m.pointer(true, true, false);
  std::vector<ButtonTransition> out = m.pointer(false, true, false);
  ASSERT_EQ(out.size(), 1u);
  EXPECT_STREQ(out[0].handler, "onDragOut");
  EXPECT_EQ(m.shownState(), swf::ButtonOver);
  EXPECT_EQ(conditions(m.pointer(true, true, false)), (std::vector<uint16_t>{swf::OutDownToOverDown}));
  // Out and released in one update: both transitions, in order.
  EXPECT_EQ(conditions(m.pointer(false, false, false)),
            (std::vector<uint16_t>{swf::OverDownToOutDown, swf::OutDownToIdle}));
  EXPECT_EQ(m.phase(), ButtonPhase::Idle);
}

TEST(ButtonStateMachine, OnlyMenuButtonsTakeAPressBegunElsewhere) {
  ButtonStateMachine plain, menu;
  EXPECT_TRUE(plain.pointer(true, true, false).empty());
  EXPECT_EQ(plain.phase(), ButtonPhase::Idle);
  EXPECT_EQ(conditions(menu.pointer(true, true, true)), (std::vector<uint16_t>{swf::IdleToOverDown}));
  EXPECT_EQ(conditions(menu.pointer(false, true, true)), (std::vector<uint16_t>{swf::OverDownToIdle}));
}

TEST(ButtonStateMachine, LeavingTheMovieWhilePressedReleasesOutside) {
  ButtonStateMachine m;
  m.pointer(true, false, false);
  m.pointer(true, true, false);
  EXPECT_EQ(conditions(m.reset()), (std::vector<uint16_t>{swf::OverDownToOutDown, swf::OutDownToIdle}));
  EXPECT_TRUE(m.reset().empty());
}

TEST(ButtonActions, ConditionsAndKeyCodesPickTheirBlocks) {
  swf::Button b;
  uint8_t code[1] = {0};
  b.actions.push_back({uint16_t(swf::OverDownToOverUp | swf::IdleToOverUp), code, 1});
  b.actions.push_back({uint16_t('a' << 1), code, 1});
  b.actions.push_back({uint16_t((13 << 1) | swf::OverUpToOverDown), code, 1});
  EXPECT_EQ(swf::actionsFor(b, swf::IdleToOverUp).size(), 1u);
  EXPECT_EQ(swf::actionsFor(b, swf::OverUpToOverDown).size(), 1u);
  EXPECT_TRUE(swf::actionsFor(b, swf::OutDownToIdle).empty());
  EXPECT_EQ(swf::actionsForKey(b, 'a').size(), 1u);
  EXPECT_EQ(swf::actionsForKey(b, 13).size(), 1u);
  EXPECT_TRUE(swf::actionsForKey(b, 'b').empty());
  EXPECT_TRUE(swf::actionsForKey(b, 0).empty());
}

// A 100 x 100 movie: a button showing the square 20..40 (pixels) whose hit
// area is that square less the band 32..36 across it, tracing a word for each
// condition it has actions for.
class ButtonMovie : public ::testing::Test {
 protected:
  void SetUp() override {
    mvqtest::SwfBuilder b;
    b.version(8).stage(mvqtest::Rect::pixels(100, 100));
    b.defineRectShape(1, mvqtest::Rect::pixels(20, 20), mvqtest::Rgba{255, 0, 0});
    const mvqtest::Rgba black{0, 0, 0};
    b.defineShape(3, {{mvqtest::Rect::twips(0, 0, 400, 240), black}, {mvqtest::Rect::twips(0, 320, 400, 400), black}});
    playertest::ButtonRecordDraft up, hit;
    up.character = 1;
    hit.character = 3;
    up.states = swf::ButtonUp | swf::ButtonOver | swf::ButtonDown;
    hit.states = swf::ButtonHitTest;
    up.matrix = hit.matrix = mvqtest::Matrix::translate(20 * 20, 20 * 20);
    std::vector<playertest::ButtonActionDraft> actions;
    auto traceOn = [&](uint16_t condition, const std::string& word) {
      mvqtest::ActionBuilder a;
      a.push(mvqtest::PushValue::string(word)).action(0x26);
      mvqtest::Bytes bytes = a.bytes();
      bytes.push_back(0);
      actions.push_back({condition, bytes});
    };
    traceOn(swf::IdleToOverUp, "over");
    traceOn(swf::OverUpToOverDown, "press");
    traceOn(swf::OverDownToOverUp, "release");
    traceOn(swf::OverDownToOutDown, "dragOut");
    traceOn(swf::OutDownToIdle, "releaseOutside");
    traceOn(uint16_t('k' << 1), "key k");
    b.tag(playertest::kDefineButton2, playertest::button2Body(2, {up, hit}, actions));
    b.placeObject2(2, 1).showFrame().showFrame();
    ASSERT_TRUE(movie_.parse(b.finish()));
    stage_ = std::make_unique<swf::Stage>(movie_, nullptr, nullptr,
                                          [this](const std::string& line) { lines_.push_back(line); });
    stage_->tick(true);
  }
  swf::Stage& stage() { return *stage_; }
  std::vector<std::string> lines_;

 private:
  swf::Movie movie_;
  std::unique_ptr<swf::Stage> stage_;
};

TEST_F(ButtonMovie, ActionsRunAsThePointerCrossesTheHitArea) {
  swf::ButtonInput input;
  input.pointer(stage(), 5, 5, false);  // outside
  EXPECT_TRUE(lines_.empty());
  input.pointer(stage(), 30, 30, false);
  input.pointer(stage(), 30, 30, true);
  input.pointer(stage(), 31, 30, false);
  input.pointer(stage(), 31, 31, true);
  input.pointer(stage(), 90, 90, true);
  input.pointer(stage(), 90, 90, false);
  EXPECT_EQ(lines_, (std::vector<std::string>{"over", "press", "release", "press", "dragOut", "releaseOutside"}));
}

// The band is inside the hit area's bounds but not on its shape.
TEST_F(ButtonMovie, OnlyTheHitShapeItselfTakesThePointer) {
  swf::ButtonInput input;
  input.pointer(stage(), 30, 34, false);
  input.pointer(stage(), 30, 34, true);
  input.pointer(stage(), 30, 34, false);
  EXPECT_TRUE(lines_.empty());
  input.pointer(stage(), 30, 37, false);
  EXPECT_EQ(lines_, (std::vector<std::string>{"over"}));
}

TEST_F(ButtonMovie, KeyPressConditionsRunWithoutThePointer) {
  swf::ButtonInput input;
  input.key(stage(), 'k');
  input.key(stage(), 'j');
  EXPECT_EQ(lines_, (std::vector<std::string>{"key k"}));
}

TEST_F(ButtonMovie, LeavingTheMovieReleasesOutside) {
  swf::ButtonInput input;
  input.pointer(stage(), 30, 30, false);
  input.pointer(stage(), 30, 30, true);
  input.leave(stage());
  EXPECT_EQ(lines_, (std::vector<std::string>{"over", "press", "dragOut", "releaseOutside"}));
}

}  // namespace
