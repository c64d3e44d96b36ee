// put_Movie only names a movie after a look at its header; the file is read at
// the movie's first use, so a movie named again before that is never read, and
// a file that cannot be read by then leaves the control without a movie.
#include <gtest/gtest.h>

#include <ocidl.h>

#include "sited_control_test.h"

namespace {

// The file opened with no sharing: nobody else can read it while this lives.
class ExclusiveHold {
 public:
  explicit ExclusiveHold(const std::string& path)
      : handle_(CreateFileA(path.c_str(), GENERIC_READ, 0, nullptr, OPEN_EXISTING, 0, nullptr)) {}
  ~ExclusiveHold() {
    if (held()) CloseHandle(handle_);
  }
  ExclusiveHold(const ExclusiveHold&) = delete;
  ExclusiveHold& operator=(const ExclusiveHold&) = delete;
  bool held() const { return handle_ != INVALID_HANDLE_VALUE; }

 private:
  HANDLE handle_;
};

class DeferredLoadTest : public SitedControlTest {
 protected:
  HRESULT name(const std::string& path) { return flash_->put_Movie(Bstr(path)); }
  void ticks(int n) {
    for (int i = 0; i < n; ++i) ASSERT_EQ(site_.services.service.timer.tick(), S_OK);
  }
  long readyState() {
    long state = -1;
    EXPECT_EQ(flash_->get_ReadyState(&state), S_OK);
    return state;
  }
  HRESULT totalFrames(long* frames) {
    *frames = -1;
    return flash_->get_TotalFrames(frames);
  }
};

TEST_F(DeferredLoadTest, TheFileIsReadAtTheMoviesFirstUseNotWhenNamed) {
  const std::string path = files_.write("movie.swf", steppingMovie(10, 25.0));
  ASSERT_EQ(name(path), S_OK);
  ASSERT_EQ(site_.services.service.timer.advises.size(), 1u) << "advised from the header";
  EXPECT_EQ(site_.services.service.timer.advises[0].intervalMs, 40u);
  mvqtest::writeFile(path, steppingMovie(6, 10.0));
  long frames = 0;
  EXPECT_EQ(totalFrames(&frames), S_OK);
  EXPECT_EQ(frames, 6) << "what the file held at the first use";
  EXPECT_EQ(readyState(), 4);
}

TEST_F(DeferredLoadTest, AMovieNamedAgainBeforeAnyUseIsNeverRead) {
  const std::string first = files_.write("first.swf", steppingMovie(10, 25.0));
  const std::string second = files_.write("second.swf", steppingMovie(6, 10.0));
  ASSERT_EQ(name(first), S_OK);
  ExclusiveHold hold(first);
  ASSERT_TRUE(hold.held());
  ASSERT_EQ(name(second), S_OK);
  long frames = 0;
  EXPECT_EQ(totalFrames(&frames), S_OK);
  EXPECT_EQ(frames, 6);
  EXPECT_EQ(readyState(), 4);
  ticks(2);
  EXPECT_EQ(currentFrame(flash_.get()), 2);
  EXPECT_EQ(name(first), HRESULT_FROM_WIN32(ERROR_SHARING_VIOLATION))
      << "naming a file nobody may read is refused at once";
}

TEST_F(DeferredLoadTest, AFileGoneBeforeTheFirstUseLeavesNoMovieUntilTheNextOne) {
  ASSERT_EQ(name(files_.write("good.swf", steppingMovie(10, 25.0))), S_OK);
  ticks(3);
  const std::string gone = files_.write("gone.swf", steppingMovie(6, 10.0));
  ASSERT_EQ(name(gone), S_OK);
  ASSERT_TRUE(DeleteFileA(gone.c_str()));

  long frames = 0;
  EXPECT_EQ(totalFrames(&frames), HRESULT_FROM_WIN32(ERROR_FILE_NOT_FOUND));
  EXPECT_EQ(frames, 0) << "the previous movie is not shown either";
  EXPECT_EQ(readyState(), 0);
  long percent = -1;
  EXPECT_EQ(flash_->PercentLoaded(&percent), S_OK);
  EXPECT_EQ(percent, 0);
  EXPECT_LT(flash_->GotoFrame(2), 0);
  ticks(2);
  long frame = -1;
  EXPECT_LT(flash_->CurrentFrame(&frame), 0);
  EXPECT_EQ(frame, 0);
  ComPtr<IViewObjectEx> view = flash_.as<IViewObjectEx>(IID_IViewObjectEx);
  Surface24 surface(20, 20);
  const RECTL bounds = {0, 0, 20, 20};
  EXPECT_LT(view->Draw(DVASPECT_CONTENT, -1, nullptr, nullptr, nullptr, surface.dc(), &bounds, nullptr, nullptr, 0), 0);

  mvqtest::writeFile(gone, steppingMovie(6, 10.0));
  ASSERT_EQ(name(gone), S_OK);
  EXPECT_EQ(totalFrames(&frames), S_OK);
  EXPECT_EQ(frames, 6);
  EXPECT_EQ(readyState(), 4);
}

TEST_F(DeferredLoadTest, PlaybackSettingsGivenBeforeTheFirstUseHoldForTheMovie) {
  const std::string a = files_.write("a.swf", steppingMovie(5, 25.0));
  ASSERT_EQ(name(a), S_OK);
  ASSERT_EQ(flash_->put_Loop(VARIANT_FALSE), S_OK);
  ASSERT_EQ(flash_->Play(), S_OK);
  // The load completes from the message loop, before the next use: what the
  // file holds afterwards is not what plays.
  MSG message;
  while (PeekMessageA(&message, nullptr, 0, 0, PM_REMOVE)) DispatchMessageA(&message);
  mvqtest::writeFile(a, steppingMovie(9, 25.0));
  long frames = 0;
  EXPECT_EQ(totalFrames(&frames), S_OK);
  EXPECT_EQ(frames, 5);
  ticks(7);
  EXPECT_EQ(currentFrame(flash_.get()), 4) << "no loop: held at the last frame";

  // The loop setting outlives a load that failed, as it outlives any movie.
  const std::string gone = files_.write("gone.swf", steppingMovie(5, 25.0));
  ASSERT_EQ(name(gone), S_OK);
  ASSERT_TRUE(DeleteFileA(gone.c_str()));
  EXPECT_EQ(readyState(), 0);
  ASSERT_EQ(name(files_.write("b.swf", steppingMovie(5, 25.0))), S_OK);
  ticks(6);
  EXPECT_EQ(currentFrame(flash_.get()), 4);

  ASSERT_EQ(name(files_.write("c.swf", steppingMovie(5, 25.0))), S_OK);
  ASSERT_EQ(flash_->Stop(), S_OK);
  ticks(3);
  EXPECT_EQ(currentFrame(flash_.get()), 0) << "stopped before its first use";
}

// Naming looks at the header only, yet refuses exactly what the player's full
// load refuses, so a movie that was named is one the player can play.
TEST_F(DeferredLoadTest, NamingAcceptsExactlyTheFilesThePlayerLoads) {
  mvqtest::SwfBuilder b;
  b.stage(0, 0, 11000, 8000, 15).frameRate(20.0);
  b.showFrame().showFrame().showFrame();
  std::vector<mvqtest::Bytes> whole = {b.finish(), b.finish(mvqtest::Compression::Zlib, 0),
                                       b.finish(mvqtest::Compression::Zlib, 9)};
  std::vector<mvqtest::Bytes> cases;
  for (const mvqtest::Bytes& movie : whole)
    for (size_t n = 0; n <= movie.size(); ++n) cases.emplace_back(movie.begin(), movie.begin() + n);
  for (uint32_t length : {8u + 12, 8u + 13, (256u << 20) + 9}) {
    mvqtest::Bytes stored = whole[1];
    for (int i = 0; i < 4; ++i) stored[4 + i] = uint8_t(length >> (8 * i));
    cases.push_back(stored);
  }

  int accepted = 0, refused = 0;
  for (size_t i = 0; i < cases.size(); ++i) {
    swf::MoviePlayer reference;
    const bool loads = reference.load(cases[i]);
    const HRESULT hr = name(files_.write("case.swf", cases[i]));
    ASSERT_EQ(SUCCEEDED(hr), loads) << "case " << i << " of " << cases[i].size() << " bytes";
    if (!loads) {
      ++refused;
      continue;
    }
    ++accepted;
    long frames = 0;
    EXPECT_EQ(totalFrames(&frames), S_OK) << "case " << i;
    EXPECT_EQ(frames, reference.frameCount()) << "case " << i;
  }
  EXPECT_GT(accepted, 3);
  EXPECT_GT(refused, 3);
}

}  // namespace
