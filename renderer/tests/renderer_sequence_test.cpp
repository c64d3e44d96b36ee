// The renderer's calls on its control, recorded by a stand-in control: ticks,
// jumps and loads for each request, and the settings' effects.
#include <gtest/gtest.h>

#include <regex>

#include "recording_control.h"
#include "renderer_fixture.h"

namespace {

class RendererSequenceTest : public RendererTest {
 protected:
  void SetUp() override {
    RendererTest::SetUp();
    path_ = movie("clip.swf", squareStepMovie(20, 12));
  }

  // The recorded log with the cached copy's name written as "copy".
  std::string log() const { return std::regex_replace(control()->log, std::regex("~SR[0-9A-Fa-f]+\\.tmp"), "copy"); }
  RecordingControl* control() const { return controls_->last(); }

  void openRecorded(const RecordingOptions& options = {}) {
    renderer_.reset();
    controls_.reset();
    controls_.reset(new RecordingControlClass(options));
    ASSERT_TRUE(controls_->registered());
    ASSERT_TRUE(open(renderer_, path_));
    ASSERT_NE(control(), nullptr);
    control()->clearLog();
  }

  void TearDown() override {
    renderer_.reset();
    controls_.reset();
    RendererTest::TearDown();
  }

  std::string path_;
  RendererRef renderer_;
  std::unique_ptr<RecordingControlClass> controls_;
};

TEST_F(RendererSequenceTest, OpeningLoadsSourceThenCopyAndPlaysOnLoop) {
  controls_.reset(new RecordingControlClass);
  ASSERT_TRUE(open(renderer_, path_));
  EXPECT_EQ(log(), "scale(2) load(clip.swf) load(copy) loop play");
  EXPECT_EQ(renderer_->GetCurrentFrame(renderer_.get()), 0);
  EXPECT_TRUE(control()->advised());
}

TEST_F(RendererSequenceTest, FrameByFrameJumpsBeforeEveryTick) {
  openRecorded();
  ASSERT_EQ(renderAlpha(renderer_, 3, nullptr, nullptr), S_OK);
  EXPECT_EQ(log(),
            "rects(120,40) scale(2) goto(1) tick goto(2) tick goto(3) tick "
            "draw(transparent) draw(transparent)");
  EXPECT_EQ(renderer_->GetCurrentFrame(renderer_.get()), 3);
}

TEST_F(RendererSequenceTest, ForwardRendersTickOnlyTheDifference) {
  openRecorded();
  ASSERT_EQ(render(renderer_, 2), S_OK);
  control()->clearLog();
  ASSERT_EQ(render(renderer_, 5), S_OK);
  EXPECT_EQ(log(), "goto(3) tick goto(4) tick goto(5) tick draw(opaque)");
}

TEST_F(RendererSequenceTest, BackwardRenderReloadsAndTicksFromTheStart) {
  openRecorded();
  ASSERT_EQ(renderAlpha(renderer_, 5, nullptr, nullptr), S_OK);
  control()->clearLog();
  ASSERT_EQ(renderAlpha(renderer_, 3, nullptr, nullptr), S_OK);
  EXPECT_EQ(log(),
            "load(clip.swf) load(copy) goto(1) tick goto(2) tick goto(3) tick "
            "draw(transparent) draw(transparent)");
  EXPECT_EQ(control()->ticks, 3);
}

TEST_F(RendererSequenceTest, NormalModePlaysWithoutJumps) {
  openRecorded();
  ASSERT_EQ(renderer_->SetSequenceMode(renderer_.get(), kSequenceNormal), S_OK);
  control()->clearLog();
  ASSERT_EQ(render(renderer_, 2), S_OK);
  EXPECT_EQ(log(), "rects(120,40) scale(2) tick tick draw(opaque)");
}

TEST_F(RendererSequenceTest, FrameZeroAfterOpeningDrawsWithoutTicking) {
  openRecorded();
  ASSERT_EQ(render(renderer_, 0), S_OK);
  EXPECT_EQ(log(), "rects(120,40) scale(2) draw(opaque)");
}

TEST_F(RendererSequenceTest, SameFrameTwiceDrawsOnceAndHandsOutTheSamePixels) {
  openRecorded();
  const BITMAPINFOHEADER *firstHeader = nullptr, *secondHeader = nullptr;
  const BYTE *firstBits = nullptr, *secondBits = nullptr;
  ASSERT_EQ(render(renderer_, 4, &firstHeader, &firstBits), S_OK);
  ASSERT_EQ(render(renderer_, 4, &secondHeader, &secondBits), S_OK);
  EXPECT_EQ(control()->draws, 1);
  EXPECT_EQ(firstHeader, secondHeader);
  EXPECT_EQ(firstBits, secondBits);
  EXPECT_EQ(firstHeader->biBitCount, 24);

  ASSERT_EQ(renderAlpha(renderer_, 4, &firstHeader, &firstBits), S_OK);
  ASSERT_EQ(renderAlpha(renderer_, 4, &secondHeader, &secondBits), S_OK);
  EXPECT_EQ(control()->draws, 3);
  EXPECT_EQ(firstBits, secondBits);
  EXPECT_EQ(firstHeader->biBitCount, 32);
}

TEST_F(RendererSequenceTest, NegativeFrameIsBadOnceTheSinkIsThereAndAFailureBefore) {
  openRecorded();
  EXPECT_EQ(render(renderer_, -1), kRendererEBadFrame);
  EXPECT_EQ(renderAlpha(renderer_, -7, nullptr, nullptr), kRendererEBadFrame);

  openRecorded(RecordingOptions{true, true, false});
  EXPECT_EQ(render(renderer_, -1), E_FAIL);
  EXPECT_EQ(render(renderer_, 3), E_FAIL);
  EXPECT_EQ(render(renderer_, 0), S_OK);
}

TEST_F(RendererSequenceTest, SequenceModeChangesReloadAndReplay) {
  openRecorded();
  EXPECT_EQ(renderer_->SetSequenceMode(renderer_.get(), 0), E_FAIL);
  EXPECT_EQ(renderer_->SetSequenceMode(renderer_.get(), 3), E_FAIL);
  EXPECT_EQ(renderer_->GetSequenceMode(renderer_.get()), kSequenceFrameByFrame);
  ASSERT_EQ(render(renderer_, 2), S_OK);
  control()->clearLog();
  EXPECT_EQ(renderer_->SetSequenceMode(renderer_.get(), kSequenceFrameByFrame), S_OK);
  EXPECT_EQ(log(), "");
  EXPECT_EQ(renderer_->SetSequenceMode(renderer_.get(), kSequenceNormal), S_OK);
  EXPECT_EQ(log(), "load(clip.swf) load(copy) tick tick");
  EXPECT_EQ(renderer_->GetSequenceMode(renderer_.get()), kSequenceNormal);
  EXPECT_EQ(renderer_->GetCurrentFrame(renderer_.get()), 2);
}

TEST_F(RendererSequenceTest, KeepAspectSwitchesTheScaleModeOnlyOnChange) {
  openRecorded();
  EXPECT_EQ(renderer_->SetKeepAspect(renderer_.get(), 1), S_OK);
  EXPECT_EQ(renderer_->SetKeepAspect(renderer_.get(), 1), S_OK);
  EXPECT_EQ(renderer_->SetKeepAspect(renderer_.get(), 5), S_OK);
  EXPECT_EQ(renderer_->SetKeepAspect(renderer_.get(), 0), S_OK);
  EXPECT_EQ(log(), "scale(0) scale(0) scale(2)");
  EXPECT_EQ(renderer_->GetKeepAspect(renderer_.get()), 0);
}

TEST_F(RendererSequenceTest, KeepAspectSetBeforeTheControlIsMadeIsUsedForIt) {
  controls_.reset(new RecordingControlClass);
  ASSERT_EQ(createFrameRenderer(renderer_.out()), S_OK);
  EXPECT_EQ(renderer_->SetKeepAspect(renderer_.get(), 1), S_OK);
  ASSERT_EQ(renderer_->OpenMovie(renderer_.get(), widen(path_).c_str()), S_OK);
  EXPECT_EQ(log(), "scale(0) load(clip.swf) load(copy) loop play");
}

TEST_F(RendererSequenceTest, FrameSizeOfTheLastFrameDoesNothingAndAnyOtherRedraws) {
  openRecorded();
  ASSERT_EQ(render(renderer_, 1), S_OK);
  control()->clearLog();
  EXPECT_EQ(renderer_->SetFrameSize(renderer_.get(), 120, 40), S_OK);
  EXPECT_EQ(log(), "");
  EXPECT_EQ(renderer_->SetFrameSize(renderer_.get(), 60, 30), S_OK);
  EXPECT_EQ(log(), "rects(60,30) scale(2)");
  control()->clearLog();
  const BITMAPINFOHEADER* header = nullptr;
  ASSERT_EQ(render(renderer_, 1, &header), S_OK);
  EXPECT_EQ(log(), "draw(opaque)");
  EXPECT_EQ(header->biWidth, 60);
  EXPECT_EQ(header->biHeight, 30);
}

TEST_F(RendererSequenceTest, ControlWithoutViewCannotRenderAndOneWithoutInPlaceObjectIsNotSized) {
  openRecorded(RecordingOptions{false, true, true});
  EXPECT_EQ(render(renderer_, 0), E_FAIL);
  EXPECT_EQ(renderAlpha(renderer_, 1, nullptr, nullptr), E_FAIL);

  openRecorded(RecordingOptions{true, false, true});
  EXPECT_EQ(render(renderer_, 1), S_OK);
  EXPECT_EQ(log(), "scale(2) goto(1) tick draw(opaque)");
}

TEST_F(RendererSequenceTest, RenderBeforeAnyMovieFailsWithTheCacheStatus) {
  controls_.reset(new RecordingControlClass);
  ASSERT_EQ(createFrameRenderer(renderer_.out()), S_OK);
  EXPECT_EQ(render(renderer_, 0), kRendererECache);
  EXPECT_EQ(renderAlpha(renderer_, 0, nullptr, nullptr), kRendererECache);
}

TEST_F(RendererSequenceTest, DeletedCopyIsRebuiltAndReplayedBeforeTheNextRender) {
  openRecorded();
  ASSERT_EQ(render(renderer_, 3), S_OK);
  ASSERT_EQ(cachedCopies(), 1);
  WIN32_FIND_DATAA found;
  HANDLE search = FindFirstFileA(cache_->file("~SR*.tmp").c_str(), &found);
  ASSERT_NE(search, INVALID_HANDLE_VALUE);
  FindClose(search);
  ASSERT_TRUE(DeleteFileA(cache_->file(found.cFileName).c_str()));
  control()->clearLog();
  ASSERT_EQ(render(renderer_, 4), S_OK);
  EXPECT_EQ(log(),
            "load(clip.swf) load(copy) goto(1) tick goto(2) tick goto(3) tick "
            "goto(4) tick draw(opaque)");
  EXPECT_EQ(cachedCopies(), 1);
  EXPECT_FALSE(mvqtest::fileExists(cache_->file(found.cFileName)));
}

TEST_F(RendererSequenceTest, MovedCacheIsFollowedWithoutRebuilding) {
  openRecorded();
  ASSERT_EQ(render(renderer_, 2), S_OK);
  mvqtest::TempDir elsewhere;
  ASSERT_EQ(renderer_->SetCacheOptions(renderer_.get(), widen(elsewhere.path()).c_str(), 30), S_OK);
  EXPECT_EQ(cachedCopies(), 0);
  control()->clearLog();
  ASSERT_EQ(render(renderer_, 3), S_OK);
  EXPECT_EQ(log(), "load(clip.swf) load(copy) goto(1) tick goto(2) tick goto(3) tick draw(opaque)");
  EXPECT_EQ(elsewhere.entryCount(), 1u);
  clearMovieCache();
}

TEST_F(RendererSequenceTest, HostWindowDestroyedFromOutsideGetsANewControl) {
  openRecorded();
  ASSERT_EQ(render(renderer_, 2), S_OK);
  // The renderer's window is a child of the desktop: look among all of them.
  HWND window = nullptr;
  for (HWND w = GetWindow(GetDesktopWindow(), GW_CHILD); w; w = GetWindow(w, GW_HWNDNEXT)) {
    char name[32] = "";
    GetClassNameA(w, name, sizeof name);
    if (lstrcmpA(name, "AtlAxWin") == 0 && GetWindowThreadProcessId(w, nullptr) == GetCurrentThreadId()) window = w;
  }
  ASSERT_NE(window, nullptr);
  ASSERT_TRUE(DestroyWindow(window));
  ASSERT_EQ(renderer_->SetFrameSize(renderer_.get(), 50, 20), S_OK);
  ASSERT_EQ(controls_->made().size(), 2u);
  EXPECT_EQ(log(), "scale(2) load(clip.swf) load(copy) rects(50,20) scale(2)");
  control()->clearLog();
  // The new control starts from the first frame, and so does the count.
  ASSERT_EQ(render(renderer_, 3), S_OK);
  EXPECT_EQ(log(), "goto(1) tick goto(2) tick goto(3) tick draw(opaque)");
}

TEST_F(RendererSequenceTest, AlphaRenderMattesWhatTheControlLeftUncovered) {
  openRecorded();
  const BITMAPINFOHEADER* header = nullptr;
  const BYTE* bits = nullptr;
  ASSERT_EQ(renderAlpha(renderer_, 2, &header, &bits), S_OK);
  // Covered left half: the control's colour at full alpha.
  const COLORREF drawn = RecordingControl::colourFor(2);
  const BYTE* left = pixelAt(header, bits, 10, 20);
  EXPECT_EQ(left[3], 255);
  EXPECT_EQ(left[2], GetRValue(drawn));
  EXPECT_EQ(left[1], GetGValue(drawn));
  EXPECT_EQ(left[0], GetBValue(drawn));
  // Uncovered right half: the movie's white background, alpha 0.
  const BYTE* right = pixelAt(header, bits, 100, 20);
  EXPECT_EQ(right[3], 0);
  EXPECT_EQ(right[0], 255);
  EXPECT_EQ(right[1], 255);
  EXPECT_EQ(right[2], 255);
}

TEST_F(RendererSequenceTest, LastReleaseDestroysTheWindowAndReleasesTheControl) {
  openRecorded();
  ASSERT_EQ(render(renderer_, 1), S_OK);
  RecordingControl* made = control();
  renderer_->AddRef(renderer_.get());
  EXPECT_EQ(renderer_->Release(renderer_.get()), 1u);
  renderer_.reset();
  // Only the test's own reference is left.
  made->AddRef();
  EXPECT_EQ(made->Release(), 1u);
  EXPECT_FALSE(made->advised());
}

TEST_F(RendererSequenceTest, OnlyIUnknownIsOffered) {
  openRecorded();
  void* object = reinterpret_cast<void*>(1);
  EXPECT_EQ(renderer_->QueryInterface(renderer_.get(), IID_IDispatch, &object), E_NOINTERFACE);
  EXPECT_EQ(object, nullptr);
  ASSERT_EQ(renderer_->QueryInterface(renderer_.get(), IID_IUnknown, &object), S_OK);
  EXPECT_EQ(object, renderer_.get());
  EXPECT_EQ(renderer_->Release(renderer_.get()), 1u);
}

}  // namespace
