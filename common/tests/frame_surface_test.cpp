#include "frame_surface.h"

#include <gtest/gtest.h>

namespace {

class FrameSurfaceTest : public ::testing::Test {
 protected:
  void SetUp() override { dc_ = CreateCompatibleDC(nullptr); }
  void TearDown() override { DeleteDC(dc_); }
  HDC dc_ = nullptr;
};

TEST(FrameSurfaceStride, RowsArePaddedToFourBytes) {
  EXPECT_EQ(4, frameSurfaceStride(1, 24));
  EXPECT_EQ(8, frameSurfaceStride(2, 24));
  EXPECT_EQ(12, frameSurfaceStride(3, 24));
  EXPECT_EQ(16, frameSurfaceStride(5, 24));
  EXPECT_EQ(1652, frameSurfaceStride(550, 24));
  EXPECT_EQ(2200, frameSurfaceStride(550, 32));
}

TEST_F(FrameSurfaceTest, StartsEmpty) {
  FrameSurface surface;
  EXPECT_EQ(nullptr, surface.bitmap());
  EXPECT_EQ(nullptr, surface.bits());
  EXPECT_EQ(0u, surface.header().biSize);
  EXPECT_EQ(0, surface.header().biWidth);
}

TEST_F(FrameSurfaceTest, HeaderDescribesABottomUpPictureOfTheRequestedSize) {
  FrameSurface surface;
  ASSERT_TRUE(surface.create(5, 7, 24, dc_));
  const BITMAPINFOHEADER& h = surface.header();
  EXPECT_EQ(40u, h.biSize);
  EXPECT_EQ(5, h.biWidth);
  EXPECT_EQ(7, h.biHeight);
  EXPECT_EQ(1, h.biPlanes);
  EXPECT_EQ(24, h.biBitCount);
  EXPECT_EQ(static_cast<DWORD>(BI_RGB), h.biCompression);
  EXPECT_EQ(16u * 7, h.biSizeImage);
  EXPECT_EQ(0, h.biXPelsPerMeter);
  EXPECT_EQ(0u, h.biClrUsed);
  EXPECT_NE(nullptr, surface.bits());
}

TEST_F(FrameSurfaceTest, BitmapHoldsOneRowMoreThanThePicture) {
  FrameSurface surface;
  ASSERT_TRUE(surface.create(3, 4, 24, dc_));
  DIBSECTION section;
  ASSERT_EQ(static_cast<int>(sizeof section), GetObject(surface.bitmap(), sizeof section, &section));
  EXPECT_EQ(5, section.dsBmih.biHeight);
  EXPECT_EQ(3, section.dsBm.bmWidth);
  EXPECT_EQ(12, section.dsBm.bmWidthBytes);
  EXPECT_EQ(surface.bits(), section.dsBm.bmBits);
  EXPECT_EQ(12u * 4, surface.header().biSizeImage);
  // The extra row is the bitmap's own memory, last: its top row.
  BYTE* top = surface.bits() + 12 * 4;
  top[6] = 0x11;  // the third pixel: blue, green, red
  top[7] = 0x22;
  top[8] = 0x33;
  HGDIOBJ previous = SelectObject(dc_, surface.bitmap());
  EXPECT_EQ(RGB(0x33, 0x22, 0x11), GetPixel(dc_, 2, 0));
  SelectObject(dc_, previous);
}

// Bottom-up: the first row in memory is the bitmap's bottom row; the extra row
// is the last one in memory, the bitmap's top row.
TEST_F(FrameSurfaceTest, RowsAreStoredBottomUpWithTheExtraRowLast) {
  FrameSurface surface;
  ASSERT_TRUE(surface.create(2, 3, 24, dc_));
  HGDIOBJ previous = SelectObject(dc_, surface.bitmap());
  const RECT bottom = {0, 3, 2, 4}, top = {0, 0, 2, 1};
  HBRUSH red = CreateSolidBrush(RGB(255, 0, 0));
  HBRUSH blue = CreateSolidBrush(RGB(0, 0, 255));
  FillRect(dc_, &bottom, red);
  FillRect(dc_, &top, blue);
  GdiFlush();
  SelectObject(dc_, previous);
  DeleteObject(red);
  DeleteObject(blue);
  const BYTE* bits = surface.bits();
  const LONG stride = frameSurfaceStride(2, 24);
  // Blue, green, red order.
  EXPECT_EQ(0, bits[0]);
  EXPECT_EQ(0, bits[1]);
  EXPECT_EQ(255, bits[2]);
  EXPECT_EQ(255, bits[3 * stride]);
  EXPECT_EQ(0, bits[3 * stride + 2]);
  EXPECT_EQ(0, bits[stride + 2]);
}

TEST_F(FrameSurfaceTest, SameSizeKeepsTheBitmapAndBits) {
  FrameSurface surface;
  ASSERT_TRUE(surface.create(64, 48, 24, dc_));
  HBITMAP bitmap = surface.bitmap();
  BYTE* bits = surface.bits();
  ASSERT_TRUE(surface.create(64, 48, 24, dc_));
  EXPECT_EQ(bitmap, surface.bitmap());
  EXPECT_EQ(bits, surface.bits());
}

TEST_F(FrameSurfaceTest, AnyChangedDimensionReallocates) {
  FrameSurface surface;
  ASSERT_TRUE(surface.create(64, 48, 24, dc_));
  ASSERT_TRUE(surface.create(65, 48, 24, dc_));
  EXPECT_EQ(65, surface.header().biWidth);
  EXPECT_EQ(frameSurfaceStride(65, 24) * 48, static_cast<LONG>(surface.header().biSizeImage));
  ASSERT_TRUE(surface.create(65, 49, 24, dc_));
  EXPECT_EQ(49, surface.header().biHeight);
  ASSERT_TRUE(surface.create(65, 49, 32, dc_));
  EXPECT_EQ(32, surface.header().biBitCount);
  EXPECT_EQ(65u * 4 * 49, surface.header().biSizeImage);
}

TEST_F(FrameSurfaceTest, FailedAllocationLeavesItEmptyAndIsRetried) {
  FrameSurface surface;
  ASSERT_TRUE(surface.create(16, 16, 24, dc_));
  // 1.8 GB: more than a 32-bit process can map.
  EXPECT_FALSE(surface.create(30000, 20000, 24, dc_));
  EXPECT_EQ(nullptr, surface.bits());
  EXPECT_EQ(nullptr, surface.bitmap());
  EXPECT_EQ(30000, surface.header().biWidth);
  EXPECT_EQ(20000, surface.header().biHeight);
  EXPECT_FALSE(surface.create(30000, 20000, 24, dc_));
  // Past what a 32-bit size can describe.
  EXPECT_FALSE(surface.create(60000, 60000, 24, dc_));
  EXPECT_TRUE(surface.create(16, 16, 24, dc_));
  EXPECT_NE(nullptr, surface.bits());
}

TEST_F(FrameSurfaceTest, EmptyOrNegativeSizesAllocateNothing) {
  FrameSurface surface;
  EXPECT_FALSE(surface.create(0, 10, 24, dc_));
  EXPECT_FALSE(surface.create(10, 0, 24, dc_));
  EXPECT_FALSE(surface.create(-3, 10, 24, dc_));
  EXPECT_FALSE(surface.create(10, -1, 24, dc_));
  EXPECT_EQ(nullptr, surface.bits());
}

TEST_F(FrameSurfaceTest, ReleaseEmptiesAndIsHarmlessTwice) {
  FrameSurface surface;
  surface.release();
  ASSERT_TRUE(surface.create(8, 8, 24, dc_));
  surface.release();
  EXPECT_EQ(nullptr, surface.bitmap());
  EXPECT_EQ(nullptr, surface.bits());
  EXPECT_EQ(0, surface.header().biWidth);
  EXPECT_EQ(0u, surface.header().biSizeImage);
  surface.release();
  EXPECT_TRUE(surface.create(8, 8, 24, dc_));
}

}  // namespace
