#include "embedded_picture.h"

#include <cstring>
#include <limits>

#include "bitmap_limits.h"

// Debian's stb_image, kept to the two formats and private to this file.
#define STB_IMAGE_STATIC
#define STB_IMAGE_IMPLEMENTATION
#define STBI_ONLY_PNG
#define STBI_ONLY_GIF
#define STBI_NO_STDIO
#define STBI_NO_LINEAR
#define STBI_NO_HDR
#define STBI_FAILURE_USERMSG
#include <stb_image.h>

namespace swf {
namespace {

bool startsWith(const uint8_t* data, size_t size, const char* magic, size_t n) {
  return size >= n && std::memcmp(data, magic, n) == 0;
}

struct StbPixels {
  stbi_uc* data = nullptr;
  ~StbPixels() { stbi_image_free(data); }
};

}  // namespace

bool isPngOrGif(const uint8_t* data, size_t size) {
  return startsWith(data, size, "\x89PNG\r\n\x1a\n", 8) || startsWith(data, size, "GIF89a", 6) ||
         startsWith(data, size, "GIF87a", 6);
}

bool decodePngOrGif(const uint8_t* data, size_t size, DecodedImage& out) {
  if (!isPngOrGif(data, size) || size > size_t(std::numeric_limits<int>::max())) return false;
  int width = 0, height = 0, channels = 0;
  // The header first: pictures past the bitmap limits are never inflated.
  bool known = stbi_info_from_memory(data, int(size), &width, &height, &channels);
  if (!known || !bitmapSizeAllowed(width, height)) return false;
  StbPixels rgba;
  rgba.data = stbi_load_from_memory(data, int(size), &width, &height, &channels, 4);
  if (!rgba.data || !bitmapSizeAllowed(width, height)) return false;
  out.width = width;
  out.height = height;
  out.pixels.resize(size_t(width) * size_t(height));
  for (size_t i = 0; i < out.pixels.size(); ++i) {
    const stbi_uc* p = rgba.data + i * 4;
    out.pixels[i] = premultiply(Rgba{p[0], p[1], p[2], p[3]});
  }
  return true;
}

}  // namespace swf
