// The start-up warning about a display of fewer than 24 bits per pixel.
#pragma once

#include <windows.h>

// Modal; the id of the button that closed it (Continue or Quit), and whether
// "Do not show this message again." was checked.
INT_PTR showDisplayWarningDialog(HWND owner, bool* dontShowAgain);

// Where a window of the size is centred on the screen, kept inside the work area.
POINT centredOnScreen(SIZE size, const RECT& screen, const RECT& workArea);
