// The off-screen 24-bit picture the preview paints the Flash control into and
// the video pass writes from: a bottom-up DIB section whose pixels are read in
// place.
#pragma once

#include <windows.h>

class FrameSurface {
 public:
  FrameSurface();
  ~FrameSurface();
  FrameSurface(const FrameSurface&) = delete;
  FrameSurface& operator=(const FrameSurface&) = delete;

  // Reallocates only when the size or bit count changes; true when a bitmap
  // exists afterwards. After a failed allocation the header keeps the
  // requested size, so the next call tries again.
  bool create(int width, int height, int bitCount, HDC dc);
  void release();

  HBITMAP bitmap() const { return bitmap_; }
  const BITMAPINFOHEADER& header() const { return header_; }
  BYTE* bits() const { return bits_; }

 private:
  HBITMAP bitmap_;
  BITMAPINFOHEADER header_;
  BYTE* bits_;
};

// Bytes per row: whole bytes of the row rounded up to a multiple of 4.
inline LONG frameSurfaceStride(LONG width, WORD bitCount) { return ((width * bitCount) / 8 + 3) & ~3L; }
