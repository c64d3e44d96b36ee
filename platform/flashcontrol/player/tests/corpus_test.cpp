// Real movies within the player's scope against the pictures the real
// player showed, by the picture rule of tools/picture_match.h. Skipped only
// when the corpus is not beside the project; a listed case whose reference
// is missing fails.
#include <gtest/gtest.h>
#include <sys/stat.h>

#include <cstdlib>
#include <string>

#include "tools/corpus_case.h"

namespace {

using swf::tools::CaseVerdict;
using swf::tools::CorpusPicture;

std::string corpusDir(const char* kind) {
  const char* root = std::getenv("MVQ_SOURCE_DIR");
  return std::string(root ? root : ".") + "/../shared/corpus/" + kind;
}

bool isDir(const std::string& path) {
  struct stat s;
  return stat(path.c_str(), &s) == 0 && (s.st_mode & S_IFDIR);
}

void expectMatch(const std::vector<CorpusPicture>& pictures, const std::string& name) {
  CaseVerdict v = swf::tools::judgeCase(pictures);
  ASSERT_TRUE(v.problem.empty()) << name << ": " << v.problem;
  ASSERT_TRUE(v.informative) << name << ": a flat picture would match too; it does not belong in the list";
  EXPECT_TRUE(v.matches) << name << ": " << v.worstShare * 100 << "% unexcused mismatches, mean abs error "
                         << v.worstMeanError << (v.detail.empty() ? "" : ", ") << v.detail;
}

// Shapes, gradients, lossless and JPEG bitmap fills (with colour transforms),
// sprites, depth rules, masks, blend modes and replacement after 10 ticks. The
// duplicate-depth-5 movie is left out: version 5 movies keep both objects
// placed at one depth, which the player does not model.
class SwfdecImage : public ::testing::TestWithParam<const char*> {};

TEST_P(SwfdecImage, MatchesTheReference) {
  const std::string dir = corpusDir("swfdec-image");
  if (!isDir(dir)) GTEST_SKIP() << "no corpus at " << dir;
  expectMatch(swf::tools::swfdecCase(dir, GetParam()), GetParam());
}

constexpr const char* kSwfdecCases[] = {
    "blend-mode-0-7",         "blend-mode-0-8",           "blend-mode-alpha-7",
    "blend-mode-alpha-8",     "blend-mode-erase-7",       "blend-mode-erase-8",
    "blend-mode-hardlight-7", "blend-mode-hardlight-8",   "blend-mode-lighten-7",
    "blend-mode-lighten-8",   "blend-mode-overlay-7",     "blend-mode-overlay-8",
    "blend-mode-screen-7",    "blend-mode-screen-8",      "clip-change-forward-5",
    "clip-change-forward-6",  "clip-change-forward-7",    "clip-change-forward-8",
    "clip-change-remove-5",   "clip-change-remove-6",     "clip-change-remove-7",
    "clip-change-remove-8",   "clip-change-set-5",        "clip-change-set-6",
    "clip-change-set-7",      "clip-change-set-8",        "color-transform-add80-alpha",
    "color-transform-add80",  "crash-0.6.6-1x1-jpeg-5",   "crash-0.6.6-1x1-jpeg-6",
    "crash-0.6.6-1x1-jpeg-7", "crash-0.6.6-1x1-jpeg-8",   "duplicate-depth-6",
    "duplicate-depth-7",      "empty-gradient",           "gradient-end-duplication",
    "image-jpeg-alpha",       "image-lossless-alpha",     "mask-and-clip-0-8",
    "mask-and-clip-3-8",      "negative-color-transform", "replace-movie-shape-5",
    "replace-movie-shape-6",  "replace-movie-shape-7",    "replace-shape-movie-5",
    "replace-shape-movie-6",  "replace-shape-movie-7",    "replace-shape-shape-5",
    "replace-shape-shape-6",  "replace-shape-shape-7",
};

INSTANTIATE_TEST_SUITE_P(InScope, SwfdecImage, ::testing::ValuesIn(kSwfdecCases));

// Shapes, gradients, colour transforms, blend modes, filters, cached
// bitmaps, a timeline that loops picture after picture, and cases whose
// missing parts (text) lie on the reference's edges.
class RuffleVisual : public ::testing::TestWithParam<const char*> {};

TEST_P(RuffleVisual, MatchesTheReference) {
  const std::string dir = corpusDir("ruffle-visual");
  if (!isDir(dir)) GTEST_SKIP() << "no corpus at " << dir;
  std::vector<CorpusPicture> pictures = swf::tools::ruffleCase(dir + "/" + GetParam());
  ASSERT_FALSE(pictures.empty()) << GetParam() << ": no test.toml naming a picture";
  expectMatch(pictures, GetParam());
}

constexpr const char* kRuffleCases[] = {
    "from_gnash__misc-ming.all__loop__simple_loop_test",
    "from_shumway__acid__acid-blend",
    "from_shumway__acid__acid-blend-2",
    "from_shumway__acid__acid-color-2",
    "from_shumway__acid__acid-scale",
    "from_shumway__gradientTransform",
    "from_shumway__acid__acid-filter-2",
    "from_shumway__acid__acid-gc",
    "from_shumway__acid__acid-large",
    "from_shumway__gradient",
    "visual__blend_modes__add",
    "visual__blend_modes__alpha_no_layer",
    "visual__blend_modes__darken",
    "visual__blend_modes__difference",
    "visual__blend_modes__hardlight",
    "visual__blend_modes__overlay",
    "visual__blend_modes__screen",
    "visual__cache_as_bitmap__contains_grown_filter",
    "visual__cache_as_bitmap__nested_color_transform",
    "visual__cache_as_bitmap__nested_matrix",
    "visual__color_transform_issue_9698",
    "visual__edittext__edittext_border_filters",
    "visual__filters__any_blur_scales_with_screen",
    "visual__filters__bevel",
    "visual__filters__bevel_outer",
    "visual__filters__blur_scales_with_screen",
    "visual__filters__color_matrix",
    "visual__filters__drop_shadow_angles",
    "visual__filters__glow_with_alpha_strength",
    "visual__filters__glow_without_composite_source",
    "visual__gradient_radial_same_ratios",
    "visual__gradient_same_ratios",
    "visual__simple_shapes__gradients__radial",
    "visual__simple_shapes__gradients__reflect",
    "visual__simple_shapes__heavy_tesselation",
    "visual__simple_shapes__layers",
    // Static text and text fields in embedded fonts.
    "from_shumway__acid__acid-color-0",
    // HTML text in a device font, at low quality.
    "text__style_changes_in_html",
};

INSTANTIATE_TEST_SUITE_P(InScope, RuffleVisual, ::testing::ValuesIn(kRuffleCases));

}  // namespace
