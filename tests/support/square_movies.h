// Movies of a red 10 x 10 pixel square stepping 10 pixels to the right each
// frame on white, which the renderer and plug-in tests read frames off.
#pragma once

#include "action_builder.h"
#include "swf_builder.h"

namespace mvqtest {

// Adds the square's frames to a movie whose header is set; firstFrame, when
// given, runs on frame 0.
SwfBuilder& addSteppingSquare(SwfBuilder& movie, int frames, const ActionBuilder* firstFrame = nullptr);

// 120 x 40, six frames; frame 0 stops the main timeline, so only jumps move it on.
Bytes stoppingSquareMovie();

}  // namespace mvqtest
