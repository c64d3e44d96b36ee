#include "frame_painter.h"

#include <algorithm>
#include <cstring>
#include <utility>

#include "dib_target.h"
#include "render/picture_difference.h"

namespace {

// Larger views are rendered part by part as drawn, never kept whole.
constexpr int64_t kMaxKeptPixels = int64_t(1) << 22;

bool keepable(const RECT& rect) {
  const int64_t width = int64_t(rect.right) - rect.left, height = int64_t(rect.bottom) - rect.top;
  return width > 0 && height > 0 && width * height <= kMaxKeptPixels;
}

}  // namespace

bool FramePainter::View::sameLayout(const View& other) const {
  return player == other.player && width == other.width && height == other.height && mode == other.mode &&
         opaque == other.opaque;
}

FramePainter::~FramePainter() {
  if (memoryDC_ && originalBitmap_) SelectObject(memoryDC_, originalBitmap_);
  release(picture_);
  release(spare_);
  if (memoryDC_) DeleteDC(memoryDC_);
}

void FramePainter::release(Buffer& buffer) {
  if (buffer.bitmap) DeleteObject(buffer.bitmap);
  buffer = Buffer{};
}

bool FramePainter::ensure(Buffer& buffer, int width, int height) {
  if (buffer.bitmap && width == buffer.width && height == buffer.height) return true;
  if (&buffer == &picture_) shown_ = View{};
  if (memoryDC_ && originalBitmap_) SelectObject(memoryDC_, originalBitmap_);
  release(buffer);
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
  buffer.bitmap = CreateDIBSection(nullptr, &info, DIB_RGB_COLORS, &bits, nullptr, 0);
  if (!buffer.bitmap) return false;
  buffer.bits = static_cast<uint8_t*>(bits);
  buffer.width = width;
  buffer.height = height;
  return true;
}

void FramePainter::render(const swf::MoviePlayer& player, const Buffer& buffer, int viewX, int viewY, int viewW,
                          int viewH, swf::ScaleMode mode, bool opaque) {
  GdiFlush();  // the DIBs' bits are written directly
  // An opaque render fills every pixel of the buffer itself.
  if (!opaque) std::memset(buffer.bits, 0, size_t(buffer.width) * size_t(buffer.height) * 4);
  swf::Canvas canvas;
  canvas.pixels = buffer.bits;
  canvas.width = buffer.width;
  canvas.height = buffer.height;
  canvas.stride = buffer.width * 4;
  player.render(canvas, viewX, viewY, viewW, viewH, mode, opaque);
}

// picture_ shows view afterwards; false when memory ran out.
bool FramePainter::keepPicture(const View& view) {
  if (shown_.sameLayout(view) && shown_.revision == view.revision) return true;
  if (!ensure(picture_, view.width, view.height)) return false;
  render(*view.player, picture_, 0, 0, view.width, view.height, view.mode, view.opaque);
  shown_ = view;
  return true;
}

HRESULT FramePainter::paint(const swf::MoviePlayer& player, HDC dc, const RECT& rect, swf::ScaleMode mode,
                            bool opaque) {
  RECT visible = rect;
  RECT clipBox;
  int clip = GetClipBox(dc, &clipBox);
  if (clip == NULLREGION) return S_OK;
  if (clip != ERROR && !IntersectRect(&visible, &rect, &clipBox)) return S_OK;
  int width = visible.right - visible.left;
  int height = visible.bottom - visible.top;
  if (width <= 0 || height <= 0) return S_OK;

  changeUnpainted_ = false;
  POINT from = {0, 0};
  if (keepable(rect)) {
    const View view{&player, player.revision(), int(rect.right - rect.left), int(rect.bottom - rect.top), mode, opaque};
    if (!keepPicture(view)) return E_OUTOFMEMORY;
    from = POINT{visible.left - rect.left, visible.top - rect.top};
  } else {
    if (!ensure(picture_, width, height)) return E_OUTOFMEMORY;
    shown_ = View{};
    render(player, picture_, rect.left - visible.left, rect.top - visible.top, rect.right - rect.left,
           rect.bottom - rect.top, mode, opaque);
  }
  HGDIOBJ previous = SelectObject(memoryDC_, picture_.bitmap);
  if (!originalBitmap_) originalBitmap_ = previous;
  return opaque ? copyOpaque(dc, visible, from) : blend(dc, visible, from);
}

RECT FramePainter::changedArea(const swf::MoviePlayer& player, const RECT& rect, swf::ScaleMode mode, bool opaque) {
  RECT none = {0, 0, 0, 0};
  if (!keepable(rect)) return rect;
  const View view{&player, player.revision(), int(rect.right - rect.left), int(rect.bottom - rect.top), mode, opaque};
  if (shown_.sameLayout(view) && shown_.revision == view.revision) return none;
  // Ticks in a row with no paint between (a host stepping the movie on): the
  // site repaints all of it anyway, and rendering each frame would be wasted.
  if (changeUnpainted_) {
    shown_ = View{};
    return rect;
  }
  changeUnpainted_ = true;
  if (!shown_.sameLayout(view) || !ensure(spare_, view.width, view.height)) {
    keepPicture(view);
    return rect;
  }
  render(player, spare_, 0, 0, view.width, view.height, mode, opaque);
  std::swap(picture_, spare_);
  shown_ = view;
  swf::PixelRect changed = swf::differingArea(picture_.bits, spare_.bits, view.width, view.height);
  if (changed.empty()) {
    changeUnpainted_ = false;
    return none;
  }
  return RECT{rect.left + changed.left, rect.top + changed.top, rect.left + changed.right, rect.top + changed.bottom};
}

// Every pixel has alpha 255 here, so blending would only copy.
HRESULT FramePainter::copyOpaque(HDC dc, const RECT& visible, POINT from) {
  const int width = visible.right - visible.left, height = visible.bottom - visible.top;
  DibTarget target;
  if (findDibTarget(dc, visible, &target)) {
    const size_t stride = size_t(picture_.width) * 4;
    const uint8_t* in = picture_.bits + size_t(from.y) * stride + size_t(from.x) * 4;
    uint8_t* out = target.topLeft;
    for (int y = 0; y < height; ++y, in += stride, out += target.rowStep)
      copyOpaqueRow(in, out, width, target.bytesPerPixel);
    return S_OK;
  }
  return BitBlt(dc, visible.left, visible.top, width, height, memoryDC_, from.x, from.y, SRCCOPY) ? S_OK : E_FAIL;
}

HRESULT FramePainter::blend(HDC dc, const RECT& visible, POINT from) {
  const int width = visible.right - visible.left, height = visible.bottom - visible.top;
  BLENDFUNCTION blend = {AC_SRC_OVER, 0, 255, AC_SRC_ALPHA};
  if (!AlphaBlend(dc, visible.left, visible.top, width, height, memoryDC_, from.x, from.y, width, height, blend))
    return E_FAIL;
  return S_OK;
}
