// A named movie is read from the host's message loop soon after put_Movie
// returns, as a real control's load completes on its own; any use of the movie
// before then reads it at once. A movie named again before the message comes
// replaces the first, which is never read.
#pragma once

struct FlashControl;

// Posts the completion of the control's pending load; false when no message
// could be posted (the movie is then read at its first use).
bool scheduleLoadCompletion(FlashControl* control);
// Drops the control's completion window, and the window class with the last control.
void endLoadCompletion(FlashControl* control, bool lastControl);
