// The control's clock is the host's: what it advises, and that frames move
// only on the host's ticks.
#include <gtest/gtest.h>

#include "sited_control_test.h"

namespace {

class TimerContractTest : public SitedControlTest {
 protected:
  HRESULT load(const mvqtest::Bytes& movie, const char* name = "movie.swf") {
    paths_.push_back(files_.write(name, movie));
    return flash_->put_Movie(Bstr(paths_.back()));
  }
  RecordingTimer& timer() { return site_.services.service.timer; }
  void ticks(int n) {
    for (int i = 0; i < n; ++i) ASSERT_EQ(timer().tick(), S_OK);
  }
  long totalFrames() {
    long frames = -1;
    flash_->get_TotalFrames(&frames);
    return frames;
  }

  std::vector<std::string> paths_;
};

TEST_F(TimerContractTest, LoadingAdvisesTheFrameIntervalInMilliseconds) {
  ASSERT_EQ(load(steppingMovie(10, 25.0)), S_OK);
  ASSERT_EQ(timer().advises.size(), 1u);
  const AdviseCall& call = timer().advises[0];
  EXPECT_EQ(call.intervalType, VT_UI4);
  EXPECT_EQ(call.intervalMs, 40u);
  ASSERT_NE(call.sink, nullptr);
  ComPtr<IUnknown> sinkIdentity, flashIdentity;
  call.sink->QueryInterface(IID_IUnknown, sinkIdentity.outVoid());
  flash_->QueryInterface(IID_IUnknown, flashIdentity.outVoid());
  EXPECT_EQ(sinkIdentity.get(), flashIdentity.get()) << "the control itself is the sink";
  EXPECT_EQ(site_.services.service.timersCreated, 1);
}

TEST_F(TimerContractTest, NothingAdvancesWithoutTicks) {
  ASSERT_EQ(load(steppingMovie(10, 12.0)), S_OK);
  EXPECT_EQ(timer().advises.at(0).intervalMs, 83u);
  EXPECT_EQ(currentFrame(flash_.get()), 0);
  flash_->Play();
  MSG msg;
  for (int i = 0; i < 50; ++i) {
    while (PeekMessageW(&msg, nullptr, 0, 0, PM_REMOVE)) DispatchMessageW(&msg);
    Sleep(2);
  }
  EXPECT_EQ(currentFrame(flash_.get()), 0);
  VARIANT_BOOL playing = VARIANT_FALSE;
  flash_->IsPlaying(&playing);
  EXPECT_EQ(playing, VARIANT_TRUE) << "a loaded movie plays";
}

TEST_F(TimerContractTest, EachTickAdvancesOneFrameAndLoopsByDefault) {
  ASSERT_EQ(load(steppingMovie(10, 25.0)), S_OK);
  ticks(3);
  EXPECT_EQ(currentFrame(flash_.get()), 3);
  ticks(6);
  EXPECT_EQ(currentFrame(flash_.get()), 9);
  ticks(1);
  EXPECT_EQ(currentFrame(flash_.get()), 0) << "restarts after the last frame";

  ASSERT_EQ(flash_->put_Loop(VARIANT_FALSE), S_OK);
  ticks(12);
  EXPECT_EQ(currentFrame(flash_.get()), 9) << "without loop it stays on the last frame";
  ASSERT_EQ(flash_->put_Loop(VARIANT_TRUE), S_OK);
  flash_->Play();
  ticks(1);
  EXPECT_EQ(currentFrame(flash_.get()), 0);
}

TEST_F(TimerContractTest, StopHoldsPlayResumesRewindReturns) {
  ASSERT_EQ(load(steppingMovie(10, 25.0)), S_OK);
  ticks(2);
  ASSERT_EQ(flash_->Stop(), S_OK);
  ticks(3);
  EXPECT_EQ(currentFrame(flash_.get()), 2);
  ASSERT_EQ(flash_->Play(), S_OK);
  ticks(1);
  EXPECT_EQ(currentFrame(flash_.get()), 3);
  ASSERT_EQ(flash_->Rewind(), S_OK);
  EXPECT_EQ(currentFrame(flash_.get()), 0);
  long frame = -1;
  flash_->CurrentFrame(&frame);
  EXPECT_EQ(frame, 0);
}

TEST_F(TimerContractTest, GotoFrameHoldsTheMainTimelineUntilPlay) {
  ASSERT_EQ(load(steppingMovie(10, 25.0)), S_OK);
  ASSERT_EQ(flash_->GotoFrame(4), S_OK);
  EXPECT_EQ(currentFrame(flash_.get()), 4);
  ticks(2);
  EXPECT_EQ(currentFrame(flash_.get()), 4);
  ASSERT_EQ(flash_->GotoFrame(2), S_OK);
  EXPECT_EQ(currentFrame(flash_.get()), 2) << "backwards too";
  ASSERT_EQ(flash_->GotoFrame(500), S_OK);
  EXPECT_EQ(currentFrame(flash_.get()), 9) << "clamped to the last frame";
  flash_->GotoFrame(5);
  flash_->Play();
  ticks(1);
  EXPECT_EQ(currentFrame(flash_.get()), 6);
}

TEST_F(TimerContractTest, SecondMovieReplacesTheAdvise) {
  ASSERT_EQ(load(steppingMovie(10, 25.0), "a.swf"), S_OK);
  ticks(4);
  ASSERT_EQ(load(steppingMovie(6, 10.0), "b.swf"), S_OK);
  EXPECT_EQ(timer().calls, "AUA");
  ASSERT_EQ(timer().advises.size(), 2u);
  EXPECT_EQ(timer().unadvised.at(0), timer().advises[0].cookie);
  EXPECT_EQ(timer().advises[1].intervalMs, 100u);
  EXPECT_EQ(currentFrame(flash_.get()), 0);
  EXPECT_EQ(totalFrames(), 6);
  ticks(1);
  EXPECT_EQ(currentFrame(flash_.get()), 1);
}

TEST_F(TimerContractTest, FailedLoadsKeepThePreviousMovieAndClock) {
  ASSERT_EQ(load(steppingMovie(10, 25.0), "good.swf"), S_OK);
  ticks(2);
  mvqtest::Bytes good = steppingMovie(10, 25.0);
  mvqtest::Bytes truncated(good.begin(), good.begin() + 6);
  mvqtest::Bytes notSwf = {'G', 'I', 'F', '8', '9', 'a', 0, 0, 0, 0, 0, 0};
  EXPECT_LT(load(truncated, "truncated.swf"), 0);
  EXPECT_LT(load(notSwf, "gif.swf"), 0);
  EXPECT_LT(load({}, "empty.swf"), 0);
  EXPECT_LT(flash_->put_Movie(Bstr(files_.file("missing.swf"))), 0);
  EXPECT_LT(flash_->put_Movie(Bstr(L"")), 0);
  EXPECT_LT(flash_->put_Movie(nullptr), 0);

  EXPECT_EQ(timer().calls, "A");
  EXPECT_EQ(totalFrames(), 10);
  EXPECT_EQ(currentFrame(flash_.get()), 2);
  ticks(1);
  EXPECT_EQ(currentFrame(flash_.get()), 3);
  BSTR movie = nullptr;
  ASSERT_EQ(flash_->get_Movie(&movie), S_OK);
  EXPECT_EQ(std::wstring(movie), std::wstring(Bstr(paths_[0])));
  SysFreeString(movie);
}

TEST_F(TimerContractTest, CompressedMoviesLoad) {
  mvqtest::SwfBuilder b;
  b.frameRate(20.0).background(10, 20, 30);
  for (int i = 0; i < 3; ++i) b.showFrame();
  ASSERT_EQ(load(b.finish(mvqtest::Compression::Zlib)), S_OK);
  EXPECT_EQ(totalFrames(), 3);
  EXPECT_EQ(timer().advises.at(0).intervalMs, 50u);
}

TEST_F(TimerContractTest, LeavingTheSiteUnadvises) {
  ASSERT_EQ(load(steppingMovie(10, 25.0)), S_OK);
  ASSERT_EQ(ole_->Close(OLECLOSE_NOSAVE), S_OK);
  EXPECT_EQ(timer().calls, "AU");
  EXPECT_EQ(timer().sink, nullptr);
  ole_->SetClientSite(nullptr);
  EXPECT_EQ(timer().calls, "AU") << "only once";
  EXPECT_EQ(site_.ref, 1) << "the site is released";
}

TEST_F(TimerContractTest, WithoutATimerServiceTheMovieStillLoadsAndWaits) {
  site_.offerServices = false;
  ASSERT_EQ(load(steppingMovie(10, 25.0)), S_OK);
  EXPECT_TRUE(timer().advises.empty());
  EXPECT_EQ(currentFrame(flash_.get()), 0);
}

TEST_F(TimerContractTest, QualityNumbersAndNamesKeepWhatWasSet) {
  int quality = -1;
  BSTR name = nullptr;
  ASSERT_EQ(flash_->get_Quality(&quality), S_OK);
  EXPECT_EQ(quality, 1) << "high by default";
  ASSERT_EQ(flash_->get_Quality2(&name), S_OK);
  EXPECT_STREQ(name, L"High");
  SysFreeString(name);
  ASSERT_EQ(flash_->put_Quality2(Bstr(L"autolow")), S_OK);
  flash_->get_Quality(&quality);
  EXPECT_EQ(quality, 2);
  ASSERT_EQ(flash_->put_Quality(0), S_OK);
  flash_->get_Quality2(&name);
  EXPECT_STREQ(name, L"Low");
  SysFreeString(name);
  ASSERT_EQ(flash_->put_Quality2(Bstr(L"BEST")), S_OK);
  flash_->get_Quality2(&name);
  EXPECT_STREQ(name, L"Best");
  SysFreeString(name);
  flash_->get_Quality(&quality);
  EXPECT_EQ(quality, 1) << "the number reads best as high";
  EXPECT_EQ(flash_->put_Quality(4), E_INVALIDARG);
  EXPECT_EQ(flash_->put_Quality2(Bstr(L"ultra")), E_INVALIDARG);
  EXPECT_EQ(flash_->put_Quality2(nullptr), E_INVALIDARG);
  flash_->get_Quality2(&name);
  EXPECT_STREQ(name, L"Best") << "refused settings change nothing";
  SysFreeString(name);
}

TEST_F(TimerContractTest, ScaleModeAndWindowModeKeepWhatWasSet) {
  int mode = -1;
  ASSERT_EQ(flash_->get_ScaleMode(&mode), S_OK);
  EXPECT_EQ(mode, 0);
  ASSERT_EQ(flash_->put_ScaleMode(2), S_OK);
  flash_->get_ScaleMode(&mode);
  EXPECT_EQ(mode, 2);
  EXPECT_EQ(flash_->put_ScaleMode(3), E_INVALIDARG) << "no scale is not drawn";
  EXPECT_EQ(flash_->put_ScaleMode(-7), E_INVALIDARG);
  flash_->get_ScaleMode(&mode);
  EXPECT_EQ(mode, 2);
  // The Scale property names the same modes.
  ASSERT_EQ(flash_->put_Scale(Bstr(L"noborder")), S_OK);
  flash_->get_ScaleMode(&mode);
  EXPECT_EQ(mode, 1);
  BSTR scale = nullptr;
  ASSERT_EQ(flash_->get_Scale(&scale), S_OK);
  EXPECT_STREQ(scale, L"NoBorder");
  SysFreeString(scale);
  EXPECT_EQ(flash_->put_Scale(Bstr(L"NoScale")), E_INVALIDARG);
  EXPECT_EQ(flash_->put_Scale(nullptr), E_INVALIDARG);
  ASSERT_EQ(flash_->put_ScaleMode(2), S_OK);

  ASSERT_EQ(flash_->put_WMode(Bstr(L"transparent")), S_OK);
  BSTR text = nullptr;
  flash_->get_WMode(&text);
  EXPECT_STREQ(text, L"Transparent");
  SysFreeString(text);
  EXPECT_EQ(flash_->put_WMode(Bstr(L"Glass")), E_INVALIDARG);
  ASSERT_EQ(flash_->put_WMode(Bstr(L"Opaque")), S_OK);
  flash_->get_WMode(&text);
  EXPECT_STREQ(text, L"Opaque");
  SysFreeString(text);
}

TEST_F(TimerContractTest, TargetsOtherThanTheMainTimelineAreRefused) {
  ASSERT_EQ(load(steppingMovie(10, 25.0)), S_OK);
  long frame = -1;
  EXPECT_EQ(flash_->TCurrentFrame(Bstr(L"_level0"), &frame), S_OK);
  EXPECT_EQ(frame, 0);
  EXPECT_EQ(flash_->TCurrentFrame(Bstr(L"/clip"), &frame), E_NOTIMPL);
  EXPECT_EQ(flash_->TCurrentFrame(nullptr, &frame), E_NOTIMPL);
  EXPECT_EQ(flash_->TCurrentFrame(Bstr(L"/"), nullptr), E_POINTER);
}

TEST_F(TimerContractTest, HostileMoviesNeitherCrashNorHang) {
  mvqtest::SwfBuilder endless;  // a frame action that jumps to itself forever
  endless.doAction(mvqtest::ActionBuilder().jump(-5)).showFrame().showFrame();
  mvqtest::TagStream nested;  // a clip that holds itself
  nested.placeObject2(1, 1).showFrame();
  mvqtest::SwfBuilder recursive;
  recursive.defineSprite(1, nested).placeObject2(1, 1).showFrame();
  mvqtest::SwfBuilder huge;  // claims 65535 frames, has one
  huge.frameCount(65535).showFrame();
  const mvqtest::Bytes movies[] = {endless.finish(), recursive.finish(), huge.finish()};
  int loaded = 0;
  for (const mvqtest::Bytes& movie : movies) {
    if (FAILED(load(movie))) continue;
    ++loaded;
    ticks(3);
    flash_->GotoFrame(1000);
    flash_->Rewind();
    EXPECT_GE(currentFrame(flash_.get()), 0);
  }
  EXPECT_GE(loaded, 2) << "well-formed if unkind movies are played";
}

}  // namespace
