// The object of flash.display.BitmapData: a grid of 32-bit ARGB pixels.
// Pixels are kept unmultiplied; a pixel without alpha is 0 whatever its
// colour, as the real player's premultiplied store loses it, and an opaque
// bitmap's pixels always have full alpha.
#pragma once

#include <cstdint>
#include <vector>

#include "../../object.h"

namespace swf {
namespace avm1 {

class BitmapDataObject : public Object {
 public:
  BitmapDataObject(Vm& vm, Object* proto, int width, int height, bool transparent, uint32_t fill);

  int width() const { return width_; }
  int height() const { return height_; }
  bool transparent() const { return transparent_; }
  // dispose() frees the pixels; every method then answers -1.
  bool disposed() const { return disposed_; }
  void dispose();

  bool contains(int x, int y) const { return x >= 0 && y >= 0 && x < width_ && y < height_; }
  // 0 outside the bitmap.
  uint32_t pixel(int x, int y) const;
  // Ignored outside the bitmap.
  void setPixel(int x, int y, uint32_t argb);
  // The pixels of [x, x+w) x [y, y+h) inside the bitmap set to argb.
  void fill(int x, int y, int w, int h, uint32_t argb);

 private:
  uint32_t stored(uint32_t argb) const;

  int width_;
  int height_;
  bool transparent_;
  bool disposed_ = false;
  std::vector<uint32_t> pixels_;
};

// The BitmapData behind a script value (nullptr for anything else; a
// disposed one is still returned).
BitmapDataObject* asBitmapData(const Value& v);

// Whether the real player makes a bitmap this size for a movie of this
// version: each side 1 to 2880 before version 10; later each side up to
// 8191 and fewer than 2^24 pixels in all.
bool bitmapSizeAllowed(int version, double width, double height);

// A new BitmapData of the movie's class (nullptr when the movie replaced it).
BitmapDataObject* newBitmapData(Vm& vm, int width, int height, bool transparent, uint32_t fill);

}  // namespace avm1
}  // namespace swf
