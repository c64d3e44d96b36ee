// The control hosted as the deliverables host it ("AtlAxWin" window, attach,
// a site with the timer service) and drawn into 24-bit surfaces: its pictures
// are the native player's.
#include <gtest/gtest.h>

#include <algorithm>
#include <cstdlib>
#include <cstring>
#include <functional>

#include "atl_containment.h"
#include "host_services.h"
#include "stand_in.h"
#include "text_writer.h"

namespace {

class ControlDrawingTest : public ::testing::Test {
 protected:
  void SetUp() override {
    ASSERT_TRUE(SUCCEEDED(OleInitialize(nullptr)));
    ASSERT_TRUE(AtlAxWinInit());
    flash_ = createStandIn();
    ASSERT_TRUE(flash_);
  }
  void TearDown() override {
    if (window_) DestroyWindow(window_);
    flash_.reset();
    AtlAxWinTerm();
    OleUninitialize();
  }

  // Hosts the control in a hidden window whose client area is width x height,
  // with a site that offers the timer service, and loads movie.
  void host(const mvqtest::Bytes& movie, int width, int height, const wchar_t* mode = L"Opaque") {
    ASSERT_EQ(flash_->put_WMode(Bstr(mode)), S_OK);
    window_ = CreateWindowExA(0, "AtlAxWin", nullptr, WS_CHILD, CW_USEDEFAULT, CW_USEDEFAULT, CW_USEDEFAULT,
                              CW_USEDEFAULT, GetDesktopWindow(), nullptr, nullptr, nullptr);
    ASSERT_NE(window_, nullptr);
    resize(width, height);
    ASSERT_EQ(AtlAxAttachControl(flash_.get(), window_, nullptr), S_OK);
    ComPtr<IUnknown> hostObject;
    ASSERT_EQ(AtlAxGetHost(window_, hostObject.out()), S_OK);
    auto withSite = hostObject.as<IObjectWithSite>(IID_IObjectWithSite);
    ASSERT_TRUE(withSite);
    ASSERT_EQ(withSite->SetSite(&services_), S_OK);
    movie_ = movie;
    ASSERT_EQ(flash_->put_Movie(Bstr(files_.write("movie.swf", movie))), S_OK);
    ASSERT_TRUE(reference_.load(movie));
  }
  void resize(int width, int height) { SetWindowPos(window_, nullptr, 0, 0, width, height, SWP_NOZORDER | SWP_NOMOVE); }
  // One host tick, given to the control and to the reference player alike.
  void tick() {
    ASSERT_EQ(services_.service.timer.tick(), S_OK);
    reference_.tick();
  }
  HRESULT draw(HDC dc, const RECTL* bounds = nullptr) {
    auto view = flash_.as<IViewObjectEx>(IID_IViewObjectEx);
    if (!view) return E_NOINTERFACE;
    return view->Draw(DVASPECT_CONTENT, -1, nullptr, nullptr, nullptr, dc, bounds, nullptr, nullptr, 0);
  }

