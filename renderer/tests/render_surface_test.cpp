#include "render_surface.h"

#include <gtest/gtest.h>

namespace {

TEST(RenderSurface, HeaderDescribesABottomUpSectionWithPaddedRows) {
  RenderSurface surface;
  ASSERT_TRUE(surface.create(5, 3, 24));
  EXPECT_EQ(surface.header.biSize, 40u);
  EXPECT_EQ(surface.header.biWidth, 5);
  EXPECT_EQ(surface.header.biHeight, 3);
  EXPECT_EQ(surface.header.biPlanes, 1);
  EXPECT_EQ(surface.header.biCompression, DWORD(BI_RGB));
  EXPECT_EQ(surface.stride(), 16);  // 15 bytes rounded up
  EXPECT_EQ(surface.header.biSizeImage, 48u);
  EXPECT_EQ(surface.header.biXPelsPerMeter, 0);
  EXPECT_NE(surface.bits, nullptr);
  ASSERT_TRUE(surface.create(5, 3, 32));
  EXPECT_EQ(surface.header.biSizeImage, 60u);
}

TEST(RenderSurface, SameRequestKeepsTheBitmapAndOtherSizesMakeANewOne) {
  RenderSurface surface;
  ASSERT_TRUE(surface.create(8, 8, 32));
  HBITMAP first = surface.bitmap;
  surface.bits[0] = 0x5A;
  ASSERT_TRUE(surface.create(8, 8, 32));
  EXPECT_EQ(surface.bitmap, first);
  EXPECT_EQ(surface.bits[0], 0x5A);
  ASSERT_TRUE(surface.create(9, 8, 32));
  EXPECT_EQ(surface.header.biWidth, 9);
}

TEST(RenderSurface, FailedCreationKeepsTheRequestAndFailsAgainAtOnce) {
  RenderSurface surface;
  EXPECT_FALSE(surface.create(0, 10, 24));
  EXPECT_EQ(surface.header.biWidth, 0);
  EXPECT_EQ(surface.header.biHeight, 10);
  EXPECT_EQ(surface.bits, nullptr);
  EXPECT_FALSE(surface.create(0, 10, 24));
  EXPECT_FALSE(surface.create(100000, 100000, 32));  // past what a header can describe
  EXPECT_FALSE(surface.create(-4, 4, 24));
  EXPECT_TRUE(surface.create(4, 4, 24));
}

TEST(RenderSurface, FreeZeroesTheHeader) {
  RenderSurface surface;
  ASSERT_TRUE(surface.create(4, 4, 24));
  surface.free();
  EXPECT_EQ(surface.bitmap, nullptr);
  EXPECT_EQ(surface.bits, nullptr);
  EXPECT_EQ(surface.header.biWidth, 0);
  EXPECT_EQ(surface.header.biSize, 0u);
  EXPECT_TRUE(surface.create(4, 4, 24));
}

}  // namespace
