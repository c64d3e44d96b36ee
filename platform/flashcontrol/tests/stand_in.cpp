#include "stand_in.h"

#include <cstring>

#include "tag_stream.h"

using mvqtest::Bytes;
using mvqtest::Matrix;
using mvqtest::Rect;
using mvqtest::Rgba;
using mvqtest::SwfBuilder;
using mvqtest::TagStream;

std::wstring exeDirectory() {
  wchar_t path[MAX_PATH];
  DWORD n = GetModuleFileNameW(nullptr, path, MAX_PATH);
  std::wstring s(path, n);
  return s.substr(0, s.find_last_of(L'\\'));
}

std::wstring standInPath() { return exeDirectory() + L"\\mvqflash.ocx"; }

ComPtr<IShockwaveFlash> createStandIn() {
  ComPtr<IShockwaveFlash> flash;
  HMODULE dll = LoadLibraryW(standInPath().c_str());
  if (!dll) return flash;
  using GetClassObject = HRESULT(WINAPI*)(REFCLSID, REFIID, void**);
  auto getClassObject = reinterpret_cast<GetClassObject>(GetProcAddress(dll, "DllGetClassObject"));
  ComPtr<IClassFactory> factory;
  if (!getClassObject || FAILED(getClassObject(CLSID_ShockwaveFlash, IID_IClassFactory, factory.outVoid())))
    return flash;
  factory->CreateInstance(nullptr, IID_IShockwaveFlash, flash.outVoid());
  return flash;
}

Bstr::Bstr(const std::string& text) {
  int n = MultiByteToWideChar(CP_ACP, 0, text.c_str(), -1, nullptr, 0);
  std::wstring wide(n > 0 ? n - 1 : 0, L'\0');
  if (n > 1) MultiByteToWideChar(CP_ACP, 0, text.c_str(), -1, &wide[0], n);
  b_ = SysAllocString(wide.c_str());
}

long currentFrame(IShockwaveFlash* flash) {
  long frame = -1;
  Bstr root(L"/");
  flash->TCurrentFrame(root, &frame);
  return frame;
}

Bytes steppingMovie(int frames, double fps, int width, int height) {
  SwfBuilder b;
  b.stage(Rect::pixels(width, height)).frameRate(fps).background(255, 255, 255);
  b.defineRectShape(1, Rect::twips(0, 0, 200, 200), Rgba{255, 0, 0});
  b.placeObject2(1, 1, Matrix::translate(0, 200));
  b.showFrame();
  for (int i = 1; i < frames; ++i) {
    b.moveObject2(1, Matrix::translate(200 * i, 200));
    b.showFrame();
  }
  return b.finish();
}

Bytes edgeMovie(int width, int height, Rgba background) {
  SwfBuilder b;
  b.stage(Rect::pixels(width, height)).background(background.r, background.g, background.b);
  b.defineRectShape(1, Rect::twips(50, 70, 330, 290), Rgba{0, 0, 255});
  b.defineRectShape(2, Rect::twips(200, 200, 600, 500), Rgba{0, 200, 0, 128});
  b.placeObject2(1, 1);
  b.placeObject2(2, 2);
  b.showFrame();
  return b.finish(mvqtest::Compression::Zlib);
}

Bytes clipMovie(int mainFrames) {
  TagStream clip;
  clip.placeObject2(2, 1);
  clip.showFrame();
  clip.removeObject2(1);
  clip.placeObject2(3, 1);
  clip.showFrame();
  SwfBuilder b;
  b.stage(Rect::pixels(40, 40)).background(255, 255, 255);
  b.defineRectShape(2, Rect::twips(0, 0, 400, 400), Rgba{255, 0, 0});
  b.defineRectShape(3, Rect::twips(0, 0, 400, 400), Rgba{0, 0, 255});
  b.defineSprite(1, clip);
  b.placeObject2(1, 1);
  b.showFrame();
  for (int i = 1; i < mainFrames; ++i) b.showFrame();
  return b.finish();
}

Surface24::Surface24(int width, int height) : width_(width), height_(height), stride_((width * 3 + 3) & ~3) {
  BITMAPINFO info = {};
  info.bmiHeader.biSize = sizeof info.bmiHeader;
  info.bmiHeader.biWidth = width;
  info.bmiHeader.biHeight = -height;
  info.bmiHeader.biPlanes = 1;
  info.bmiHeader.biBitCount = 24;
  info.bmiHeader.biCompression = BI_RGB;
  void* bits = nullptr;
  dc_ = CreateCompatibleDC(nullptr);
  bitmap_ = CreateDIBSection(nullptr, &info, DIB_RGB_COLORS, &bits, nullptr, 0);
  bits_ = static_cast<uint8_t*>(bits);
  previous_ = SelectObject(dc_, bitmap_);
  fill(RGB(0, 0, 0));
}

Surface24::~Surface24() {
  SelectObject(dc_, previous_);
  DeleteObject(bitmap_);
  DeleteDC(dc_);
}

void Surface24::fill(COLORREF color) {
  RECT all = {0, 0, width_, height_};
  HBRUSH brush = CreateSolidBrush(color);
  FillRect(dc_, &all, brush);
  DeleteObject(brush);
  GdiFlush();
}

const uint8_t* Surface24::pixel(int x, int y) const {
  GdiFlush();
  return bits_ + size_t(y) * stride_ + size_t(x) * 3;
}

Reference renderReference(const swf::MoviePlayer& player, int width, int height, swf::ScaleMode mode, bool opaque) {
  Reference r;
  r.width = width;
  r.height = height;
  r.bgra.assign(size_t(width) * height * 4, 0);
  swf::Canvas canvas;
  canvas.pixels = r.bgra.data();
  canvas.width = width;
  canvas.height = height;
  canvas.stride = width * 4;
  player.render(canvas, 0, 0, width, height, mode, opaque);
  return r;
}

int differingPixels(const Surface24& surface, const Reference& reference) {
  int differing = 0;
  for (int y = 0; y < reference.height; ++y)
    for (int x = 0; x < reference.width; ++x)
      if (std::memcmp(surface.pixel(x, y), reference.pixel(x, y), 3) != 0) ++differing;
  return differing;
}