  ComPtr<IShockwaveFlash> flash_;
  HWND window_ = nullptr;
  TimerServiceProvider services_;
  mvqtest::TempDir files_;
  mvqtest::Bytes movie_;
  swf::MoviePlayer reference_;
};

TEST_F(ControlDrawingTest, OpaqueDrawIsTheNativePlayersPicture) {
  host(steppingMovie(10, 25.0), 120, 40);
  Surface24 surface(120, 40);
  for (int frame = 0; frame < 4; ++frame) {
    if (frame > 0) tick();
    ASSERT_EQ(draw(surface.dc()), S_OK);
    Reference expected = renderReference(reference_, 120, 40, swf::ScaleMode::ShowAll, true);
    EXPECT_EQ(differingPixels(surface, expected), 0) << "frame " << frame;
  }
  const uint8_t* square = surface.pixel(35, 15);  // frame 3: x 30 to 40
  EXPECT_EQ(square[2], 255);
  EXPECT_EQ(square[1], 0);
  const uint8_t* background = surface.pixel(5, 15);
  EXPECT_EQ(background[1], 255) << "frame 0's square is gone";
}

TEST_F(ControlDrawingTest, ScaleModesShowAllOrStretch) {
  host(edgeMovie(40, 30, mvqtest::Rgba{250, 240, 10}), 100, 100);
  Surface24 surface(100, 100);
  Reference showAll = renderReference(reference_, 100, 100, swf::ScaleMode::ShowAll, true);
  Reference exactFit = renderReference(reference_, 100, 100, swf::ScaleMode::ExactFit, true);
  ASSERT_EQ(draw(surface.dc()), S_OK);
  EXPECT_EQ(differingPixels(surface, showAll), 0) << "scale mode 0 by default";
  ASSERT_EQ(flash_->put_ScaleMode(2), S_OK);
  ASSERT_EQ(draw(surface.dc()), S_OK);
  EXPECT_EQ(differingPixels(surface, exactFit), 0);
  EXPECT_GT(differingPixels(surface, showAll), 1000) << "the two modes differ";
  ASSERT_EQ(flash_->put_ScaleMode(0), S_OK);
  ASSERT_EQ(draw(surface.dc()), S_OK);
  EXPECT_EQ(differingPixels(surface, showAll), 0);
}

TEST_F(ControlDrawingTest, NoBorderCoversTheView) {
  host(edgeMovie(40, 30, mvqtest::Rgba{250, 240, 10}), 100, 60);
  Surface24 surface(100, 60);
  ASSERT_EQ(flash_->put_Scale(Bstr(L"NoBorder")), S_OK);
  ASSERT_EQ(draw(surface.dc()), S_OK);
  Reference noBorder = renderReference(reference_, 100, 60, swf::ScaleMode::NoBorder, true);
  Reference showAll = renderReference(reference_, 100, 60, swf::ScaleMode::ShowAll, true);
  EXPECT_EQ(differingPixels(surface, noBorder), 0);
  EXPECT_GT(differingPixels(surface, showAll), 500);
}

// Low draws the native player's low-quality picture; the automatic
// settings draw at high quality.
TEST_F(ControlDrawingTest, QualitySettingsChangeThePicture) {
  host(edgeMovie(40, 30, mvqtest::Rgba{250, 240, 10}), 97, 61);
  Surface24 surface(97, 61);
  Reference high = renderReference(reference_, 97, 61, swf::ScaleMode::ShowAll, true);
  reference_.setQuality(swf::Quality::Low);
  Reference low = renderReference(reference_, 97, 61, swf::ScaleMode::ShowAll, true);
  ASSERT_EQ(flash_->put_Quality2(Bstr(L"low")), S_OK);
  ASSERT_EQ(draw(surface.dc()), S_OK);
  EXPECT_EQ(differingPixels(surface, low), 0);
  EXPECT_GT(differingPixels(surface, high), 0) << "edges lose their anti-aliasing";
  ASSERT_EQ(flash_->put_Quality2(Bstr(L"AutoHigh")), S_OK);
  ASSERT_EQ(draw(surface.dc()), S_OK);
  EXPECT_EQ(differingPixels(surface, high), 0);
  ASSERT_EQ(flash_->put_Quality(0), S_OK);
  ASSERT_EQ(draw(surface.dc()), S_OK);
  EXPECT_EQ(differingPixels(surface, low), 0);
}

TEST_F(ControlDrawingTest, InPlaceRectangleFollowsTheHostWindow) {
  host(steppingMovie(4, 25.0), 120, 40);
  resize(60, 20);
  Surface24 surface(120, 40);
  surface.fill(RGB(0, 0, 0));
  ASSERT_EQ(draw(surface.dc()), S_OK);
  Reference small = renderReference(reference_, 60, 20, swf::ScaleMode::ShowAll, true);
  int inside = 0, outside = 0;
  for (int y = 0; y < 40; ++y)
    for (int x = 0; x < 120; ++x) {
      const uint8_t* p = surface.pixel(x, y);
      if (x < 60 && y < 20)
        inside += std::memcmp(p, small.pixel(x, y), 3) != 0;
      else
        outside += p[0] != 0 || p[1] != 0 || p[2] != 0;
    }
  EXPECT_EQ(inside, 0);
  EXPECT_EQ(outside, 0) << "nothing drawn beyond the in-place rectangle";
}

TEST_F(ControlDrawingTest, ExplicitBoundsAndClippingGiveTheSamePixels) {
  host(edgeMovie(40, 30, mvqtest::Rgba{0, 0, 0}), 80, 60);
  Reference full = renderReference(reference_, 80, 60, swf::ScaleMode::ShowAll, true);
  Surface24 surface(100, 80);
  surface.fill(RGB(1, 2, 3));
  RECTL bounds = {20, 10, 100, 70};
  ASSERT_EQ(draw(surface.dc(), &bounds), S_OK);
  int differing = 0;
  for (int y = 0; y < 60; ++y)
    for (int x = 0; x < 80; ++x) differing += std::memcmp(surface.pixel(x + 20, y + 10), full.pixel(x, y), 3) != 0;
  EXPECT_EQ(differing, 0);

  Surface24 clipped(80, 60);
  clipped.fill(RGB(1, 2, 3));
  IntersectClipRect(clipped.dc(), 7, 5, 31, 29);
  ASSERT_EQ(draw(clipped.dc()), S_OK);
  int inside = 0, outside = 0;
  for (int y = 0; y < 60; ++y)
    for (int x = 0; x < 80; ++x) {
      const uint8_t* p = clipped.pixel(x, y);
      if (x >= 7 && x < 31 && y >= 5 && y < 29)
        inside += std::memcmp(p, full.pixel(x, y), 3) != 0;
      else
        outside += p[0] != 3 || p[1] != 2 || p[2] != 1;
    }
  EXPECT_EQ(inside, 0) << "a clipped draw renders the same pixels";
  EXPECT_EQ(outside, 0);
}

TEST_F(ControlDrawingTest, TransparentDrawLetsTheMatteRecoverCoverage) {
  host(edgeMovie(40, 30, mvqtest::Rgba{250, 240, 10}), 40, 30, L"Transparent");
  Reference expected = renderReference(reference_, 40, 30, swf::ScaleMode::ShowAll, false);
  Surface24 white(40, 30), black(40, 30);
  white.fill(RGB(255, 255, 255));
  black.fill(RGB(0, 0, 0));
  ASSERT_EQ(draw(white.dc()), S_OK);
  ASSERT_EQ(draw(black.dc()), S_OK);
  int wrongColor = 0, wrongAlpha = 0, partial = 0;
  for (int y = 0; y < 30; ++y)
    for (int x = 0; x < 40; ++x) {
      const uint8_t* w = white.pixel(x, y);
      const uint8_t* k = black.pixel(x, y);
      const uint8_t* ref = expected.pixel(x, y);
      int alpha = 0;
      for (int c = 0; c < 3; ++c) {
        wrongColor += k[c] != ref[c];  // over black: the premultiplied colour itself
        alpha = std::max(alpha, (k[c] - w[c] - 1) & 0xFF);
      }
      wrongAlpha += alpha != ref[3];
      partial += ref[3] > 0 && ref[3] < 255;
    }
  EXPECT_EQ(wrongColor, 0);
  EXPECT_EQ(wrongAlpha, 0);
  EXPECT_GT(partial, 20) << "the movie has edges to recover";
  // The blue rectangle's left edge lies on x = 2.5 pixels: half covered.
  const uint8_t* w = white.pixel(2, 8);
  const uint8_t* k = black.pixel(2, 8);
  EXPECT_NEAR(k[0], 128, 4);
  EXPECT_EQ(k[1], 0);
  EXPECT_EQ(w[0], 255);
  EXPECT_NEAR(w[1], 127, 4);
  EXPECT_EQ(expected.pixel(0, 0)[3], 0) << "no background painted";
  EXPECT_EQ(white.pixel(0, 0)[1], 255);
}

TEST_F(ControlDrawingTest, OpaqueDrawCoversWhatTheHostFilled) {
  host(edgeMovie(40, 30, mvqtest::Rgba{250, 240, 10}), 40, 30, L"Opaque");
  Surface24 white(40, 30), black(40, 30);
  white.fill(RGB(255, 255, 255));
  ASSERT_EQ(draw(white.dc()), S_OK);
  ASSERT_EQ(draw(black.dc()), S_OK);
  EXPECT_EQ(differingPixels(white, renderReference(reference_, 40, 30, swf::ScaleMode::ShowAll, true)), 0);
  int differing = 0;
  for (int y = 0; y < 30; ++y)
    for (int x = 0; x < 40; ++x) differing += std::memcmp(white.pixel(x, y), black.pixel(x, y), 3) != 0;
  EXPECT_EQ(differing, 0);
  EXPECT_EQ(black.pixel(0, 0)[2], 250) << "the movie's background colour";
}

TEST_F(ControlDrawingTest, TicksAndPropertyChangesInvalidateTheHostWindow) {
  host(steppingMovie(10, 25.0), 120, 40);
  ShowWindow(window_, SW_SHOWNOACTIVATE);  // hidden windows collect no update region
  RECT update, client = {0, 0, 120, 40};
  ValidateRect(window_, nullptr);
  tick();
  ASSERT_TRUE(GetUpdateRect(window_, &update, FALSE));
  EXPECT_TRUE(EqualRect(&update, &client));
  ValidateRect(window_, nullptr);
  EXPECT_FALSE(GetUpdateRect(window_, &update, FALSE));
  int mode = -1;
  flash_->get_ScaleMode(&mode);
  flash_->put_ScaleMode(mode);
  EXPECT_TRUE(GetUpdateRect(window_, &update, FALSE)) << "a stopped frame is redrawn";
}

TEST_F(ControlDrawingTest, ClipsPlayOnWhileGotoFrameHoldsTheMainTimeline) {
  host(clipMovie(6), 40, 40);
  ASSERT_EQ(flash_->GotoFrame(3), S_OK);
  reference_.gotoFrame(3);
  Surface24 surface(40, 40);
  int reds = 0, blues = 0;
  for (int i = 0; i < 4; ++i) {
    tick();
    EXPECT_EQ(currentFrame(flash_.get()), 3);
    ASSERT_EQ(draw(surface.dc()), S_OK);
    EXPECT_EQ(differingPixels(surface, renderReference(reference_, 40, 40, swf::ScaleMode::ShowAll, true)), 0);
    const uint8_t* p = surface.pixel(10, 10);
    reds += p[2] == 255 && p[0] == 0;
    blues += p[0] == 255 && p[2] == 0;
  }
  EXPECT_EQ(reds, 2);
  EXPECT_EQ(blues, 2);
}

TEST_F(ControlDrawingTest, TheHostsOwnPaintShowsTheMovie) {
  host(steppingMovie(10, 25.0), 120, 40);
  SetWindowPos(window_, HWND_TOPMOST, 0, 0, 0, 0, SWP_NOMOVE | SWP_NOSIZE | SWP_SHOWWINDOW);
  tick();
  tick();
  UpdateWindow(window_);
  Surface24 surface(120, 40);
  HDC windowDC = GetDC(window_);
  BitBlt(surface.dc(), 0, 0, 120, 40, windowDC, 0, 0, SRCCOPY);
  ReleaseDC(window_, windowDC);
  EXPECT_EQ(differingPixels(surface, renderReference(reference_, 120, 40, swf::ScaleMode::ShowAll, true)), 0);
}

TEST_F(ControlDrawingTest, HostHandsOutTheControl) {
  host(steppingMovie(2, 25.0), 20, 20);
  UINT getControl = RegisterWindowMessageA("WM_ATLGETCONTROL");
  auto* control = reinterpret_cast<IUnknown*>(SendMessageA(window_, getControl, 0, 0));
  ASSERT_NE(control, nullptr);
  ComPtr<IShockwaveFlash> same;
  control->QueryInterface(IID_IShockwaveFlash, same.outVoid());
  EXPECT_EQ(same.get(), flash_.get());
  same.reset();
  flash_->AddRef();
  ULONG withHandedOut = flash_->Release();
  control->Release();
  flash_->AddRef();
  EXPECT_EQ(flash_->Release(), withHandedOut - 1);
}

TEST_F(ControlDrawingTest, DrawWithoutPlaceOrBoundsIsRefused) {
  Surface24 surface(10, 10);
  EXPECT_EQ(draw(surface.dc()), E_INVALIDARG) << "not active in place, no bounds";
  RECTL bounds = {0, 0, 10, 10};
  EXPECT_EQ(draw(surface.dc(), &bounds), S_OK) << "no movie: an empty white stage";
  EXPECT_EQ(surface.pixel(5, 5)[0], 255);
  auto view = flash_.as<IViewObjectEx>(IID_IViewObjectEx);
  EXPECT_EQ(view->Draw(DVASPECT_ICON, -1, nullptr, nullptr, nullptr, surface.dc(), &bounds, nullptr, nullptr, 0),
            DV_E_DVASPECT);
}

// A DIB section of either orientation and depth, or a bitmap of the screen's
// own format, in a memory DC; read back through a 24-bit copy.
class AnySurface {
 public:
  AnySurface(int width, int height, int bitCount, bool bottomUp) : width_(width), height_(height) {
    dc_ = CreateCompatibleDC(nullptr);
    if (bitCount == 0) {
      HDC screen = GetDC(nullptr);
      bitmap_ = CreateCompatibleBitmap(screen, width, height);
      ReleaseDC(nullptr, screen);
    } else {
      BITMAPINFO info = {};
      info.bmiHeader.biSize = sizeof info.bmiHeader;
      info.bmiHeader.biWidth = width;
      info.bmiHeader.biHeight = bottomUp ? height : -height;
      info.bmiHeader.biPlanes = 1;
      info.bmiHeader.biBitCount = WORD(bitCount);
      info.bmiHeader.biCompression = BI_RGB;
      void* bits = nullptr;
      bitmap_ = CreateDIBSection(nullptr, &info, DIB_RGB_COLORS, &bits, nullptr, 0);
    }
    previous_ = SelectObject(dc_, bitmap_);
    RECT all = {0, 0, width, height};
    HBRUSH brush = CreateSolidBrush(RGB(1, 2, 3));
    FillRect(dc_, &all, brush);
    DeleteObject(brush);
  }
  ~AnySurface() {
    SelectObject(dc_, previous_);
    DeleteObject(bitmap_);
    DeleteDC(dc_);
  }
  HDC dc() const { return dc_; }
  void readInto(const Surface24& copy) const {
    POINT origin;
    SetViewportOrgEx(dc_, 0, 0, &origin);
    SelectClipRgn(dc_, nullptr);
    BitBlt(copy.dc(), 0, 0, width_, height_, dc_, 0, 0, SRCCOPY);
    GdiFlush();
    SetViewportOrgEx(dc_, origin.x, origin.y, nullptr);
  }

