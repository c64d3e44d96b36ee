// imImportImage through the editor host: which frame a position stands for,
// how the frame lands in the host's buffer, the matte on pixels the control
// drew, and the clip settings' effect on the frames.
#include <gtest/gtest.h>

#include "plugin_fixture.h"
#include "tag_stream.h"
#include "square_movies.h"

namespace {

using editor::HostClip;
using editor::ImageRequest;
using mvqtest::Rect;
using mvqtest::Rgba;
using mvqtest::SwfBuilder;

using FrameDeliveryTest = PluginTest;

TEST_F(FrameDeliveryTest, FramesForwardAndBackwardShowTheirSquare) {
  HostClip& c = describedClip(movie("steps.swf", squareMovie(12, 12)));
  for (int frame : {0, 1, 4, 5, 11, 7, 2}) {
    ImageRequest r;
    ASSERT_EQ(image(c, frame, 120, 40, &r), 0) << frame;
    EXPECT_TRUE(isOpaqueRed(r.pixel(10 * frame + 5, 5))) << frame;
    EXPECT_TRUE(isClearWhite(r.pixel(frame > 0 ? 10 * frame - 5 : 115, 5))) << frame;
    EXPECT_TRUE(r.guardIntact());
  }
}

TEST_F(FrameDeliveryTest, NegativePositionIsFrameZero) {
  HostClip& c = describedClip(movie("zero.swf", squareMovie(5, 12)));
  ImageRequest r;
  r.width = 120;
  r.height = 40;
  ASSERT_EQ(host_.importImage(c, -37, 1, r), 0);
  EXPECT_TRUE(isOpaqueRed(r.pixel(5, 5)));
  ImageRequest hundredths;
  hundredths.width = 120;
  hundredths.height = 40;
  ASSERT_EQ(host_.importImage(c, -250, 100, hundredths), 0);
  EXPECT_TRUE(isOpaqueRed(hundredths.pixel(5, 5)));
}

TEST_F(FrameDeliveryTest, PaddedRowsAreFilledRowByRowAtTheHostsPitch) {
  HostClip& c = describedClip(movie("rows.swf", squareMovie(5, 12)));
  ImageRequest r;
  r.rowBytes = 120 * 4 + 12;
  ASSERT_EQ(image(c, 3, 120, 40, &r), 0);
  EXPECT_TRUE(isOpaqueRed(r.pixel(35, 5)));
  EXPECT_TRUE(isClearWhite(r.pixel(5, 5)));
  for (int row = 0; row < 40; ++row)
    for (int i = 0; i < 12; ++i) ASSERT_EQ(r.buffer[size_t(row) * r.rowBytes + 480 + i], ImageRequest::kFill) << row;
  EXPECT_TRUE(r.guardIntact());
}

TEST_F(FrameDeliveryTest, ExactAndSmallerBuffersAreFilledAsOneBlock) {
  HostClip& c = describedClip(movie("block.swf", squareMovie(5, 12)));
  ImageRequest exact;
  ASSERT_EQ(image(c, 1, 120, 40, &exact), 0);
  EXPECT_TRUE(isOpaqueRed(exact.pixel(15, 5)));
  EXPECT_TRUE(exact.guardIntact());

  // Half a buffer: only its bytes are written, the bottom half of the picture.
  ImageRequest half;
  half.bufferSize = 120 * 4 * 20;
  ASSERT_EQ(image(c, 1, 120, 40, &half), 0);
  EXPECT_TRUE(half.guardIntact());
  EXPECT_TRUE(std::equal(half.buffer.begin(), half.buffer.begin() + half.bufferSize, exact.buffer.begin()));
}

// A blue rectangle on a coloured stage, its left edge on the middle of pixel
// column 2.
mvqtest::Bytes edgeMovie() {
  SwfBuilder b;
  b.stage(Rect::pixels(40, 30)).background(40, 80, 120);
  b.defineRectShape(1, Rect::twips(50, 60, 330, 300), Rgba{0, 0, 255});
  b.placeObject2(1, 1);
  for (int i = 0; i < 2; ++i) b.showFrame();
  return b.finish();
}

TEST_F(FrameDeliveryTest, MatteGivesCoverageAndTheBackgroundUnderIt) {
  HostClip& c = describedClip(movie("edge.swf", edgeMovie()));
  ImageRequest r;
  ASSERT_EQ(image(c, 0, 40, 30, &r), 0);
  const uint8_t* nothing = r.pixel(30, 25);
  EXPECT_EQ(nothing[3], 0);
  EXPECT_EQ(nothing[2], 40);
  EXPECT_EQ(nothing[1], 80);
  EXPECT_EQ(nothing[0], 120);
  const uint8_t* covered = r.pixel(8, 8);
  EXPECT_EQ(covered[3], 255);
  EXPECT_EQ(covered[0], 255);
  EXPECT_EQ(covered[1], 0);
  EXPECT_EQ(covered[2], 0);
  const uint8_t* edge = r.pixel(2, 8);
  EXPECT_GT(edge[3], 64);
  EXPECT_LT(edge[3], 192);
  EXPECT_NEAR(edge[0], edge[3] + (255 - edge[3]) * 120 / 255, 2);
  EXPECT_NEAR(edge[2], (255 - edge[3]) * 40 / 255, 2);
}

TEST_F(FrameDeliveryTest, SameFrameTwiceGivesTheSamePicture) {
  HostClip& c = describedClip(movie("twice.swf", squareMovie(5, 12)));
  ImageRequest first, second;
  ASSERT_EQ(image(c, 3, 120, 40, &first), 0);
  ASSERT_EQ(image(c, 3, 120, 40, &second), 0);
  EXPECT_EQ(first.buffer, second.buffer);
}

TEST_F(FrameDeliveryTest, OtherFrameSizesScaleTheStage) {
  HostClip& c = describedClip(movie("scaled.swf", squareMovie(5, 12)));
  ImageRequest r;
  ASSERT_EQ(image(c, 2, 240, 80, &r), 0);
  EXPECT_TRUE(isOpaqueRed(r.pixel(50, 10)));
  EXPECT_TRUE(isClearWhite(r.pixel(30, 10)));
}

TEST_F(FrameDeliveryTest, SequenceModeOfTheSettingsDecidesTheFrames) {
  HostClip& c = describedClip(movie("stop.swf", mvqtest::stoppingSquareMovie()));
  ImageRequest byFrame;
  ASSERT_EQ(image(c, 3, 120, 40, &byFrame), 0);
  EXPECT_TRUE(isOpaqueRed(byFrame.pixel(35, 5)));
  settingsOf(c)[1] = 2;
  ImageRequest normal;
  ASSERT_EQ(image(c, 4, 120, 40, &normal), 0);
  EXPECT_TRUE(isOpaqueRed(normal.pixel(5, 5)));
  EXPECT_TRUE(isClearWhite(normal.pixel(45, 5)));
  // Without settings the renderer keeps what it was last given.
  ImageRequest kept;
  kept.withSettings = false;
  ASSERT_EQ(image(c, 5, 120, 40, &kept), 0);
  EXPECT_TRUE(isOpaqueRed(kept.pixel(5, 5)));
}

TEST_F(FrameDeliveryTest, KeepAspectLetterboxesAWideStage) {
  SwfBuilder b;
  b.stage(Rect::pixels(100, 50)).background(255, 255, 255);
  b.defineRectShape(1, Rect::twips(0, 0, 2000, 1000), Rgba{255, 0, 0});
  b.placeObject2(1, 1);
  for (int i = 0; i < 2; ++i) b.showFrame();
  HostClip& c = describedClip(movie("wide.swf", b.finish()));
  ImageRequest stretched;
  ASSERT_EQ(image(c, 0, 100, 100, &stretched), 0);
  EXPECT_TRUE(isOpaqueRed(stretched.pixel(50, 5)));
  settingsOf(c)[2] = 1;
  ImageRequest kept;
  ASSERT_EQ(image(c, 1, 100, 100, &kept), 0);
  EXPECT_EQ(kept.pixel(50, 5)[3], 0);
  EXPECT_TRUE(isOpaqueRed(kept.pixel(50, 50)));
}

TEST_F(FrameDeliveryTest, RefusedSettingsAndSizesAndMissingClipsAreAnswered) {
  HostClip& c = describedClip(movie("refuse.swf", squareMovie(5, 12)));
  settingsOf(c)[1] = 7;
  ImageRequest badMode;
  EXPECT_EQ(image(c, 1, 120, 40, &badMode), 4);
  settingsOf(c)[1] = 1;
  ImageRequest huge;
  huge.bufferSize = 16;
  EXPECT_EQ(image(c, 1, 200000, 200000, &huge), 5);
  EXPECT_TRUE(huge.guardIntact());
  HostClip& unopened = clip(movies_->file("never.swf"));
  ImageRequest none;
  EXPECT_EQ(image(unopened, 0, 10, 10, &none), 5);
}

TEST_F(FrameDeliveryTest, DeletedCopyIsRebuiltBeforeTheNextFrame) {
  HostClip& c = describedClip(movie("lost.swf", squareMovie(8, 12)));
  ImageRequest before;
  ASSERT_EQ(image(c, 3, 120, 40, &before), 0);
  WIN32_FIND_DATAA found;
  HANDLE search = FindFirstFileA((temp_->path() + "\\~SR*.tmp").c_str(), &found);
  ASSERT_NE(search, INVALID_HANDLE_VALUE);
  FindClose(search);
  ASSERT_TRUE(DeleteFileA((temp_->path() + "\\" + found.cFileName).c_str()));
  ImageRequest after;
  ASSERT_EQ(image(c, 4, 120, 40, &after), 0);
  EXPECT_TRUE(isOpaqueRed(after.pixel(45, 5)));
  EXPECT_TRUE(isClearWhite(after.pixel(35, 5)));
  EXPECT_EQ(cachedCopies(), 1);
}

}  // namespace
