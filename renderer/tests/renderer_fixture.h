// What the renderer tests share: the renderer subsystem loaded once for the
// test program, a private cache directory per test, movies on disk and a
// renderer pointer that releases itself.
#pragma once

#include <gtest/gtest.h>

#include <string>

#include "frame_renderer.h"
#include "movie_cache.h"
#include "swf_builder.h"
#include "test_files.h"

std::wstring widen(const std::string& text);

// Releases the renderer it holds.
class RendererRef {
 public:
  RendererRef() = default;
  ~RendererRef() { reset(); }
  RendererRef(const RendererRef&) = delete;
  RendererRef& operator=(const RendererRef&) = delete;

  void reset();
  IFrameRenderer** out() {
    reset();
    return &p_;
  }
  IFrameRenderer* get() const { return p_; }
  const IFrameRendererVtbl* operator->() const { return p_->lpVtbl; }
  explicit operator bool() const { return p_ != nullptr; }

 private:
  IFrameRenderer* p_ = nullptr;
};

class RendererTest : public ::testing::Test {
 protected:
  void SetUp() override;
  void TearDown() override;

  // Writes the movie into the test's folder; its path.
  std::string movie(const std::string& name, const mvqtest::Bytes& bytes) const;
  // A new renderer with this test's cache directory, opened on path.
  ::testing::AssertionResult open(RendererRef& renderer, const std::string& path) const;
  // ~SR files in the cache directory.
  int cachedCopies() const;
  const std::string& cacheDir() const { return cache_->path(); }

  // Shorthands for a renderer's calls.
  static HRESULT renderAlpha(const RendererRef& r, int frame, const BITMAPINFOHEADER** header, const BYTE** bits) {
    return r->RenderFrameWithAlpha(r.get(), frame, header, bits);
  }
  static HRESULT render(const RendererRef& r, int frame, const BITMAPINFOHEADER** header = nullptr,
                        const BYTE** bits = nullptr) {
    return r->RenderFrame(r.get(), frame, header, bits);
  }

  std::unique_ptr<mvqtest::TempDir> movies_;
  std::unique_ptr<mvqtest::TempDir> cache_;
};

// Test movies. Frame i of a stepping movie shows a 10 x 10 red square at
// x = 10 i on a white stage.
mvqtest::Bytes squareStepMovie(int frames, double fps, int width = 120, int height = 40,
                               mvqtest::Compression compression = mvqtest::Compression::None);

// A pixel of a bottom-up bitmap, at (x, y) counted from the top.
const BYTE* pixelAt(const BITMAPINFOHEADER* header, const BYTE* bits, int x, int y);
