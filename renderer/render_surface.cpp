#include "render_surface.h"

#include <cstdint>

namespace {

// Sizes whose pixel count or byte size does not fit the header are refused
// before the system is asked.
bool representable(LONG width, LONG height, WORD bitCount) {
  if (width <= 0 || height <= 0 || width > 0x7FFFFFFF / 4) return false;
  const int64_t bytes = int64_t(RenderSurface::stride(width, bitCount)) * height;
  return bytes <= 0x7FFFFFFF;
}

}  // namespace

bool RenderSurface::create(LONG width, LONG height, WORD bitCount) {
  if (header.biWidth == width && header.biHeight == height && header.biBitCount == bitCount) return bitmap != nullptr;
  free();
  header.biSize = sizeof(BITMAPINFOHEADER);
  header.biWidth = width;
  header.biHeight = height;
  header.biPlanes = 1;
  header.biBitCount = bitCount;
  header.biCompression = BI_RGB;
  if (!representable(width, height, bitCount)) return false;
  header.biSizeImage = DWORD(stride(width, bitCount) * height);
  BITMAPINFO info = {};
  info.bmiHeader = header;
  void* pixels = nullptr;
  bitmap = CreateDIBSection(nullptr, &info, DIB_RGB_COLORS, &pixels, nullptr, 0);
  bits = bitmap ? static_cast<BYTE*>(pixels) : nullptr;
  return bitmap != nullptr;
}

void RenderSurface::free() {
  if (bitmap) DeleteObject(bitmap);
  bitmap = nullptr;
  bits = nullptr;
  header = BITMAPINFOHEADER{};
}
