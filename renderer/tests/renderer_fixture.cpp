#include "renderer_fixture.h"

#include <windows.h>

#include "renderer_lock.h"
#include "square_movies.h"

using mvqtest::Bytes;
using mvqtest::Rect;
using mvqtest::SwfBuilder;

namespace {

// The renderer subsystem for the whole test program, as the plug-in's load
// and unload steps set it up.
class RendererEnvironment : public ::testing::Environment {
 public:
  void SetUp() override { ASSERT_TRUE(rendererLoad()); }
  void TearDown() override { rendererUnload(); }
};

const auto* environment = ::testing::AddGlobalTestEnvironment(new RendererEnvironment);

}  // namespace

std::wstring widen(const std::string& text) {
  const int n = MultiByteToWideChar(CP_ACP, 0, text.c_str(), -1, nullptr, 0);
  std::wstring wide(n > 0 ? n - 1 : 0, L'\0');
  if (n > 1) MultiByteToWideChar(CP_ACP, 0, text.c_str(), -1, &wide[0], n);
  return wide;
}

void RendererRef::reset() {
  if (p_) p_->lpVtbl->Release(p_);
  p_ = nullptr;
}

void RendererTest::SetUp() {
  movies_.reset(new mvqtest::TempDir);
  cache_.reset(new mvqtest::TempDir);
  RendererLock lock;
  ASSERT_EQ(setCacheOptions(widen(cache_->path()).c_str(), 30), S_OK);
}

// Every copy goes; the next test sets its own directory.
void RendererTest::TearDown() {
  clearMovieCache();
  cache_.reset();
  movies_.reset();
}

std::string RendererTest::movie(const std::string& name, const Bytes& bytes) const {
  return movies_->write(name, bytes);
}

::testing::AssertionResult RendererTest::open(RendererRef& renderer, const std::string& path) const {
  HRESULT hr = createFrameRenderer(renderer.out());
  if (FAILED(hr)) return ::testing::AssertionFailure() << "createFrameRenderer: " << std::hex << hr;
  hr = renderer->SetCacheOptions(renderer.get(), widen(cache_->path()).c_str(), 30);
  if (FAILED(hr)) return ::testing::AssertionFailure() << "SetCacheOptions: " << std::hex << hr;
  hr = renderer->OpenMovie(renderer.get(), widen(path).c_str());
  if (FAILED(hr)) return ::testing::AssertionFailure() << "OpenMovie: " << std::hex << hr;
  return ::testing::AssertionSuccess();
}

int RendererTest::cachedCopies() const {
  WIN32_FIND_DATAA found;
  HANDLE search = FindFirstFileA(cache_->file("~SR*.tmp").c_str(), &found);
  if (search == INVALID_HANDLE_VALUE) return 0;
  int count = 0;
  do ++count;
  while (FindNextFileA(search, &found));
  FindClose(search);
  return count;
}

Bytes squareStepMovie(int frames, double fps, int width, int height, mvqtest::Compression compression) {
  SwfBuilder b;
  b.stage(Rect::pixels(width, height)).frameRate(fps).background(255, 255, 255);
  return mvqtest::addSteppingSquare(b, frames).finish(compression);
}

const BYTE* pixelAt(const BITMAPINFOHEADER* header, const BYTE* bits, int x, int y) {
  const LONG stride = (header->biWidth * header->biBitCount / 8 + 3) & ~3;
  const LONG row = header->biHeight > 0 ? header->biHeight - 1 - y : y;
  return bits + size_t(row) * stride + size_t(x) * (header->biBitCount / 8);
}
