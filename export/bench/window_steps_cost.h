// What the window work of exported frames costs on its own, with no movie,
// no control and no file: the floor under the export's speed on this system.
#pragma once

// Seconds for `frames` rounds of: the whole width x height preview painted
// from a 24-bit surface, then a smooth, bordered progress bar moved on by one.
double windowStepsSeconds(int width, int height, int frames);
