// Device fonts read from the Liberation TrueType files setup installs
// (skipped where they are missing): outlines in the shared em square,
// metric twins of Arial, Times New Roman and Courier New.
#include <gtest/gtest.h>

#include <algorithm>
#include <fstream>

#include "text/truetype_glyph_source.h"

namespace {

constexpr const char* kFolder = "/usr/share/fonts/truetype/liberation/";

bool haveFonts() { return std::ifstream(std::string(kFolder) + "LiberationSans-Regular.ttf").good(); }

TEST(TrueTypeGlyphSource, OutlinesAndAdvancesInTheDeviceEm) {
  if (!haveFonts()) GTEST_SKIP() << "no Liberation fonts in " << kFolder;
  swf::TrueTypeGlyphSource source(kFolder);
  const swf::DeviceFace sans{swf::DeviceFamily::Sans, false, false};
  swf::DeviceMetrics m;
  ASSERT_TRUE(source.metrics(sans, m));
  EXPECT_GT(m.ascent, swf::kDeviceEm * 0.8);  // Arial's 0.905 em
  EXPECT_LT(m.ascent, swf::kDeviceEm);
  EXPECT_GT(m.descent, swf::kDeviceEm * 0.15);
  swf::DeviceGlyph h = source.glyph(sans, 'H');
  ASSERT_NE(h.shape, nullptr);
  EXPECT_NEAR(h.advance, swf::kDeviceEm * 0.722, 20);  // Arial's H
  int32_t top = 0, bottom = -1;
  for (const swf::ShapeEdge& e : h.shape->edges) {
    top = std::min(top, e.to.y);
    bottom = std::max(bottom, e.to.y);
  }
  EXPECT_LT(top, -swf::kDeviceEm * 0.6);  // y grows downwards: caps stand above the baseline
  EXPECT_EQ(bottom, 0);
  EXPECT_TRUE(h.shape->nonZeroWinding);
  EXPECT_EQ(source.glyph(sans, ' ').shape, nullptr);
  EXPECT_GT(source.glyph(sans, ' ').advance, 0);
  EXPECT_LT(source.glyph(sans, 'i').advance, source.glyph(sans, 'W').advance);
  EXPECT_EQ(source.glyph(sans, 0x10FFFF).shape, nullptr);  // a missing character draws nothing
}

TEST(TrueTypeGlyphSource, FamiliesAndStylesDiffer) {
  if (!haveFonts()) GTEST_SKIP() << "no Liberation fonts in " << kFolder;
  swf::TrueTypeGlyphSource source(kFolder);
  const swf::DeviceFace mono{swf::DeviceFamily::Mono, false, false};
  EXPECT_DOUBLE_EQ(source.glyph(mono, 'i').advance, source.glyph(mono, 'W').advance);
  const swf::DeviceFace serif{swf::DeviceFamily::Serif, false, false};
  const swf::DeviceFace bold{swf::DeviceFamily::Serif, true, false};
  EXPECT_NE(source.glyph(serif, 'a').advance, source.glyph(bold, 'a').advance);
  EXPECT_NE(source.glyph(serif, 'a').shape, source.glyph(bold, 'a').shape);
}

TEST(TrueTypeGlyphSource, AFolderWithoutFontsDrawsNothing) {
  swf::TrueTypeGlyphSource source("/nonexistent-font-folder");
  swf::DeviceMetrics m;
  EXPECT_FALSE(source.metrics(swf::DeviceFace{}, m));
  EXPECT_EQ(source.glyph(swf::DeviceFace{}, 'A').shape, nullptr);
}

}  // namespace
