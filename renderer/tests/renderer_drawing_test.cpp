// Frames drawn by the registered stand-in Flash control through the renderer:
// positions per frame and sequence mode, the matte's cases on pixels the
// control drew, aspect handling, shared and rebuilt copies, movie facts.
#include <gtest/gtest.h>

#include <cstring>
#include <string>

#include "renderer_fixture.h"
#include "renderer_lock.h"
#include "tag_stream.h"
#include "square_movies.h"

namespace {

using mvqtest::Bytes;
using mvqtest::Compression;
using mvqtest::Rect;
using mvqtest::Rgba;
using mvqtest::SwfBuilder;

class RendererDrawingTest : public RendererTest {
 protected:
  // Alpha render of frame; the pixel at (x, y).
  const BYTE* alphaPixel(const RendererRef& r, int frame, int x, int y) {
    const BITMAPINFOHEADER* header = nullptr;
    const BYTE* bits = nullptr;
    const HRESULT hr = renderAlpha(r, frame, &header, &bits);
    EXPECT_EQ(hr, S_OK) << "frame " << frame;
    if (FAILED(hr)) return kNothing;
    return pixelAt(header, bits, x, y);
  }
  static bool isOpaqueRed(const BYTE* p) { return p[3] == 255 && p[2] == 255 && p[1] == 0 && p[0] == 0; }
  static bool isClearWhite(const BYTE* p) { return p[3] == 0 && p[2] == 255 && p[1] == 255 && p[0] == 255; }
  static constexpr BYTE kNothing[4] = {1, 2, 3, 4};
};

TEST_F(RendererDrawingTest, EachFrameShowsItsSquareForwardAndBackward) {
  RendererRef r;
  ASSERT_TRUE(open(r, movie("steps.swf", squareStepMovie(10, 12))));
  for (int frame : {0, 1, 2, 5, 9, 3}) {
    EXPECT_TRUE(isOpaqueRed(alphaPixel(r, frame, 10 * frame + 5, 5))) << frame;
    EXPECT_TRUE(isClearWhite(alphaPixel(r, frame, 10 * frame + 15, 5))) << frame;
  }
}

TEST_F(RendererDrawingTest, OpaqueFrameIsTheStageWithItsBackground) {
  RendererRef r;
  ASSERT_TRUE(open(r, movie("steps.swf", squareStepMovie(10, 12))));
  const BITMAPINFOHEADER* header = nullptr;
  const BYTE* bits = nullptr;
  ASSERT_EQ(render(r, 4, &header, &bits), S_OK);
  EXPECT_EQ(header->biBitCount, 24);
  EXPECT_EQ(header->biWidth, 120);
  EXPECT_EQ(header->biHeight, 40);
  const BYTE* square = pixelAt(header, bits, 45, 5);
  EXPECT_EQ(square[2], 255);
  EXPECT_EQ(square[0], 0);
  const BYTE* stage = pixelAt(header, bits, 100, 30);
  EXPECT_EQ(stage[0], 255);
  EXPECT_EQ(stage[1], 255);
  EXPECT_EQ(stage[2], 255);
}

// A blue rectangle whose left edge falls on the middle of pixel column 2, on
// a coloured stage.
Bytes edgeMovie() {
  SwfBuilder b;
  b.stage(Rect::pixels(40, 30)).background(40, 80, 120);
  b.defineRectShape(1, Rect::twips(50, 60, 330, 300), Rgba{0, 0, 255});
  b.placeObject2(1, 1);
  b.showFrame();
  return b.finish();
}

TEST_F(RendererDrawingTest, MatteSeparatesCoveredUncoveredAndHalfCoveredPixels) {
  RendererRef r;
  ASSERT_TRUE(open(r, movie("edge.swf", edgeMovie())));
  const BITMAPINFOHEADER* header = nullptr;
  const BYTE* bits = nullptr;
  ASSERT_EQ(renderAlpha(r, 0, &header, &bits), S_OK);
  EXPECT_EQ(header->biBitCount, 32);

  const BYTE* nothing = pixelAt(header, bits, 30, 25);
  EXPECT_EQ(nothing[3], 0);
  EXPECT_EQ(nothing[2], 40);  // the stage colour
  EXPECT_EQ(nothing[1], 80);
  EXPECT_EQ(nothing[0], 120);

  const BYTE* covered = pixelAt(header, bits, 8, 8);
  EXPECT_EQ(covered[3], 255);
  EXPECT_EQ(covered[0], 255);
  EXPECT_EQ(covered[1], 0);
  EXPECT_EQ(covered[2], 0);

  const BYTE* edge = pixelAt(header, bits, 2, 8);
  const int alpha = edge[3];
  EXPECT_GT(alpha, 64);
  EXPECT_LT(alpha, 192);
  // Blue at that coverage laid over the stage colour.
  EXPECT_NEAR(edge[0], alpha + (255 - alpha) * 120 / 255, 2);
  EXPECT_NEAR(edge[1], (255 - alpha) * 80 / 255, 2);
  EXPECT_NEAR(edge[2], (255 - alpha) * 40 / 255, 2);
}

TEST_F(RendererDrawingTest, FrameByFrameFollowsTheTimelineAndNormalFollowsPlayback) {
  const std::string path = movie("stop.swf", mvqtest::stoppingSquareMovie());
  RendererRef byFrame, normal;
  ASSERT_TRUE(open(byFrame, path));
  ASSERT_TRUE(open(normal, path));
  ASSERT_EQ(normal->SetSequenceMode(normal.get(), kSequenceNormal), S_OK);
  EXPECT_TRUE(isOpaqueRed(alphaPixel(byFrame, 3, 35, 5)));
  EXPECT_TRUE(isOpaqueRed(alphaPixel(normal, 3, 5, 5)));
  EXPECT_TRUE(isClearWhite(alphaPixel(normal, 3, 35, 5)));
  // Switching a rendered clip replays it in the new mode.
  ASSERT_EQ(byFrame->SetSequenceMode(byFrame.get(), kSequenceNormal), S_OK);
  ASSERT_EQ(byFrame->SetFrameSize(byFrame.get(), 120, 41), S_OK);
  EXPECT_TRUE(isOpaqueRed(alphaPixel(byFrame, 3, 5, 5)));
}

TEST_F(RendererDrawingTest, KeepAspectLetterboxesAndStretchingFills) {
  SwfBuilder b;
  b.stage(Rect::pixels(100, 50)).background(255, 255, 255);
  b.defineRectShape(1, Rect::twips(0, 0, 2000, 1000), Rgba{255, 0, 0});
  b.placeObject2(1, 1);
  b.showFrame();
  RendererRef r;
  ASSERT_TRUE(open(r, movie("wide.swf", b.finish())));
  ASSERT_EQ(r->SetFrameSize(r.get(), 100, 100), S_OK);
  EXPECT_TRUE(isOpaqueRed(alphaPixel(r, 0, 50, 5)));
  ASSERT_EQ(r->SetKeepAspect(r.get(), 1), S_OK);
  ASSERT_EQ(r->SetFrameSize(r.get(), 100, 101), S_OK);
  EXPECT_EQ(alphaPixel(r, 0, 50, 5)[3], 0);
  EXPECT_TRUE(isOpaqueRed(alphaPixel(r, 0, 50, 50)));
}

TEST_F(RendererDrawingTest, TwoClipsOfOneMovieShareOneCopy) {
  const std::string path = movie("twice.swf", squareStepMovie(8, 12));
  RendererRef first, second;
  ASSERT_TRUE(open(first, path));
  ASSERT_TRUE(open(second, path));
  EXPECT_EQ(cachedCopies(), 1);
  EXPECT_TRUE(isOpaqueRed(alphaPixel(first, 6, 65, 5)));
  EXPECT_TRUE(isOpaqueRed(alphaPixel(second, 2, 25, 5)));
  second.reset();
  {
    RendererLock lock;
    CacheEntry* entry = findInUseEntry(path.c_str());
    ASSERT_NE(entry, nullptr);
    EXPECT_EQ(entry->refCount, 1);
  }
  EXPECT_TRUE(isOpaqueRed(alphaPixel(first, 7, 75, 5)));
}

TEST_F(RendererDrawingTest, CopyDeletedBehindTheRendererIsRebuiltAndReplayed) {
  RendererRef r;
  ASSERT_TRUE(open(r, movie("lost.swf", squareStepMovie(8, 12))));
  EXPECT_TRUE(isOpaqueRed(alphaPixel(r, 3, 35, 5)));
  WIN32_FIND_DATAA found;
  HANDLE search = FindFirstFileA(cache_->file("~SR*.tmp").c_str(), &found);
  ASSERT_NE(search, INVALID_HANDLE_VALUE);
  FindClose(search);
  ASSERT_TRUE(DeleteFileA(cache_->file(found.cFileName).c_str()));
  EXPECT_TRUE(isOpaqueRed(alphaPixel(r, 4, 45, 5)));
  EXPECT_EQ(cachedCopies(), 1);
}

// The control reads its movie only when first drawn: a copy gone between the
// opening and that draw is rebuilt first.
TEST_F(RendererDrawingTest, CopyDeletedBeforeTheFirstRenderIsRebuiltForIt) {
  RendererRef r;
  ASSERT_TRUE(open(r, movie("early.swf", squareStepMovie(8, 12))));
  WIN32_FIND_DATAA found;
  HANDLE search = FindFirstFileA(cache_->file("~SR*.tmp").c_str(), &found);
  ASSERT_NE(search, INVALID_HANDLE_VALUE);
  FindClose(search);
  ASSERT_TRUE(DeleteFileA(cache_->file(found.cFileName).c_str()));
  EXPECT_TRUE(isOpaqueRed(alphaPixel(r, 0, 5, 5)));
  EXPECT_TRUE(isOpaqueRed(alphaPixel(r, 2, 25, 5)));
  EXPECT_EQ(cachedCopies(), 1);
}

TEST_F(RendererDrawingTest, MovieInfoDescribesTheStageUnrounded) {
  SwfBuilder b;
  b.version(7).stage(Rect::twips(0, 0, 11010, 8018)).frameRateRaw(0x1DF8).background(1, 2, 3);
  for (int i = 0; i < 4; ++i) b.showFrame();
  const std::string path = movie("odd.swf", b.finish(Compression::Zlib));
  RendererRef r;
  ASSERT_TRUE(open(r, path));
  MovieInfo info;
  std::memset(&info, 0xCC, sizeof info);
  ASSERT_EQ(r->GetMovieInfo(r.get(), &info), S_OK);
  EXPECT_EQ(info.cbSize, 64u);
  EXPECT_EQ(info.version, 7);
  EXPECT_EQ(info.compressed, 1);
  EXPECT_DOUBLE_EQ(info.width, 550.5);
  EXPECT_DOUBLE_EQ(info.height, 400.9);
  EXPECT_EQ(info.frameCount, 4);
  EXPECT_DOUBLE_EQ(info.frameRate, 29.96875);
  EXPECT_EQ(info.backgroundColor, 0x00030201u);
  EXPECT_STREQ(info.controlVersion, "9.0.124.0");
  const BITMAPINFOHEADER* header = nullptr;
  ASSERT_EQ(renderAlpha(r, 0, &header, nullptr), S_OK);
  EXPECT_EQ(header->biWidth, 550);
  EXPECT_EQ(header->biHeight, 400);

  // A second clip finds the copy made: the flag stays as constructed.
  RendererRef again;
  ASSERT_TRUE(open(again, path));
  ASSERT_EQ(again->GetMovieInfo(again.get(), &info), S_OK);
  EXPECT_EQ(info.compressed, 0);
}

TEST_F(RendererDrawingTest, MovieWithoutBackgroundKeepsThePreviousColour) {
  SwfBuilder plain;
  for (int i = 0; i < 5; ++i) plain.showFrame();
  RendererRef r;
  ASSERT_TRUE(open(r, movie("coloured.swf", squareStepMovie(2, 12))));
  ASSERT_EQ(r->OpenMovie(r.get(), widen(movie("plain.swf", plain.finish())).c_str()), S_OK);
  MovieInfo info;
  ASSERT_EQ(r->GetMovieInfo(r.get(), &info), S_OK);
  EXPECT_EQ(info.backgroundColor, 0x00FFFFFFu);
  EXPECT_EQ(cachedCopies(), 2);
}

TEST_F(RendererDrawingTest, UnusableMoviesFailToOpenAndTheRendererStaysUsable) {
  RendererRef r;
  ASSERT_EQ(createFrameRenderer(r.out()), S_OK);
  ASSERT_EQ(r->SetCacheOptions(r.get(), widen(cacheDir()).c_str(), 30), S_OK);
  EXPECT_EQ(r->OpenMovie(r.get(), L""), E_FAIL);
  EXPECT_EQ(r->OpenMovie(r.get(), nullptr), E_FAIL);
  EXPECT_EQ(r->OpenMovie(r.get(), widen(movies_->file("missing.swf")).c_str()), kRendererEMovieInvalid);
  EXPECT_EQ(r->OpenMovie(r.get(), widen(movie("text.swf", Bytes(100, 'x'))).c_str()), kRendererEMovieInvalid);
  Bytes cut = squareStepMovie(3, 12);
  cut.resize(12);
  EXPECT_EQ(r->OpenMovie(r.get(), widen(movie("cut.swf", cut)).c_str()), kRendererEMovieInvalid);
  ASSERT_EQ(r->OpenMovie(r.get(), widen(movie("good.swf", squareStepMovie(3, 12))).c_str()), S_OK);
  EXPECT_TRUE(isOpaqueRed(alphaPixel(r, 2, 25, 5)));
}

// Three frames; the first loads child.swf into _level1.
Bytes loadingMovie() {
  mvqtest::ActionBuilder load;
  const std::string target = std::string("child.swf") + '\0' + "_level1" + '\0';
  load.action(0x83, Bytes(target.begin(), target.end()));  // GetURL
  SwfBuilder b;
  b.version(6).stage(Rect::pixels(40, 30)).background(255, 255, 255);
  b.doAction(load).showFrame().showFrame().showFrame();
  return b.finish();
}

TEST_F(RendererDrawingTest, AMovieLoadsFilesFromBesideItsSourceNotItsCachedCopy) {
  SwfBuilder child;
  child.version(6).stage(Rect::pixels(40, 30));
  child.defineRectShape(1, Rect::pixels(40, 30), Rgba{255, 0, 0}).placeObject2(1, 1).showFrame();
  movie("child.swf", child.finish());
  RendererRef r;
  ASSERT_TRUE(open(r, movie("loading.swf", loadingMovie())));
  EXPECT_TRUE(isClearWhite(alphaPixel(r, 0, 20, 15))) << "the load arrives with a later frame";
  EXPECT_TRUE(isOpaqueRed(alphaPixel(r, 2, 20, 15)));
}

}  // namespace
