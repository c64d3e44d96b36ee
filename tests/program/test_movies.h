// Movies for the program's tests. The counting movie shows its frame number as
// its colour: frame k fills the stage with RGB(10k, 128, 255 - 10k), under a
// black marker over the top-left sixteenth of the stage that tells where the
// stage is drawn.
#pragma once

#include <windows.h>

#include "swf_builder.h"

namespace e2e {

constexpr int kCountingFrames = 24;

mvqtest::Bytes countingMovie(int width, int height, double fps,
                             mvqtest::Compression compression = mvqtest::Compression::None);

// The frame a colour of the counting movie stands for; -1 for any other colour.
int countingFrameOf(COLORREF colour);
bool isMarker(COLORREF colour);

}  // namespace e2e
