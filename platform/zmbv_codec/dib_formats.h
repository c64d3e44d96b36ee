// The frame formats the codec takes and gives: uncompressed 24- and 32-bit RGB
// DIBs (bottom-up or top-down) on one side, 'ZMBV' frames on the other.
#pragma once

#include <windows.h>

#include "core/picture.h"

namespace zmbvcodec {

extern const DWORD kZmbvFourcc;

// Uncompressed RGB of 24 or 32 bits a pixel, of a size the codec handles.
bool isRgbFrame(const BITMAPINFOHEADER* format);
bool isZmbvFrame(const BITMAPINFOHEADER* format);
bool sameSize(const BITMAPINFOHEADER& a, const BITMAPINFOHEADER& b);
zmbv::DibLayout layoutOf(const BITMAPINFOHEADER& rgbFormat);

// The compressed format for an RGB input; it keeps the input's bit count, which
// then is also the decoded format's.
BITMAPINFOHEADER zmbvFormatFor(const BITMAPINFOHEADER& rgbFormat);
// The bottom-up RGB format a ZMBV frame decodes to by default.
BITMAPINFOHEADER rgbFormatFor(const BITMAPINFOHEADER& zmbvFormat);

}  // namespace zmbvcodec
