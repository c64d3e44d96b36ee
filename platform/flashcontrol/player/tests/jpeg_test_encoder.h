// A small JPEG encoder for tests: builds sequential or progressive streams
// with chosen sampling factors, restart intervals and table layouts.
#pragma once

#include <cstdint>
#include <functional>
#include <vector>

namespace jpegtest {

using Bytes = std::vector<uint8_t>;

struct Rgb {
  int r, g, b;
};

struct Options {
  int components = 3;    // 1 (grey, from the red channel) or 3 (YCbCr)
  int h[3] = {1, 1, 1};  // sampling factors per component
  int v[3] = {1, 1, 1};
  int quant = 1;           // every quantization step
  bool wideQuant = false;  // 16-bit DQT entries
  int restartInterval = 0;
  bool progressive = false;
  bool separateTables = false;  // DQT and DHT in Encoded::tables, not in the image
  bool adobeRgb = false;        // an APP14 saying the components are R, G, B as they are
};

struct Encoded {
  Bytes tables;  // SOI, DQT, DHT, EOI when separateTables
  Bytes image;
};

Encoded encode(int width, int height, const std::function<Rgb(int, int)>& pixel, const Options& options);

}  // namespace jpegtest
