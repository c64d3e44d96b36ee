#include "ui_screen.h"

#include <cstdio>
#include <cstring>

namespace ui {

COLORREF ScreenPicture::at(int x, int y) const {
  if (x < 0 || y < 0 || x >= width || y >= height) return 0;
  const uint8_t* p = &pixels[(static_cast<size_t>(y) * width + x) * 3];
  return RGB(p[2], p[1], p[0]);
}

ScreenPicture captureScreen(const RECT& area) {
  ScreenPicture picture;
  const int width = area.right - area.left;
  const int height = area.bottom - area.top;
  if (width <= 0 || height <= 0) return picture;

  BITMAPINFO info;
  std::memset(&info, 0, sizeof info);
  info.bmiHeader.biSize = sizeof info.bmiHeader;
  info.bmiHeader.biWidth = width;
  info.bmiHeader.biHeight = -height;  // top-down
  info.bmiHeader.biPlanes = 1;
  info.bmiHeader.biBitCount = 24;
  info.bmiHeader.biCompression = BI_RGB;
  HDC screen = GetDC(nullptr);
  HDC memory = CreateCompatibleDC(screen);
  void* bits = nullptr;
  HBITMAP bitmap = CreateDIBSection(screen, &info, DIB_RGB_COLORS, &bits, nullptr, 0);
  if (bitmap) {
    HGDIOBJ previous = SelectObject(memory, bitmap);
    BitBlt(memory, 0, 0, width, height, screen, area.left, area.top, SRCCOPY);
    GdiFlush();
    const size_t stride = (static_cast<size_t>(width) * 3 + 3) & ~static_cast<size_t>(3);
    picture.width = width;
    picture.height = height;
    picture.pixels.resize(static_cast<size_t>(width) * height * 3);
    for (int y = 0; y < height; ++y)
      std::memcpy(&picture.pixels[static_cast<size_t>(y) * width * 3], static_cast<uint8_t*>(bits) + y * stride,
                  static_cast<size_t>(width) * 3);
    SelectObject(memory, previous);
    DeleteObject(bitmap);
  }
  DeleteDC(memory);
  ReleaseDC(nullptr, screen);
  return picture;
}

ScreenPicture captureClient(HWND window) {
  RECT client = {0, 0, 0, 0};
  GetClientRect(window, &client);
  MapWindowPoints(window, nullptr, reinterpret_cast<POINT*>(&client), 2);
  return captureScreen(client);
}

bool writeBitmapFile(const ScreenPicture& picture, const std::string& path) {
  if (picture.width <= 0 || picture.height <= 0) return false;
  const size_t stride = (static_cast<size_t>(picture.width) * 3 + 3) & ~static_cast<size_t>(3);
  const size_t imageSize = stride * picture.height;
  BITMAPFILEHEADER file = {};
  BITMAPINFOHEADER header = {};
  file.bfType = 0x4D42;
  file.bfOffBits = sizeof file + sizeof header;
  file.bfSize = static_cast<DWORD>(file.bfOffBits + imageSize);
  header.biSize = sizeof header;
  header.biWidth = picture.width;
  header.biHeight = picture.height;
  header.biPlanes = 1;
  header.biBitCount = 24;
  header.biSizeImage = static_cast<DWORD>(imageSize);
  FILE* out = std::fopen(path.c_str(), "wb");
  if (!out) return false;
  bool ok = std::fwrite(&file, sizeof file, 1, out) == 1 && std::fwrite(&header, sizeof header, 1, out) == 1;
  std::vector<uint8_t> row(stride, 0);
  for (int y = picture.height - 1; ok && y >= 0; --y) {
    std::memcpy(row.data(), &picture.pixels[static_cast<size_t>(y) * picture.width * 3],
                static_cast<size_t>(picture.width) * 3);
    ok = std::fwrite(row.data(), stride, 1, out) == 1;
  }
  return std::fclose(out) == 0 && ok;
}

}  // namespace ui
