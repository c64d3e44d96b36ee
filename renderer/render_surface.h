// One bottom-up device-independent bitmap section that the control draws into.
#pragma once

#include <windows.h>

struct RenderSurface {
  HBITMAP bitmap = nullptr;
  BITMAPINFOHEADER header = {};
  BYTE* bits = nullptr;

  RenderSurface() = default;
  ~RenderSurface() { free(); }
  RenderSurface(const RenderSurface&) = delete;
  RenderSurface& operator=(const RenderSurface&) = delete;

  // Makes the bitmap unless the header already has these values; whether a
  // bitmap exists now. A failed creation keeps the requested header, so the
  // same request fails again at once without retrying.
  bool create(LONG width, LONG height, WORD bitCount);
  void free();

  LONG stride() const { return stride(header.biWidth, header.biBitCount); }
  static LONG stride(LONG width, WORD bitCount) { return (width * bitCount / 8 + 3) & ~3; }
};
