#include "frame_surface.h"

#include <cstring>

FrameSurface::FrameSurface() : bitmap_(nullptr), bits_(nullptr) { std::memset(&header_, 0, sizeof header_); }

FrameSurface::~FrameSurface() { release(); }

bool FrameSurface::create(int width, int height, int bitCount, HDC dc) {
  if (bitmap_ && width == header_.biWidth && height == header_.biHeight && bitCount == header_.biBitCount) return true;
  release();
  // Sizes whose byte count does not fit a 32-bit size field are never allocated.
  const bool rowFits = width > 0 && width <= 0xFFFFFF && bitCount > 0 && bitCount <= 32;
  const LONG stride = rowFits ? frameSurfaceStride(width, static_cast<WORD>(bitCount)) : 0;
  const bool sizeFits = rowFits && height > 0 && static_cast<long long>(stride) * (height + 1LL) <= 0x7FFFFFFF;
  header_.biSize = sizeof(BITMAPINFOHEADER);
  header_.biWidth = width;
  header_.biPlanes = 1;
  header_.biBitCount = static_cast<WORD>(bitCount);
  header_.biCompression = BI_RGB;

  // One row more than the picture: the row above it must exist in memory.
  header_.biHeight = sizeFits ? height + 1 : height;
  header_.biSizeImage = sizeFits ? stride * (height + 1) : 0;
  BITMAPINFO info;
  std::memset(&info, 0, sizeof info);
  info.bmiHeader = header_;
  void* bits = nullptr;
  if (sizeFits) bitmap_ = CreateDIBSection(dc, &info, DIB_RGB_COLORS, &bits, nullptr, 0);
  bits_ = bitmap_ ? static_cast<BYTE*>(bits) : nullptr;

  header_.biHeight = height;
  header_.biSizeImage = sizeFits ? stride * height : 0;
  return bitmap_ != nullptr;
}

void FrameSurface::release() {
  if (bitmap_) DeleteObject(bitmap_);
  bitmap_ = nullptr;
  bits_ = nullptr;
  std::memset(&header_, 0, sizeof header_);
}
