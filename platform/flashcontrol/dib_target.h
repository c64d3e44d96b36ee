// Where a rectangle of a device context lands in the memory of the DIB section
// selected into it. An opaque picture can then be copied straight into that
// memory, which is several times quicker than a GDI blit of the same pixels.
#pragma once

#include <windows.h>

#include <cstddef>
#include <cstdint>

struct DibTarget {
  uint8_t* topLeft = nullptr;  // the rectangle's top left pixel
  ptrdiff_t rowStep = 0;       // bytes from one row of the rectangle to the one below
  int bytesPerPixel = 0;       // 3 or 4: B, G, R (, X)
};

// Found only when dc is a memory context holding a 24- or 32-bit BI_RGB DIB
// section, maps logical to device units by a plain offset, clips to a single
// rectangle, and rect (logical units) lies inside the clip box and the bitmap.
// Anything else is left to GDI.
bool findDibTarget(HDC dc, const RECT& rect, DibTarget* target);

// Writes count premultiplied B, G, R, A pixels of alpha 255 in the target's layout.
void copyOpaqueRow(const uint8_t* bgra, uint8_t* out, int count, int bytesPerPixel);
