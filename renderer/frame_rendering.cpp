// The two render operations: one opaque draw, or a draw over white and one
// over black from which the alpha matte is worked out.
#include <ocidl.h>

#include "alpha_matte.h"
#include "frame_renderer_object.h"
#include "renderer_lock.h"

namespace {

// Holds the control's IViewObjectEx for one render.
class ControlView {
 public:
  explicit ControlView(IShockwaveFlash* control) {
    if (control &&
        FAILED(control->lpVtbl->QueryInterface(control, IID_IViewObjectEx, reinterpret_cast<void**>(&view_))))
      view_ = nullptr;
  }
  ~ControlView() {
    if (view_) view_->lpVtbl->Release(view_);
  }
  ControlView(const ControlView&) = delete;
  ControlView& operator=(const ControlView&) = delete;

  explicit operator bool() const { return view_ != nullptr; }

  // At the in-place rectangle: no bounds are given.
  void draw(HDC dc) const {
    view_->lpVtbl->Draw(view_, DVASPECT_CONTENT, -1, nullptr, nullptr, nullptr, dc, nullptr, nullptr, nullptr, 0);
  }

 private:
  IViewObjectEx* view_ = nullptr;
};

void handOut(const RenderSurface& surface, const BITMAPINFOHEADER** header, const BYTE** bits) {
  if (header) *header = &surface.header;
  if (bits) *bits = surface.bits;
}

void fillSurface(FrameRenderer* renderer, COLORREF color) {
  const RECT all = {0, 0, renderer->width, renderer->height};
  HBRUSH brush = CreateSolidBrush(color);
  FillRect(renderer->memoryDC, &all, brush);
  DeleteObject(brush);
}

// What both operations do before drawing: the copy is there, the device
// context and the opaque surface exist, the movie stands on frame.
HRESULT prepareRender(IFrameRenderer* iface, int32_t frame) {
  FrameRenderer* renderer = impl_from_IFrameRenderer(iface);
  if (!ensureCachedCopy(renderer)) return kRendererECache;
  if (!renderer->memoryDC) {
    const HRESULT hr = iface->lpVtbl->SetFrameSize(iface, renderer->width, renderer->height);
    if (FAILED(hr)) return hr;
  }
  if (!renderer->opaqueSurface.create(renderer->width, renderer->height, 24)) return E_OUTOFMEMORY;
  if (frame != renderer->currentFrame) return advanceTo(renderer, frame);
  return S_OK;
}

HRESULT renderOpaque(IFrameRenderer* iface, int32_t frame, const BITMAPINFOHEADER** header, const BYTE** bits) {
  FrameRenderer* renderer = impl_from_IFrameRenderer(iface);
  if (frame == renderer->currentFrame && renderer->opaqueSurface.bits) {
    handOut(renderer->opaqueSurface, header, bits);
    return S_OK;
  }
  HRESULT hr = prepareRender(iface, frame);
  if (FAILED(hr)) return hr;
  ControlView view(renderer->control);
  if (!view) return E_FAIL;
  HGDIOBJ previous = SelectObject(renderer->memoryDC, renderer->opaqueSurface.bitmap);
  putWindowMode(renderer, L"Opaque");
  view.draw(renderer->memoryDC);
  SelectObject(renderer->memoryDC, previous);
  handOut(renderer->opaqueSurface, header, bits);
  return S_OK;
}

HRESULT renderWithAlpha(IFrameRenderer* iface, int32_t frame, const BITMAPINFOHEADER** header, const BYTE** bits) {
  FrameRenderer* renderer = impl_from_IFrameRenderer(iface);
  if (frame == renderer->currentFrame && renderer->alphaSurface.bits) {
    handOut(renderer->alphaSurface, header, bits);
    return S_OK;
  }
  HRESULT hr = prepareRender(iface, frame);
  if (FAILED(hr)) return hr;
  ControlView view(renderer->control);
  if (!view) return E_FAIL;
  RenderSurface& white = renderer->opaqueSurface;
  RenderSurface& black = renderer->alphaSurface;

  HGDIOBJ previous = SelectObject(renderer->memoryDC, white.bitmap);
  fillSurface(renderer, RGB(255, 255, 255));
  putWindowMode(renderer, L"Transparent");
  view.draw(renderer->memoryDC);

  if (!black.create(white.header.biWidth, white.header.biHeight, 32)) {
    SelectObject(renderer->memoryDC, previous);
    return E_OUTOFMEMORY;
  }
  SelectObject(renderer->memoryDC, black.bitmap);
  fillSurface(renderer, RGB(0, 0, 0));
  InvalidateRect(renderer->hostWindow, nullptr, FALSE);
  view.draw(renderer->memoryDC);
  SelectObject(renderer->memoryDC, previous);
  GdiFlush();

  const MattePasses passes = {white.bits,     white.stride(),  black.bits,
                              black.stride(), renderer->width, renderer->height};
  applyAlphaMatte(passes, renderer->info.backgroundColor);
  handOut(black, header, bits);
  return S_OK;
}

}  // namespace

HRESULT STDMETHODCALLTYPE FrameRenderer_RenderFrame(IFrameRenderer* iface, int32_t frame,
                                                    const BITMAPINFOHEADER** header, const BYTE** bits) {
  RendererLock lock;
  return renderOpaque(iface, frame, header, bits);
}

HRESULT STDMETHODCALLTYPE FrameRenderer_RenderFrameWithAlpha(IFrameRenderer* iface, int32_t frame,
                                                             const BITMAPINFOHEADER** header, const BYTE** bits) {
  RendererLock lock;
  return renderWithAlpha(iface, frame, header, bits);
}
