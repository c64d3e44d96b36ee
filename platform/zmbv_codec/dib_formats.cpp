#include "dib_formats.h"

#include <vfw.h>

#include <cstdlib>

#include "core/frame_encoder.h"

namespace zmbvcodec {
namespace {

// Large enough for any export, small enough that sizes stay far from 32-bit overflow.
constexpr LONG kMaxSide = 8192;

bool sizeInRange(const BITMAPINFOHEADER& format) {
  return format.biSize >= sizeof(BITMAPINFOHEADER) && format.biWidth > 0 && format.biWidth <= kMaxSide &&
         format.biHeight != 0 && std::labs(format.biHeight) <= kMaxSide;
}

}  // namespace

const DWORD kZmbvFourcc = mmioFOURCC('Z', 'M', 'B', 'V');

bool isRgbFrame(const BITMAPINFOHEADER* format) {
  return format != nullptr && sizeInRange(*format) && format->biCompression == BI_RGB && format->biPlanes == 1 &&
         (format->biBitCount == 24 || format->biBitCount == 32);
}

bool isZmbvFrame(const BITMAPINFOHEADER* format) {
  return format != nullptr && sizeInRange(*format) && format->biHeight > 0 &&
         (format->biCompression == kZmbvFourcc || format->biCompression == mmioFOURCC('z', 'm', 'b', 'v'));
}

bool sameSize(const BITMAPINFOHEADER& a, const BITMAPINFOHEADER& b) {
  return a.biWidth == b.biWidth && std::labs(a.biHeight) == std::labs(b.biHeight);
}

zmbv::DibLayout layoutOf(const BITMAPINFOHEADER& rgbFormat) {
  return zmbv::DibLayout{static_cast<int>(rgbFormat.biWidth), static_cast<int>(std::labs(rgbFormat.biHeight)),
                         rgbFormat.biBitCount, rgbFormat.biHeight > 0};
}

BITMAPINFOHEADER zmbvFormatFor(const BITMAPINFOHEADER& rgbFormat) {
  BITMAPINFOHEADER format{};
  format.biSize = sizeof format;
  format.biWidth = rgbFormat.biWidth;
  format.biHeight = std::labs(rgbFormat.biHeight);
  format.biPlanes = 1;
  format.biBitCount = rgbFormat.biBitCount;
  format.biCompression = kZmbvFourcc;
  format.biSizeImage = static_cast<DWORD>(zmbv::FrameEncoder::maxFrameSize(format.biWidth, format.biHeight));
  return format;
}

BITMAPINFOHEADER rgbFormatFor(const BITMAPINFOHEADER& zmbvFormat) {
  BITMAPINFOHEADER format{};
  format.biSize = sizeof format;
  format.biWidth = zmbvFormat.biWidth;
  format.biHeight = zmbvFormat.biHeight;
  format.biPlanes = 1;
  format.biBitCount = zmbvFormat.biBitCount == 24 ? 24 : 32;
  format.biCompression = BI_RGB;
  format.biSizeImage = static_cast<DWORD>(layoutOf(format).imageSize());
  return format;
}

}  // namespace zmbvcodec
