// The corpus's picture rule: tolerance, edges, the share allowed, flat
// pictures, test.toml reading and the order of a series of pictures.
#include <gtest/gtest.h>

#include <string>

#include "swf_builder.h"
#include "test_files.h"
#include "tools/corpus_case.h"
#include "tools/picture_match.h"
#include "tools/ruffle_test.h"

namespace {

using swf::tools::matchPicture;
using swf::tools::RgbImage;

RgbImage flat(int w, int h, uint8_t r, uint8_t g, uint8_t b) {
  RgbImage i;
  i.width = w;
  i.height = h;
  for (int n = 0; n < w * h; ++n) i.rgb.insert(i.rgb.end(), {r, g, b});
  return i;
}

void setPixel(RgbImage& i, int x, int y, uint8_t v) {
  for (int c = 0; c < 3; ++c) i.rgb[(size_t(y) * size_t(i.width) + size_t(x)) * 3 + size_t(c)] = v;
}

TEST(PictureMatch, AChannelMayDifferByTheLargerOfEightAndTheTolerance) {
  RgbImage ref = flat(10, 10, 100, 100, 100);
  EXPECT_TRUE(matchPicture(flat(10, 10, 100, 108, 100), ref, 3).matches());
  EXPECT_FALSE(matchPicture(flat(10, 10, 100, 109, 100), ref, 3).matches());
  EXPECT_TRUE(matchPicture(flat(10, 10, 80, 100, 100), ref, 20).matches());
  EXPECT_FALSE(matchPicture(flat(10, 10, 79, 100, 100), ref, 20).matches());
  EXPECT_FALSE(matchPicture(flat(10, 9, 100, 100, 100), ref, 3).matches()) << "sizes differ";
}

TEST(PictureMatch, AtMostThreeInAThousandPixelsMayMismatchAwayFromEdges) {
  RgbImage ref = flat(100, 100, 50, 50, 50);
  RgbImage actual = ref;
  for (int i = 0; i < 30; ++i) setPixel(actual, (i * 7) % 100, (i * 13) % 100, 200);
  EXPECT_TRUE(matchPicture(actual, ref, 0).matches());
  EXPECT_EQ(matchPicture(actual, ref, 0).unexcused, 30u);
  setPixel(actual, 99, 99, 200);
  EXPECT_FALSE(matchPicture(actual, ref, 0).matches());
}

TEST(PictureMatch, MismatchesBesideAnEdgeOfTheReferenceAreExcused) {
  // Black left half, white right half; the picture's edge is a pixel off.
  RgbImage ref = flat(20, 20, 0, 0, 0), shifted = ref;
  for (int y = 0; y < 20; ++y)
    for (int x = 0; x < 20; ++x) {
      if (x >= 10) setPixel(ref, x, y, 255);
      if (x >= 11) setPixel(shifted, x, y, 255);
    }
  EXPECT_EQ(matchPicture(shifted, ref, 0).unexcused, 0u);
  // Two pixels off, the column beyond the reference's edge is not excused.
  RgbImage further = shifted;
  for (int y = 0; y < 20; ++y) setPixel(further, 11, y, 0);
  EXPECT_EQ(matchPicture(further, ref, 0).unexcused, 20u);
  // A contrast of 32 is no edge; 33 is.
  RgbImage soft = flat(20, 20, 100, 100, 100), softer = soft;
  setPixel(soft, 5, 5, 132);
  setPixel(softer, 5, 5, 132);
  setPixel(softer, 5, 6, 120);
  EXPECT_EQ(matchPicture(softer, soft, 0).unexcused, 1u);
  setPixel(soft, 5, 5, 133);
  setPixel(softer, 5, 5, 133);
  EXPECT_EQ(matchPicture(softer, soft, 0).unexcused, 0u);
}

TEST(PictureMatch, TheFlatPictureHasTheMostCommonColour) {
  RgbImage ref = flat(4, 4, 10, 20, 30);
  for (int x = 0; x < 4; ++x) setPixel(ref, x, 0, 200);
  RgbImage f = swf::tools::flatPictureOf(ref);
  ASSERT_EQ(f.rgb.size(), ref.rgb.size());
  EXPECT_EQ(f.rgb[0], 10);
  EXPECT_EQ(f.rgb[f.rgb.size() - 1], 30);
}

TEST(RuffleTestFile, ReadsQuotedNamesChecksTriggersQualityAndViewport) {
  mvqtest::TempDir dir;
  std::string toml =
      "num_frames = 30 # run long\n"
      "\n"
      "[image_comparisons.\"output.40\"]\n"
      "tolerance = 5 # from the real player\n"
      "trigger = 40\n"
      "[[image_comparisons.plain.checks]]\n"
      "tolerance = 32\n"
      "max_outliers = 10\n"
      "[[image_comparisons.plain.checks]]\n"
      "tolerance = 2\n"
      "[player_options]\n"
      "with_renderer = { optional = false, quality = \"low\" }\n"
      "viewport_dimensions = { width = 160, height = 120, scale_factor = 1 }\n";
  swf::tools::RuffleTest t;
  ASSERT_TRUE(swf::tools::readRuffleTest(dir.write("test.toml", mvqtest::Bytes(toml.begin(), toml.end())), t));
  EXPECT_EQ(t.frames, 30);
  EXPECT_EQ(t.quality, "low");
  EXPECT_EQ(t.viewWidth, 160);
  EXPECT_EQ(t.viewHeight, 120);
  ASSERT_EQ(t.comparisons.size(), 2u);
  EXPECT_EQ(t.comparisons[0].name, "output.40");
  EXPECT_EQ(t.comparisons[0].frames, 40);
  EXPECT_EQ(t.comparisons[0].tolerance, 5);
  EXPECT_EQ(t.comparisons[1].name, "plain");
  EXPECT_EQ(t.comparisons[1].frames, 30);
  EXPECT_EQ(t.comparisons[1].tolerance, 2) << "the strictest check";
  EXPECT_FALSE(swf::tools::readRuffleTest(dir.file("missing.toml"), t));
}

// Grey frames that differ by less than the tolerance: each picture matches
// either reference, so only their order tells a playing movie from a stuck one.
class PictureSeries : public ::testing::Test {
 protected:
  std::string movie(std::initializer_list<uint8_t> greys) {
    mvqtest::SwfBuilder b;
    b.stage(mvqtest::Rect::pixels(20, 20)).background(255, 255, 255);
    uint16_t id = 1;
    for (uint8_t g : greys) {
      b.defineRectShape(id, mvqtest::Rect::pixels(20, 20), mvqtest::Rgba{g, g, g});
      if (id > 1) b.removeObject2(1);
      b.placeObject2(id, 1);
      b.showFrame();
      ++id;
    }
    return dir_.write("series" + std::to_string(++movies_) + ".swf", b.finish());
  }
  std::vector<swf::tools::CorpusPicture> pictures(const std::string& swf, std::initializer_list<uint8_t> greys) {
    std::vector<swf::tools::CorpusPicture> out;
    int tick = 0;
    for (uint8_t g : greys) {
      swf::tools::CorpusPicture p;
      p.movie = swf;
      p.reference = dir_.file("ref" + std::to_string(g) + ".png");
      EXPECT_TRUE(swf::tools::writePng(p.reference, flat(20, 20, g, g, g)));
      p.name = "grey" + std::to_string(g);
      p.options.ticks = tick++;
      out.push_back(p);
    }
    return out;
  }
  mvqtest::TempDir dir_;
  int movies_ = 0;
};

TEST_F(PictureSeries, EachPictureMustBeNearerItsOwnReference) {
  swf::tools::CaseVerdict playing = swf::tools::judgeCase(pictures(movie({100, 106, 100}), {100, 106, 100}));
  EXPECT_TRUE(playing.problem.empty()) << playing.problem;
  EXPECT_TRUE(playing.matches) << playing.detail;
  swf::tools::CaseVerdict stuck = swf::tools::judgeCase(pictures(movie({100, 106, 106}), {100, 106, 100}));
  EXPECT_FALSE(stuck.matches);
  EXPECT_NE(stuck.detail.find("grey106"), std::string::npos) << stuck.detail;
  EXPECT_FALSE(stuck.informative) << "flat references tell nothing about a player";
}

TEST_F(PictureSeries, AMissingReferenceIsAProblem) {
  auto p = pictures(movie({100}), {100});
  p[0].reference = dir_.file("none.png");
  swf::tools::CaseVerdict v = swf::tools::judgeCase(p);
  EXPECT_FALSE(v.problem.empty());
  EXPECT_FALSE(v.matches);
}

}  // namespace
