// What the painter leaves in the frame surface is what the video pass writes as
// a frame, so the surface must hold the picture exactly, bottom row first.
#include <gtest/gtest.h>

#include <windows.h>

#include "atl_containment.h"
#include "bstr_text.h"
#include "preview_host.h"
#include "preview_painter.h"
#include "swf_builder.h"
#include "test_files.h"

namespace {

using mvqtest::Rect;
using mvqtest::Rgba;

constexpr int kWidth = 40;
constexpr int kHeight = 30;

// White, with a red top row and a blue bottom row.
mvqtest::Bytes edgeRowsMovie() {
  mvqtest::SwfBuilder movie;
  movie.stage(Rect::pixels(kWidth, kHeight)).background(255, 255, 255);
  movie.defineRectShape(1, Rect::pixels(kWidth, 1), Rgba{255, 0, 0});
  movie.defineRectShape(2, Rect::twips(0, (kHeight - 1) * 20, kWidth * 20, kHeight * 20), Rgba{0, 0, 255});
  movie.placeObject2(1, 1).placeObject2(2, 2).showFrame();
  return movie.finish();
}

struct Bgr {
  BYTE b, g, r;
};

Bgr pixelInMemoryRow(const FrameSurface& surface, int row, int x) {
  const LONG stride = frameSurfaceStride(surface.header().biWidth, 24);
  const BYTE* p = surface.bits() + row * stride + 3 * x;
  return Bgr{p[0], p[1], p[2]};
}

class PreviewPainterTest : public ::testing::Test {
 protected:
  void SetUp() override {
    CoInitialize(nullptr);
    AtlAxWinInit();
    frame_ = CreateWindowExA(0, "STATIC", "", WS_POPUP | WS_VISIBLE, 0, 0, kWidth, kHeight, nullptr, nullptr, nullptr,
                             nullptr);
    RECT client{0, 0, kWidth, kHeight};
    host_ = createPreviewHost(frame_, client);
  }
  void TearDown() override {
    painter_.restore();
    control_.flash.reset();
    control_.object.reset();
    DestroyWindow(frame_);
    AtlAxWinTerm();
    CoUninitialize();
  }

  HWND frame_ = nullptr;
  HWND host_ = nullptr;
  PreviewControl control_;
  PreviewPainter painter_;
};

TEST_F(PreviewPainterTest, SurfaceHoldsThePictureBottomRowFirst) {
  ASSERT_TRUE(attachPreviewControl(host_, nullptr, &control_));
  mvqtest::TempDir dir;
  BstrText path(dir.write("edges.swf", edgeRowsMovie()).c_str());
  ASSERT_GE(IShockwaveFlash_put_Movie(control_.flash.get(), path.get()), 0);
  painter_.subclass(host_);
  RedrawWindow(host_, nullptr, nullptr, RDW_INVALIDATE | RDW_UPDATENOW);

  ASSERT_NE(painter_.surface.bits(), nullptr);
  ASSERT_EQ(painter_.surface.header().biHeight, kHeight);
  for (int x : {0, kWidth / 2, kWidth - 1}) {
    const Bgr bottom = pixelInMemoryRow(painter_.surface, 0, x);
    EXPECT_EQ(bottom.b, 255);
    EXPECT_EQ(bottom.r, 0);
    const Bgr top = pixelInMemoryRow(painter_.surface, kHeight - 1, x);
    EXPECT_EQ(top.r, 255);
    EXPECT_EQ(top.b, 0);
    const Bgr middle = pixelInMemoryRow(painter_.surface, kHeight / 2, x);
    EXPECT_EQ(middle.r + middle.g + middle.b, 3 * 255);
  }
}

}  // namespace
