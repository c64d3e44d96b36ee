#include "dib_target.h"

#include <cstring>

namespace {

bool plainMapping(HDC dc) {
  if (GetMapMode(dc) != MM_TEXT || GetLayout(dc) != 0) return false;
  if (GetGraphicsMode(dc) == GM_COMPATIBLE) return true;
  XFORM transform;
  return GetWorldTransform(dc, &transform) && transform.eM11 == 1 && transform.eM12 == 0 && transform.eM21 == 0 &&
         transform.eM22 == 1 && transform.eDx == 0 && transform.eDy == 0;
}

bool insideClip(HDC dc, const RECT& rect) {
  RECT clip;
  if (GetClipBox(dc, &clip) != SIMPLEREGION) return false;
  RECT overlap;
  return IntersectRect(&overlap, &clip, &rect) && EqualRect(&overlap, &rect);
}

// Whether the bitmap's rows run top-down: a DIB section's description does not
// tell, so one pixel of the rectangle (drawn over afterwards anyway) is set
// through GDI and looked for in both rows it could be in.
bool rowsRunDown(HDC dc, const RECT& rect, const POINT device[2], uint8_t* bits, ptrdiff_t stride, LONG height,
                 int bytesPerPixel, bool* topDown) {
  LONG logicalY = rect.top, deviceY = device[0].y;
  if (deviceY == height - 1 - deviceY) logicalY = rect.bottom - 1, deviceY = device[1].y - 1;
  uint8_t* down = bits + deviceY * stride + ptrdiff_t(device[0].x) * bytesPerPixel;
  uint8_t* up = bits + (height - 1 - deviceY) * stride + ptrdiff_t(device[0].x) * bytesPerPixel;
  if (down == up) {  // a single row: either way
    *topDown = true;
    return true;
  }
  uint8_t probe[3];
  for (int c = 0; c < 3; ++c) {
    probe[c] = 0;
    while (probe[c] == down[c] || probe[c] == up[c]) ++probe[c];
  }
  SetPixelV(dc, rect.left, logicalY, RGB(probe[2], probe[1], probe[0]));
  GdiFlush();
  const bool inDown = std::memcmp(down, probe, 3) == 0, inUp = std::memcmp(up, probe, 3) == 0;
  *topDown = inDown;
  return inDown != inUp;
}

}  // namespace

bool findDibTarget(HDC dc, const RECT& rect, DibTarget* target) {
  if (!dc || !target || GetObjectType(dc) != OBJ_MEMDC) return false;
  if (!plainMapping(dc) || !insideClip(dc, rect)) return false;
  HGDIOBJ bitmap = GetCurrentObject(dc, OBJ_BITMAP);
  DIBSECTION dib;
  if (!bitmap || GetObjectA(bitmap, sizeof dib, &dib) != sizeof dib) return false;
  if (!dib.dsBm.bmBits || dib.dsBmih.biCompression != BI_RGB ||
      (dib.dsBm.bmBitsPixel != 24 && dib.dsBm.bmBitsPixel != 32))
    return false;
  POINT corners[2] = {{rect.left, rect.top}, {rect.right, rect.bottom}};
  if (!LPtoDP(dc, corners, 2)) return false;
  const LONG width = dib.dsBm.bmWidth, height = dib.dsBm.bmHeight;
  if (corners[0].x < 0 || corners[0].y < 0 || corners[1].x > width || corners[1].y > height ||
      corners[1].x - corners[0].x != rect.right - rect.left || corners[1].y - corners[0].y != rect.bottom - rect.top ||
      rect.right <= rect.left || rect.bottom <= rect.top)
    return false;
  uint8_t* bits = static_cast<uint8_t*>(dib.dsBm.bmBits);
  const ptrdiff_t stride = dib.dsBm.bmWidthBytes;
  const int bytesPerPixel = dib.dsBm.bmBitsPixel / 8;
  bool topDown = true;
  if (!rowsRunDown(dc, rect, corners, bits, stride, height, bytesPerPixel, &topDown)) return false;
  const LONG memoryRow = topDown ? corners[0].y : height - 1 - corners[0].y;
  target->topLeft = bits + memoryRow * stride + ptrdiff_t(corners[0].x) * bytesPerPixel;
  target->rowStep = topDown ? stride : -stride;
  target->bytesPerPixel = bytesPerPixel;
  return true;
}

// Four pixels at a time: four B, G, R, A words become three words of B, G, R.
void copyOpaqueRow(const uint8_t* bgra, uint8_t* out, int count, int bytesPerPixel) {
  if (bytesPerPixel == 4) {
    std::memcpy(out, bgra, size_t(count) * 4);
    return;
  }
  int i = 0;
  for (; i + 4 <= count; i += 4, bgra += 16, out += 12) {
    uint32_t p[4];
    std::memcpy(p, bgra, sizeof p);
    const uint32_t words[3] = {(p[0] & 0xFFFFFF) | (p[1] << 24), ((p[1] >> 8) & 0xFFFF) | (p[2] << 16),
                               ((p[2] >> 16) & 0xFF) | (p[3] << 8)};
    std::memcpy(out, words, sizeof words);
  }
  for (; i < count; ++i, bgra += 4, out += 3) {
    out[0] = bgra[0];
    out[1] = bgra[1];
    out[2] = bgra[2];
  }
}
