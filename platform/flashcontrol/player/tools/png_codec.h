// Just enough PNG for snapshots and reference pictures: 8-bit RGB out;
// in, every non-interlaced colour type and depth, flattened to RGB.
#pragma once

#include <cstdint>
#include <string>
#include <vector>

namespace swf {
namespace tools {

struct RgbImage {
  int width = 0;
  int height = 0;
  std::vector<uint8_t> rgb;  // rows top-down, 3 bytes a pixel
};

bool writePng(const std::string& path, const RgbImage& image);
// Pixels with alpha are composited over white. False with a reason in error.
bool readPng(const std::string& path, RgbImage& image, std::string& error);

}  // namespace tools
}  // namespace swf
