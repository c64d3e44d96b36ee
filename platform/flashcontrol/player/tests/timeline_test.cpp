// Timelines and display lists without drawing: playheads, loops, gotos in
// both directions, clips with their own playheads, depth rules.
#include <gtest/gtest.h>

#include <memory>

#include "swf_builder.h"
#include "tags/tag_codes.h"
#include "timeline/stage.h"

namespace {

using mvqtest::Matrix;
using mvqtest::PlaceObject2;
using mvqtest::Rect;
using mvqtest::Rgba;
using mvqtest::SwfBuilder;
using mvqtest::TagStream;

// A loaded movie with its stage.
class Running {
 public:
  explicit Running(const mvqtest::Bytes& bytes) {
    EXPECT_TRUE(movie_.parse(bytes));
    stage_ = std::make_unique<swf::Stage>(movie_);
  }
  swf::Stage& stage() { return *stage_; }
  swf::MovieClip& root() { return stage_->root(); }
  // depth -> character id, in depth order.
  std::vector<std::pair<int, int>> list(const swf::MovieClip& clip) const {
    std::vector<std::pair<int, int>> out;
    for (const auto& e : clip.children()) out.emplace_back(e.first, e.second.placement.characterId);
    return out;
  }
  std::vector<std::pair<int, int>> rootList() { return list(root()); }
  const swf::DisplayObject& at(int depth) { return root().children().at(uint16_t(depth)); }

