#include "frame_painter.h"

#include <cstring>

FramePainter::~FramePainter() {
  freeBuffer();
  if (memoryDC_) DeleteDC(memoryDC_);
}

void FramePainter::freeBuffer() {
  if (bitmap_) {
    SelectObject(memoryDC_, previousBitmap_);
    DeleteObject(bitmap_);
  }
  bitmap_ = nullptr;
  bits_ = nullptr;
  width_ = height_ = 0;
}

bool FramePainter::ensureBuffer(int width, int height) {
  if (bitmap_ && width == width_ && height == height_) return true;
  freeBuffer();
  if (!memoryDC_) memoryDC_ = CreateCompatibleDC(nullptr);
  if (!memoryDC_) return false;
  BITMAPINFO info = {};
  info.bmiHeader.biSize = sizeof info.bmiHeader;
  info.bmiHeader.biWidth = width;
  info.bmiHeader.biHeight = -height;  // top-down, as the player's canvas
  info.bmiHeader.biPlanes = 1;
  info.bmiHeader.biBitCount = 32;
  info.bmiHeader.biCompression = BI_RGB;
  void* bits = nullptr;
  bitmap_ = CreateDIBSection(nullptr, &info, DIB_RGB_COLORS, &bits, nullptr, 0);
  if (!bitmap_) return false;
  previousBitmap_ = SelectObject(memoryDC_, bitmap_);
  bits_ = static_cast<uint8_t*>(bits);
  width_ = width;
  height_ = height;
  return true;
}

HRESULT FramePainter::paint(const swf::MoviePlayer& player, HDC dc, const RECT& rect,
                            swf::ScaleMode mode, bool opaque) {
  RECT visible = rect;
  RECT clipBox;
  int clip = GetClipBox(dc, &clipBox);
  if (clip == NULLREGION) return S_OK;
  if (clip != ERROR && !IntersectRect(&visible, &rect, &clipBox)) return S_OK;
  int width = visible.right - visible.left;
  int height = visible.bottom - visible.top;
  if (width <= 0 || height <= 0) return S_OK;
  if (!ensureBuffer(width, height)) return E_OUTOFMEMORY;

  GdiFlush();  // the DIB's bits are written directly below
  std::memset(bits_, 0, size_t(width) * size_t(height) * 4);
  swf::Canvas canvas;
  canvas.pixels = bits_;
  canvas.width = width;
  canvas.height = height;
  canvas.stride = width * 4;
  player.render(canvas, rect.left - visible.left, rect.top - visible.top, rect.right - rect.left,
                rect.bottom - rect.top, mode, opaque);

  BLENDFUNCTION blend = {AC_SRC_OVER, 0, 255, AC_SRC_ALPHA};
  if (!AlphaBlend(dc, visible.left, visible.top, width, height, memoryDC_, 0, 0, width, height,
                  blend))
    return E_FAIL;
  return S_OK;
}
