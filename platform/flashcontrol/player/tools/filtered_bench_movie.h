// The movie bench snapshot measures filters with: 20 clips, each a blob
// under a filter (shadows, blurs, glows, bevels, a colour matrix) at
// quality 2 or 3, moving every frame.
#pragma once

#include "swf_builder.h"

namespace benchmovies {

constexpr int kFilteredClips = 20;

mvqtest::Bytes filteredClipsMovie(int width, int height, int frames);

}  // namespace benchmovies