 private:
  swf::Movie movie_;
  std::unique_ptr<swf::Stage> stage_;
};

using List = std::vector<std::pair<int, int>>;

void defineShapes(SwfBuilder& b, int count) {
  for (int i = 1; i <= count; ++i)
    b.defineRectShape(uint16_t(i), Rect::twips(0, 0, 200 * i, 200), Rgba{uint8_t(40 * i), 0, 0});
}

// A sprite of `frames` frames, each showing shape (first + frame) at depth 1.
TagStream spriteCycling(int first, int frames) {
  TagStream s;
  for (int f = 0; f < frames; ++f) {
    if (f == 0) {
      s.placeObject2(uint16_t(first), 1);
    } else {
      PlaceObject2 swap;
      swap.depth = 1, swap.move = true, swap.character = uint16_t(first + f);
      s.placeObject2(swap);
    }
    s.showFrame();
  }
  return s;
}

TEST(Timeline, OneFramePerTickAndLoopingBackToTheStart) {
  SwfBuilder b;
  b.showFrame().showFrame().showFrame();
  Running run(b.finish());
  EXPECT_EQ(run.root().currentFrame(), 0);
  std::vector<int> seen;
  for (int i = 0; i < 7; ++i) {
    run.stage().tick(true);
    seen.push_back(run.root().currentFrame());
  }
  EXPECT_EQ(seen, (std::vector<int>{1, 2, 0, 1, 2, 0, 1}));
}

TEST(Timeline, WithoutLoopTheLastFrameStaysAndPlayingEnds) {
  SwfBuilder b;
  b.showFrame().showFrame();
  Running run(b.finish());
  run.stage().tick(false);
  run.stage().tick(false);
  run.stage().tick(false);
  EXPECT_EQ(run.root().currentFrame(), 1);
  EXPECT_FALSE(run.root().isPlaying());
}

// Frames: 0 A@1; 1 B@2; 2 remove 1, C@3; 3 move 2; 4 A@1 again.
mvqtest::Bytes fiveFrames() {
  SwfBuilder b;
  defineShapes(b, 3);
  b.placeObject2(1, 1).showFrame();
  b.placeObject2(2, 2, Matrix::translate(100, 0)).showFrame();
  b.removeObject2(1).placeObject2(3, 3).showFrame();
  b.moveObject2(2, Matrix::translate(500, 60)).showFrame();
  b.placeObject2(1, 1).showFrame();
  return b.finish();
}

TEST(Timeline, GotoGivesTheSameDisplayListAsPlayingThere) {
  const mvqtest::Bytes movie = fiveFrames();
  std::vector<List> played;
  std::vector<double> bX;
  {
    Running run(movie);
    for (int f = 0; f < 5; ++f) {
      if (f) run.stage().tick(true);
      played.push_back(run.rootList());
      bX.push_back(run.root().children().count(2) ? run.at(2).placement.matrix.tx : -1);
    }
  }
  EXPECT_EQ(played[2], (List{{2, 2}, {3, 3}}));
  for (int from = 0; from < 5; ++from) {
    for (int to = 0; to < 5; ++to) {
      Running run(movie);
      run.root().gotoFrame(from, false);
      run.root().gotoFrame(to, false);
      EXPECT_EQ(run.rootList(), played[size_t(to)]) << from << " -> " << to;
      double x = run.root().children().count(2) ? run.at(2).placement.matrix.tx : -1;
      EXPECT_EQ(x, bX[size_t(to)]) << from << " -> " << to;
    }
  }
}

TEST(Timeline, ObjectsStandingAcrossAJumpBackKeepTheirInstance) {
  SwfBuilder b;
  defineShapes(b, 4);
  b.defineSprite(10, spriteCycling(1, 4));
  b.placeObject2(10, 1).showFrame();
  b.placeObject2(10, 2).showFrame();
  b.showFrame();
  Running run(b.finish());
  run.stage().tick(true);
  run.stage().tick(true);
  const swf::MovieClip* first = run.at(1).clip.get();
  uint64_t firstSerial = first->serial();
  uint64_t secondSerial = run.at(2).clip->serial();
  EXPECT_EQ(first->currentFrame(), 2);
  run.root().gotoFrame(0, false);
  ASSERT_EQ(run.root().children().size(), 1u);
  EXPECT_EQ(run.at(1).clip->serial(), firstSerial);
  EXPECT_EQ(run.at(1).clip->currentFrame(), 2);
  run.root().gotoFrame(1, false);
  EXPECT_NE(run.at(2).clip->serial(), secondSerial);  // placed anew, from its start
  EXPECT_EQ(run.at(2).clip->currentFrame(), 0);
}

TEST(Timeline, ClipsPlayOnWhileTheRootIsStopped) {
  SwfBuilder b;
  defineShapes(b, 3);
  b.defineSprite(10, spriteCycling(1, 3));
  b.placeObject2(10, 1).showFrame().showFrame();
  Running run(b.finish());
  run.root().stop();
  std::vector<int> clipFrames;
  for (int i = 0; i < 4; ++i) {
    run.stage().tick(true);
    clipFrames.push_back(run.at(1).clip->currentFrame());
  }
  EXPECT_EQ(run.root().currentFrame(), 0);
  EXPECT_EQ(clipFrames, (std::vector<int>{1, 2, 0, 1}));
  EXPECT_EQ(run.list(*run.at(1).clip), (List{{1, 2}}));
}

TEST(Timeline, AClipStartsAdvancingOnTheTickAfterItAppears) {
  SwfBuilder b;
  defineShapes(b, 3);
  b.defineSprite(10, spriteCycling(1, 3));
  b.showFrame();
  b.placeObject2(10, 1).showFrame();
  b.showFrame();
  Running run(b.finish());
  run.stage().tick(true);
  EXPECT_EQ(run.at(1).clip->currentFrame(), 0);
  run.stage().tick(true);
  EXPECT_EQ(run.at(1).clip->currentFrame(), 1);
}

TEST(Timeline, MoveWithACharacterSwapsShapesButKeepsClips) {
  SwfBuilder b;
  defineShapes(b, 3);
  b.defineSprite(10, spriteCycling(1, 2));
  b.placeObject2(1, 1).placeObject2(10, 2).showFrame();
  PlaceObject2 toShape2;
  toShape2.depth = 1, toShape2.move = true, toShape2.character = 2;
  PlaceObject2 clipToShape;
  clipToShape.depth = 2, clipToShape.move = true, clipToShape.character = 3,
  clipToShape.matrix = Matrix::translate(40, 0);
  b.placeObject2(toShape2).placeObject2(clipToShape).showFrame();
  Running run(b.finish());
  uint64_t clip = run.at(2).clip->serial();
  run.stage().tick(true);
  EXPECT_EQ(run.rootList(), (List{{1, 2}, {2, 10}}));
  EXPECT_EQ(run.at(2).clip->serial(), clip);
  EXPECT_EQ(run.at(2).placement.matrix.tx, 40);  // the other fields still apply
}

TEST(Timeline, PlacingOntoATakenDepthLeavesTheObjectThere) {
  SwfBuilder b;
  defineShapes(b, 2);
  b.placeObject2(1, 1).showFrame();
  b.placeObject2(2, 1, Matrix::translate(99, 0)).showFrame();
  Running run(b.finish());
  run.stage().tick(true);
  EXPECT_EQ(run.rootList(), (List{{1, 1}}));
  EXPECT_EQ(run.at(1).placement.matrix.tx, 0);
}

TEST(Timeline, RemovingAndMovingNothingChangesNothing) {
  SwfBuilder b;
  defineShapes(b, 1);
  b.placeObject2(1, 3).showFrame();
  b.removeObject2(9).moveObject2(8, Matrix::translate(1, 1));
  b.tag(uint16_t(swf::TagCode::RemoveObject), {1, 0, 3, 0});  // RemoveObject: character 1 at depth 3
  b.showFrame();
  Running run(b.finish());
  run.stage().tick(true);
  EXPECT_TRUE(run.rootList().empty());
}

TEST(Timeline, LabelsNameFramesWithoutRegardToCase) {
  SwfBuilder b;
  b.showFrame().frameLabel("Intro").showFrame().frameLabel("end").showFrame();
  Running run(b.finish());
  EXPECT_TRUE(run.root().gotoLabel("END", false));
  EXPECT_EQ(run.root().currentFrame(), 2);
  EXPECT_TRUE(run.root().gotoLabel("intro", true));
  EXPECT_EQ(run.root().currentFrame(), 1);
  EXPECT_TRUE(run.root().isPlaying());
  EXPECT_FALSE(run.root().gotoLabel("missing", false));
  EXPECT_EQ(run.root().currentFrame(), 1);
}

TEST(Timeline, GotosClampToTheTimeline) {
  SwfBuilder b;
  b.showFrame().showFrame().showFrame();
  Running run(b.finish());
  run.root().gotoFrame(99, false);
  EXPECT_EQ(run.root().currentFrame(), 2);
  run.root().gotoFrame(-5, false);
  EXPECT_EQ(run.root().currentFrame(), 0);
  run.root().prevFrame();
  EXPECT_EQ(run.root().currentFrame(), 0);
}

}  // namespace
