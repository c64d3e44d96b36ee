// The filters' blur: a box of a given width in pixels run `passes` times
// across, then `passes` times down (three passes come close to a gaussian).
// A width w covers the w pixels around each one with equal weight; when w
// is not an odd whole number the two pixels just beyond the whole ones
// share the rest, so the box stays centred and blurs smoothly with w.
#pragma once

#include <cstdint>
#include <vector>

namespace swf {

class BoxBlur {
 public:
  // How far one pixel spreads along an axis (0 when w does not blur).
  static int reach(double w, int passes);

  // Blurs planes of `channels` interleaved bytes per pixel (1 or 4), rows
  // `stride` bytes apart. What lies outside counts as transparent. With 4
  // channels, premultiplied colour is kept within alpha.
  void run(uint8_t* pixels, int width, int height, int stride, int channels, double wx, double wy, int passes);

 private:
  struct Box {
    int half = 0;        // whole pixels each side
    uint32_t inner = 0;  // 16.16 weight of each whole pixel
    uint32_t edge = 0;   // 16.16 weight of the two beyond
  };
  static Box boxOf(double w);
  void across(uint8_t* pixels, int width, int height, int stride, int channels, const Box& box);
  void down(uint8_t* pixels, int width, int height, int stride, int channels, const Box& box);

  std::vector<uint8_t> line_;
  std::vector<uint32_t> sums_;
  std::vector<uint8_t> rows_;
};

}  // namespace swf
