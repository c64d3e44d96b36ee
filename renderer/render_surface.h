// One bottom-up device-independent bitmap section that the control draws into.
#pragma once

#include <windows.h>

struct RenderSurface {
  HBITMAP bitmap = nullptr;
  BITMAPINFOHEADER header = {};
  BYTE* bits = nullptr;

  RenderSurface() = default;
  ~RenderSurface() { Free(); }
  RenderSurface(const RenderSurface&) = delete;
  RenderSurface& operator=(const RenderSurface&) = delete;

  // Makes the bitmap unless the header already has these values; whether a
  // bitmap exists now. A failed creation keeps the requested header, so the
  // same request fails again at once without retrying.
  bool Create(LONG width, LONG height, WORD bitCount);
  void Free();

  LONG stride() const { return Stride(header.biWidth, header.biBitCount); }
  static LONG Stride(LONG width, WORD bitCount) { return (width * bitCount / 8 + 3) & ~3; }
};