 private:
  HDC dc_ = nullptr;
  HBITMAP bitmap_ = nullptr;
  HGDIOBJ previous_ = nullptr;
  int width_, height_;
};

// Pixels inside box (surface units) that differ from the reference placed at
// (left, top), and pixels outside it that are not the fill colour.
struct Placement {
  int inside = 0, outside = 0;
};
Placement compareAt(const Surface24& surface, const Reference& reference, int left, int top, const RECT& box) {
  Placement result;
  for (int y = 0; y < surface.height(); ++y)
    for (int x = 0; x < surface.width(); ++x) {
      const uint8_t* p = surface.pixel(x, y);
      POINT at = {x, y};
      if (PtInRect(&box, at))
        result.inside += std::memcmp(p, reference.pixel(x - left, y - top), 3) != 0;
      else
        result.outside += p[0] != 3 || p[1] != 2 || p[2] != 1;
    }
  return result;
}

TEST_F(ControlDrawingTest, OpaqueDrawLandsAlikeInEverySurfaceOriginAndClip) {
  host(edgeMovie(40, 30, mvqtest::Rgba{250, 240, 10}), 40, 30);
  const Reference expected = renderReference(reference_, 40, 30, swf::ScaleMode::ShowAll, true);
  struct Kind {
    int bitCount;
    bool bottomUp;
  };
  const Kind kinds[] = {{24, false}, {24, true}, {32, false}, {32, true}, {0, false}};
  for (const Kind& kind : kinds) {
    SCOPED_TRACE(testing::Message() << kind.bitCount << " bits, bottom up " << kind.bottomUp);
    RECTL bounds = {2, 1, 42, 31};  // logical units; the origin adds (3, 4)
    {
      AnySurface target(61, 47, kind.bitCount, kind.bottomUp);
      SetViewportOrgEx(target.dc(), 3, 4, nullptr);
      ASSERT_EQ(draw(target.dc(), &bounds), S_OK);
      Surface24 copy(61, 47);
      target.readInto(copy);
      RECT whole = {5, 5, 45, 35};
      Placement seen = compareAt(copy, expected, 5, 5, whole);
      EXPECT_EQ(seen.inside, 0);
      EXPECT_EQ(seen.outside, 0) << "nothing beyond the bounds";
    }
    {
      // A rectangle clip cuts the picture; the bitmap's edge cuts it too.
      AnySurface target(30, 25, kind.bitCount, kind.bottomUp);
      IntersectClipRect(target.dc(), 4, 3, 27, 40);
      ASSERT_EQ(draw(target.dc(), &bounds), S_OK);
      Surface24 copy(30, 25);
      target.readInto(copy);
      RECT clip = {4, 3, 27, 25};
      Placement seen = compareAt(copy, expected, 2, 1, clip);
      EXPECT_EQ(seen.inside, 0);
      EXPECT_EQ(seen.outside, 0) << "nothing outside the clip";
    }
    {
      // Two separate rectangles: the picture shows through both and nowhere else.
      AnySurface target(44, 34, kind.bitCount, kind.bottomUp);
      HRGN left = CreateRectRgn(2, 1, 12, 31), right = CreateRectRgn(30, 10, 42, 20);
      CombineRgn(left, left, right, RGN_OR);
      SelectClipRgn(target.dc(), left);
      DeleteObject(left);
      DeleteObject(right);
      ASSERT_EQ(draw(target.dc(), &bounds), S_OK);
      Surface24 copy(44, 34);
      target.readInto(copy);
      RECT first = {2, 1, 12, 31}, second = {30, 10, 42, 20};
      Placement a = compareAt(copy, expected, 2, 1, first);
      Placement b = compareAt(copy, expected, 2, 1, second);
      EXPECT_EQ(a.inside + b.inside, 0);
      // Each count of the outside holds the other rectangle's pixels.
      EXPECT_EQ(a.outside, 12 * 10);
      EXPECT_EQ(b.outside, 10 * 30);
    }
  }
}

// The update rectangle a tick leaves on a shown host window.
RECT updateAfter(HWND window, const std::function<void()>& change) {
  ValidateRect(window, nullptr);
  change();
  RECT update = {0, 0, 0, 0};
  GetUpdateRect(window, &update, FALSE);
  return update;
}

// Where two pictures of the reference player differ.
RECT differingBox(const Reference& a, const Reference& b) {
  RECT box = {a.width, a.height, 0, 0};
  for (int y = 0; y < a.height; ++y)
    for (int x = 0; x < a.width; ++x)
      if (std::memcmp(a.pixel(x, y), b.pixel(x, y), 4) != 0) {
        box.left = std::min<LONG>(box.left, x), box.top = std::min<LONG>(box.top, y);
        box.right = std::max<LONG>(box.right, x + 1), box.bottom = std::max<LONG>(box.bottom, y + 1);
      }
  return box;
}

TEST_F(ControlDrawingTest, ATickInvalidatesOnlyWhatItChanged) {
  host(steppingMovie(10, 25.0), 120, 40);
  ShowWindow(window_, SW_SHOWNOACTIVATE);
  Surface24 surface(120, 40);
  ASSERT_EQ(draw(surface.dc()), S_OK);
  const Reference before = renderReference(reference_, 120, 40, swf::ScaleMode::ShowAll, true);
  RECT update = updateAfter(window_, [&] { tick(); });
  const Reference after = renderReference(reference_, 120, 40, swf::ScaleMode::ShowAll, true);
  RECT expected = differingBox(before, after);
  ASSERT_FALSE(IsRectEmpty(&expected));
  EXPECT_TRUE(EqualRect(&update, &expected))
      << update.left << "," << update.top << "," << update.right << "," << update.bottom;

  ASSERT_EQ(draw(surface.dc()), S_OK);  // the host shows the change
  ASSERT_EQ(flash_->StopPlay(), S_OK);
  reference_.stop();
  ValidateRect(window_, nullptr);
  update = updateAfter(window_, [&] { tick(); });
  EXPECT_TRUE(IsRectEmpty(&update)) << "a stopped movie changes nothing";

  ASSERT_EQ(flash_->put_ScaleMode(2), S_OK);
  update = updateAfter(window_, [&] { tick(); });
  RECT client = {0, 0, 120, 40};
  EXPECT_TRUE(EqualRect(&update, &client)) << "another view: all of it";
}

// A host stepping the movie on without painting between ticks gets all of it
// to repaint, rather than the control rendering every frame it passes.
TEST_F(ControlDrawingTest, TicksInARowWithoutAPaintInvalidateAllOfIt) {
  host(steppingMovie(10, 25.0), 120, 40);
  ShowWindow(window_, SW_SHOWNOACTIVATE);
  Surface24 surface(120, 40);
  ASSERT_EQ(draw(surface.dc()), S_OK);
  RECT update = updateAfter(window_, [&] { tick(); });
  RECT client = {0, 0, 120, 40};
  ASSERT_FALSE(IsRectEmpty(&update));
  EXPECT_FALSE(EqualRect(&update, &client)) << "one tick: only the square's path";
  ValidateRect(window_, nullptr);
  update = updateAfter(window_, [&] {
    tick();
    tick();
  });
  EXPECT_TRUE(EqualRect(&update, &client));
  ASSERT_EQ(draw(surface.dc()), S_OK);
  EXPECT_EQ(differingPixels(surface, renderReference(reference_, 120, 40, swf::ScaleMode::ShowAll, true)), 0);
  // Once painted, a tick is down to what it changed again.
  update = updateAfter(window_, [&] { tick(); });
  EXPECT_FALSE(EqualRect(&update, &client));
}

// A host that repaints only the update rectangles keeps the whole picture right,
// also across jumps and property changes made between ticks.
TEST_F(ControlDrawingTest, RepaintingOnlyUpdatesKeepsThePictureWhole) {
  host(clipMovie(8), 40, 40);
  ShowWindow(window_, SW_SHOWNOACTIVATE);
  Surface24 surface(40, 40);
  ASSERT_EQ(draw(surface.dc()), S_OK);
  auto repaintUpdate = [&] {
    RECT update;
    if (!GetUpdateRect(window_, &update, FALSE)) return;
    ValidateRect(window_, nullptr);
    HRGN clip = CreateRectRgnIndirect(&update);
    SelectClipRgn(surface.dc(), clip);
    DeleteObject(clip);
    ASSERT_EQ(draw(surface.dc()), S_OK);
    SelectClipRgn(surface.dc(), nullptr);
  };
  for (int step = 0; step < 8; ++step) {
    SCOPED_TRACE(step);
    tick();
    if (step == 2) {
      ASSERT_EQ(flash_->GotoFrame(6), S_OK);  // not painted before the next tick
      reference_.gotoFrame(6);
      tick();
    }
    if (step == 4) {
      ASSERT_EQ(flash_->Rewind(), S_OK);
      reference_.rewind();
    }
    repaintUpdate();
    EXPECT_EQ(differingPixels(surface, renderReference(reference_, 40, 40, swf::ScaleMode::ShowAll, true)), 0);
  }
}

// Real movies, when the corpus is beside the project: every one is drawn as
// the player draws it, after the same ten ticks.
TEST_F(ControlDrawingTest, CorpusMoviesDrawAsThePlayerDrawsThem) {
  const char* source = std::getenv("MVQ_SOURCE_DIR");
  std::string folder = std::string(source ? source : ".") + "\\..\\shared\\corpus\\swfdec-image\\";
  WIN32_FIND_DATAA found;
  HANDLE search = FindFirstFileA((folder + "*.swf").c_str(), &found);
  if (search == INVALID_HANDLE_VALUE) GTEST_SKIP() << "no corpus at " << folder;
  std::vector<std::string> names;
  do names.push_back(found.cFileName);
  while (FindNextFileA(search, &found));
  FindClose(search);

  host(steppingMovie(2, 25.0), 10, 10);
  int compared = 0;
  for (const std::string& name : names) {
    std::string path = folder + name;
    mvqtest::Bytes bytes = mvqtest::readFile(path);
    bool playerLoads = reference_.load(bytes);
    HRESULT hr = flash_->put_Movie(Bstr(path));
    EXPECT_EQ(SUCCEEDED(hr), playerLoads) << name;
    if (!playerLoads || FAILED(hr)) continue;
    int width = reference_.stageWidthPixels(), height = reference_.stageHeightPixels();
    resize(width, height);
    for (int i = 0; i < 10; ++i) tick();
    Surface24 surface(width, height);
    ASSERT_EQ(draw(surface.dc()), S_OK) << name;
    EXPECT_EQ(differingPixels(surface, renderReference(reference_, width, height, swf::ScaleMode::ShowAll, true)), 0)
        << name;
    ++compared;
  }
  EXPECT_GT(compared, 0);
}

// A text field in the _sans device font: the control finds the fonts setup
// installs (through Wine's Z: drive) and draws the words as the player does.
TEST_F(ControlDrawingTest, DeviceFontTextFieldsShowTheirWords) {
  mvqtest::SwfBuilder b;
  b.version(8).stage(mvqtest::Rect::pixels(200, 60)).background(255, 255, 255);
  playertest::FontDraft sans;
  sans.name = "_sans";
  sans.layout = false;
  b.tag(sans.tagCode(), sans.body());
  playertest::EditTextDraft field;
  field.bounds = mvqtest::Rect::twips(200, 200, 3800, 1000);
  field.font = 1;
  field.height = 600;
  field.color = mvqtest::Rgba{0, 0, 0};
  field.useOutlines = false;
  field.text = "HELLO";
  b.tag(37, field.body());
  b.placeObject2(field.id, 1);
  b.showFrame();
  host(b.finish(), 200, 60);
  Surface24 surface(200, 60);
  ASSERT_EQ(draw(surface.dc()), S_OK);
  EXPECT_EQ(differingPixels(surface, renderReference(reference_, 200, 60, swf::ScaleMode::ShowAll, true)), 0);
  int dark = 0, stray = 0;
  for (int y = 0; y < 60; ++y)
    for (int x = 0; x < 200; ++x) {
      bool ink = surface.pixel(x, y)[1] < 128;
      bool inBox = x >= 10 && x < 190 && y >= 10 && y < 50;
      dark += ink && inBox;
      stray += ink && !inBox;
    }
  EXPECT_GT(dark, 150) << "five capitals 30 pixels high";
  EXPECT_EQ(stray, 0);
}

// A movie whose first frame loads name into _level1, and a movie that covers
// its stage in red.
mvqtest::Bytes loadingMovie(const std::string& name) {
  mvqtest::SwfBuilder b;
  b.version(6).stage(mvqtest::Rect::pixels(40, 30)).background(255, 255, 255);
  mvqtest::ActionBuilder load;
  std::string target = name + '\0' + "_level1" + '\0';
  load.action(0x83, mvqtest::Bytes(target.begin(), target.end()));  // GetURL
  b.doAction(load);
  b.showFrame();
  return b.finish();
}
mvqtest::Bytes redMovie() {
  mvqtest::SwfBuilder b;
  b.version(6).stage(mvqtest::Rect::pixels(40, 30)).background(255, 255, 255);
  b.defineRectShape(1, mvqtest::Rect::pixels(40, 30), mvqtest::Rgba{255, 0, 0});
  b.placeObject2(1, 1);
  b.showFrame();
  return b.finish();
}

class MovieFolderTest : public ControlDrawingTest {
 protected:
  // Whether the movie, given two ticks, shows the loaded red movie.
  bool showsLoadedMovie(const std::string& name) {
    host(loadingMovie(name), 40, 30);
    tick();
    tick();
    Surface24 surface(40, 30);
    if (draw(surface.dc()) != S_OK) return false;
    const uint8_t* centre = surface.pixel(20, 15);
    return centre[2] == 255 && centre[1] == 0;
  }
  mvqtest::TempDir elsewhere_;
};

TEST_F(MovieFolderTest, ScriptsLoadFilesBesideTheMovie) {
  files_.write("child.swf", redMovie());
  EXPECT_TRUE(showsLoadedMovie("child.swf"));
}

TEST_F(MovieFolderTest, ABaseFolderOrFileUrlReplacesTheMoviesFolder) {
  elsewhere_.write("child.swf", redMovie());
  ASSERT_EQ(flash_->put_Base(Bstr(elsewhere_.path())), S_OK);
  EXPECT_TRUE(showsLoadedMovie("child.swf"));
  BSTR base = nullptr;
  ASSERT_EQ(flash_->get_Base(&base), S_OK);
  EXPECT_EQ(std::wstring(base), std::wstring(Bstr(elsewhere_.path())));
  SysFreeString(base);

  std::string url = "file:///" + elsewhere_.path();
  std::replace(url.begin(), url.end(), '\\', '/');
  ASSERT_EQ(flash_->put_Base(Bstr(url)), S_OK);
  ASSERT_EQ(flash_->put_Movie(Bstr(files_.file("movie.swf"))), S_OK);
  tick();
  tick();
  Surface24 surface(40, 30);
  ASSERT_EQ(draw(surface.dc()), S_OK);
  EXPECT_EQ(surface.pixel(20, 15)[2], 255);
  EXPECT_EQ(surface.pixel(20, 15)[1], 0) << "a file: url names the folder too";
}

TEST_F(MovieFolderTest, ABaseHidesTheMoviesOwnFolder) {
  files_.write("child.swf", redMovie());
  ASSERT_EQ(flash_->put_Base(Bstr(elsewhere_.path())), S_OK);
  EXPECT_FALSE(showsLoadedMovie("child.swf")) << "the base, not the movie's folder";
}

TEST_F(MovieFolderTest, AParentFolderNameLoadsNothing) {
  elsewhere_.write("child.swf", redMovie());
  std::string sibling = elsewhere_.path().substr(elsewhere_.path().find_last_of("\\/") + 1);
  EXPECT_FALSE(showsLoadedMovie("../" + sibling + "/child.swf"));
}

TEST_F(MovieFolderTest, AWebBaseLoadsNothing) {
  files_.write("child.swf", redMovie());
  ASSERT_EQ(flash_->put_Base(Bstr("http://example.com/movies/")), S_OK);
  EXPECT_FALSE(showsLoadedMovie("child.swf"));
}

}  // namespace
