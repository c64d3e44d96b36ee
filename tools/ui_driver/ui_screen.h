// Pictures of what is on the screen, read back from the display as a user
// would see them.
#pragma once

#include <windows.h>

#include <cstdint>
#include <string>
#include <vector>

namespace ui {

// 24-bit pixels, top row first, each row 3 * width bytes, blue green red.
struct ScreenPicture {
  int width = 0;
  int height = 0;
  std::vector<uint8_t> pixels;

  COLORREF at(int x, int y) const;  // RGB(); 0 outside
};

// The rectangle of the screen, in screen coordinates.
ScreenPicture captureScreen(const RECT& area);
// The client area of a window as it shows on the screen.
ScreenPicture captureClient(HWND window);

// A 24-bit bottom-up .bmp file.
bool writeBitmapFile(const ScreenPicture& picture, const std::string& path);

}  // namespace ui
