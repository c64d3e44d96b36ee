// AS1 frame actions driving timelines, and everything else stepped over
// safely.
#include <gtest/gtest.h>

#include <memory>

#include "swf_builder.h"
#include "tags/tag_codes.h"
#include "timeline/stage.h"

namespace {

using mvqtest::ActionBuilder;
using mvqtest::Bytes;
using mvqtest::PlaceObject2;
using mvqtest::PushValue;
using mvqtest::Rect;
using mvqtest::Rgba;
using mvqtest::SwfBuilder;
using mvqtest::TagStream;

class Running {
 public:
  explicit Running(const Bytes& bytes) {
    EXPECT_TRUE(movie_.parse(bytes));
    stage_ = std::make_unique<swf::Stage>(movie_);
  }
  void ticks(int n) {
    for (int i = 0; i < n; ++i) stage_->tick(true);
  }
  swf::MovieClip& root() { return stage_->root(); }
  swf::MovieClip* clip(int depth) {
    auto it = root().children().find(uint16_t(depth));
    return it == root().children().end() ? nullptr : it->second.clip.get();
  }

 private:
  swf::Movie movie_;
  std::unique_ptr<swf::Stage> stage_;
};

Bytes bytesOf(const std::string& s) {
  Bytes b(s.begin(), s.end());
  b.push_back(0);
  return b;
}

// frames empty frames with the given actions on frame `at`.
Bytes movieWith(int frames, int at, const ActionBuilder& actions, int version = 6) {
  SwfBuilder b;
  b.version(uint8_t(version));
  for (int f = 0; f < frames; ++f) {
    if (f == at) b.doAction(actions);
    if (f == 3) b.frameLabel("Scene");
    b.showFrame();
  }
  return b.finish();
}

TEST(Actions, StopOnTheFirstFrameHoldsFromTheStart) {
  Running run(movieWith(4, 0, ActionBuilder().stop()));
  run.ticks(5);
  EXPECT_EQ(run.root().currentFrame(), 0);
  EXPECT_FALSE(run.root().isPlaying());
}

TEST(Actions, GotoFrameAndLabelJumpAndStop) {
  Running byNumber(movieWith(8, 1, ActionBuilder().gotoFrame(5)));
  byNumber.ticks(1);
  EXPECT_EQ(byNumber.root().currentFrame(), 5);
  EXPECT_FALSE(byNumber.root().isPlaying());
  Running byLabel(movieWith(8, 1, ActionBuilder().gotoLabel("scene").play()));
  byLabel.ticks(1);
  EXPECT_EQ(byLabel.root().currentFrame(), 3);
  byLabel.ticks(1);
  EXPECT_EQ(byLabel.root().currentFrame(), 4);
}

TEST(Actions, NextAndPreviousFrameStopThere) {
  Running next(movieWith(5, 1, ActionBuilder().nextFrame()));
  next.ticks(1);
  EXPECT_EQ(next.root().currentFrame(), 2);
  EXPECT_FALSE(next.root().isPlaying());
  Running prev(movieWith(5, 2, ActionBuilder().previousFrame()));
  prev.ticks(2);
  EXPECT_EQ(prev.root().currentFrame(), 1);
}

TEST(Actions, GotoFrame2TakesNumbersLabelsAndPaths) {
  // Numbers on the stack count from 1; the flag byte says play.
  Running number(movieWith(8, 1, ActionBuilder().push(PushValue::integer(7)).action(0x9F, {1})));
  number.ticks(1);
  EXPECT_EQ(number.root().currentFrame(), 6);
  EXPECT_TRUE(number.root().isPlaying());
  Running label(movieWith(8, 1, ActionBuilder().push(PushValue::string("SCENE")).action(0x9F, {0})));
  label.ticks(1);
  EXPECT_EQ(label.root().currentFrame(), 3);
  EXPECT_FALSE(label.root().isPlaying());
  Running text(movieWith(8, 1, ActionBuilder().push(PushValue::string("/:5")).action(0x9F, {0})));
  text.ticks(1);
  EXPECT_EQ(text.root().currentFrame(), 4);
  // Scene bias adds to the frame.
  Running bias(movieWith(8, 1, ActionBuilder().push(PushValue::number(2)).action(0x9F, {2, 3, 0})));
  bias.ticks(1);
  EXPECT_EQ(bias.root().currentFrame(), 4);
}

// A root of 3 frames with a 4-frame clip named "kid" at depth 1.
Bytes movieWithClip(const ActionBuilder& rootActions, const ActionBuilder& clipActions = ActionBuilder()) {
  SwfBuilder b;
  b.version(6);
  TagStream kid;
  for (int f = 0; f < 4; ++f) {
    if (f == 2 && clipActions.size()) kid.doAction(clipActions);
    kid.showFrame();
  }
  b.defineSprite(10, kid);
  PlaceObject2 p;
  p.depth = 1, p.character = 10, p.name = "kid";
  b.placeObject2(p);
  b.doAction(rootActions);
  b.showFrame().showFrame().showFrame();
  return b.finish();
}

TEST(Actions, SetTargetDirectsActionsToANamedClipAndBack) {
  ActionBuilder a;
  a.action(0x8B, bytesOf("kid")).gotoFrame(2).action(0x8B, bytesOf("")).stop();
  Running run(movieWithClip(a));
  EXPECT_EQ(run.clip(1)->currentFrame(), 2);
  EXPECT_FALSE(run.clip(1)->isPlaying());
  EXPECT_FALSE(run.root().isPlaying());
  run.ticks(2);
  EXPECT_EQ(run.clip(1)->currentFrame(), 2);
}

TEST(Actions, TargetPathsReachTheRootAndParents) {
  // The clip's frame 2 sends the root to its frame 2 and stops it.
  ActionBuilder fromClip;
  fromClip.action(0x8B, bytesOf("_parent")).gotoFrame(2).action(0x8B, bytesOf("/")).stop();
  Running run(movieWithClip(ActionBuilder(), fromClip));
  run.ticks(2);
  EXPECT_EQ(run.root().currentFrame(), 2);
  EXPECT_FALSE(run.root().isPlaying());
  EXPECT_TRUE(run.clip(1)->isPlaying());
}

TEST(Actions, AMissingTargetLeavesTheActionsOnTheRoot) {
  ActionBuilder fromClip;
  fromClip.action(0x8B, bytesOf("nobody")).stop();
  Running run(movieWithClip(ActionBuilder(), fromClip));
  run.ticks(2);
  EXPECT_FALSE(run.root().isPlaying());
  EXPECT_TRUE(run.clip(1)->isPlaying());
}

TEST(Actions, BranchesDecideWhatRuns) {
  // push true; if over the stop -> keeps playing.
  ActionBuilder skip;
  skip.push(PushValue::boolean(true)).ifTrue(1).stop().play();
  Running taken(movieWith(3, 0, skip));
  EXPECT_TRUE(taken.root().isPlaying());
  ActionBuilder fall;
  fall.push(PushValue::integer(0)).ifTrue(1).stop();
  Running notTaken(movieWith(3, 0, fall));
  EXPECT_FALSE(notTaken.root().isPlaying());
  // A jump over the stop.
  ActionBuilder jump;
  jump.jump(1).stop();
  Running jumped(movieWith(3, 0, jump));
  EXPECT_TRUE(jumped.root().isPlaying());
}

TEST(Actions, EndlessLoopsEndAndPlayGoesOn) {
  ActionBuilder spin;
  spin.push(PushValue::integer(1)).action(0x17).jump(-10);  // push, pop, back to the push
  Running run(movieWith(3, 1, spin));
  run.ticks(4);
  EXPECT_EQ(run.root().currentFrame(), 1);
  // Two frames sending each other back and forth within one tick.
  SwfBuilder b;
  b.showFrame();
  b.doAction(ActionBuilder().gotoFrame(2).play()).showFrame();
  b.doAction(ActionBuilder().gotoFrame(1).play()).showFrame();
  Running pingPong(b.finish());
  pingPong.ticks(1);
  int f = pingPong.root().currentFrame();
  EXPECT_TRUE(f == 1 || f == 2) << f;
  pingPong.ticks(5);  // and every later tick ends too
}

TEST(Actions, OtherActionsAreSteppedOverWithTheirPayloads) {
  ActionBuilder a;
  a.action(0x3D)                             // call function: nothing to call
      .action(0x83, bytesOf("http://x"))     // get URL with a payload
      .action(0x88, {2, 0, 'a', 0, 'b', 0})  // constant pool
      .push(PushValue::constant(1))
      .action(0x20)                   // set target from the stack: "b" names nothing
      .action(0x8B, {})               // back to this timeline
      .action(0x9B, {0, 0, 0, 1, 0})  // define function: 1 byte of body
      .stop()                         // the body: not run here
      .gotoFrame(2);
  Running run(movieWith(4, 0, a));
  EXPECT_EQ(run.root().currentFrame(), 2);
  EXPECT_FALSE(run.root().isPlaying());
}

TEST(Actions, TruncatedActionsEndTheBlock) {
  ActionBuilder a;
  a.stop().raw({0x81, 0x02});  // goto with its length cut off
  Running run(movieWith(3, 0, a));
  EXPECT_FALSE(run.root().isPlaying());
  EXPECT_EQ(run.root().currentFrame(), 0);
}

TEST(Actions, AClipThatRemovesItselfFinishesSafely) {
  // Frame 1 of the root has no clip; the clip's frame 2 sends the root there
  // and then keeps acting on itself.
  SwfBuilder b;
  b.version(6);
  TagStream kid;
  kid.showFrame().showFrame();
  kid.doAction(ActionBuilder().action(0x8B, bytesOf("/")).gotoFrame(1).action(0x8B, bytesOf("")).stop().nextFrame());
  kid.showFrame();
  b.defineSprite(10, kid);
  b.placeObject2(10, 1).doAction(ActionBuilder().stop()).showFrame();
  b.removeObject2(1).showFrame();
  Running run(b.finish());
  run.ticks(3);
  EXPECT_EQ(run.root().currentFrame(), 1);
  EXPECT_EQ(run.clip(1), nullptr);
}

TEST(Actions, ActionScript3MoviesPlayWithoutScripts) {
  SwfBuilder b;
  b.version(9);
  b.tag(uint16_t(swf::TagCode::FileAttributes), {0x08, 0, 0, 0});  // FileAttributes: ActionScript 3
  b.doAction(ActionBuilder().stop()).showFrame().showFrame();
  Running run(b.finish());
  run.ticks(1);
  EXPECT_EQ(run.root().currentFrame(), 1);
}

}  // namespace
