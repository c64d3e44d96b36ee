#include "test_pictures.h"

namespace zmbvtest {

zmbv::Picture flatPicture(int width, int height, uint32_t colour) {
  zmbv::Picture picture(width, height);
  for (auto& pixel : picture.pixels) pixel = colour;
  return picture;
}

zmbv::Picture gradientPicture(int width, int height, int phase) {
  zmbv::Picture picture(width, height);
  for (int y = 0; y < height; ++y)
    for (int x = 0; x < width; ++x)
      picture.row(y)[x] = ((x * 255 / (width > 1 ? width - 1 : 1) + phase) & 0xFF) << 16 |
                          ((y * 7 + phase) & 0xFF) << 8 | ((x + y) & 0xFF);
  return picture;
}

zmbv::Picture squarePicture(int width, int height, int left, int top, int side) {
  zmbv::Picture picture = flatPicture(width, height, 0x3060A0);
  for (int y = top; y < top + side; ++y)
    for (int x = left; x < left + side; ++x)
      if (x >= 0 && y >= 0 && x < width && y < height)
        picture.row(y)[x] = ((x - left + y - top) / 3) % 2 ? 0xFFD020 : 0x102030;
  return picture;
}

std::vector<zmbv::Picture> mixedSequence(int width, int height, int frames) {
  std::vector<zmbv::Picture> sequence;
  for (int i = 0; i < frames; ++i) {
    switch (i % 8) {
      case 0: sequence.push_back(flatPicture(width, height, 0x00FF8040 + i)); break;
      case 1:
      case 2: sequence.push_back(gradientPicture(width, height, i * 5)); break;
      default: sequence.push_back(squarePicture(width, height, i * 3 - 4, height / 3 - i, width / 3 + 1)); break;
    }
  }
  return sequence;
}

std::vector<uint8_t> toDib(const zmbv::Picture& picture, int bitCount, bool bottomUp) {
  const zmbv::DibLayout layout{picture.width, picture.height, bitCount, bottomUp};
  std::vector<uint8_t> bits(layout.imageSize());
  zmbv::writeDib(picture, layout, bits.data());
  return bits;
}

zmbv::Picture fromDib(const std::vector<uint8_t>& bits, int width, int height, int bitCount, bool bottomUp) {
  zmbv::Picture picture(width, height);
  zmbv::readDib(bits.data(), zmbv::DibLayout{width, height, bitCount, bottomUp}, picture);
  return picture;
}

}  // namespace zmbvtest
