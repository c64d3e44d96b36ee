// The stand-in control as the tests reach it: loaded from the DLL beside the
// test program (no registration needed), movies written to temporary files,
// and 24-bit surfaces to draw into.
#pragma once

#include <windows.h>

#include <string>
#include <vector>

#include "com_ptr.h"
#include "movie_player.h"
#include "shockwave_flash.h"
#include "swf_builder.h"
#include "test_files.h"

std::wstring exeDirectory();
std::wstring standInPath();

// A new control from the DLL's class object; empty when that fails.
ComPtr<IShockwaveFlash> createStandIn();

// Frees BSTRs made from narrow paths and texts.
class Bstr {
 public:
  explicit Bstr(const std::string& text);
  explicit Bstr(const wchar_t* text) : b_(SysAllocString(text)) {}
  ~Bstr() { SysFreeString(b_); }
  Bstr(const Bstr&) = delete;
  Bstr& operator=(const Bstr&) = delete;
  operator BSTR() const { return b_; }

 private:
  BSTR b_;
};

long currentFrame(IShockwaveFlash* flash);  // TCurrentFrame("/")

// Test movies on a white stage of width x height pixels.
// Frame i shows a 10 x 10 red square at x = 10 * i: every frame looks different.
mvqtest::Bytes steppingMovie(int frames, double fps, int width = 120, int height = 40);
// A stage with the given background; a blue rectangle whose edges fall on half
// pixels, so they are drawn half covered, and a green one at half alpha.
mvqtest::Bytes edgeMovie(int width, int height, mvqtest::Rgba background);
// A main timeline of mainFrames frames holding a two-frame clip that shows a
// red square, then a blue one.
mvqtest::Bytes clipMovie(int mainFrames);

// A 24-bit top-down DIB section selected into its own memory DC.
class Surface24 {
 public:
  Surface24(int width, int height);
  ~Surface24();
  Surface24(const Surface24&) = delete;
  Surface24& operator=(const Surface24&) = delete;

  HDC dc() const { return dc_; }
  int width() const { return width_; }
  int height() const { return height_; }
  void fill(COLORREF color);
  const uint8_t* pixel(int x, int y) const;  // B, G, R

 private:
  HDC dc_ = nullptr;
  HBITMAP bitmap_ = nullptr;
  HGDIOBJ previous_ = nullptr;
  uint8_t* bits_ = nullptr;
  int width_, height_, stride_;
};

// The native player's picture of a movie: premultiplied B, G, R, A.
struct Reference {
  int width = 0, height = 0;
  std::vector<uint8_t> bgra;
  const uint8_t* pixel(int x, int y) const { return &bgra[(size_t(y) * width + x) * 4]; }
};
Reference renderReference(const swf::MoviePlayer& player, int width, int height, swf::ScaleMode mode, bool opaque);

// Pixels of surface whose colour differs from the reference's (opaque).
int differingPixels(const Surface24& surface, const Reference& reference);
