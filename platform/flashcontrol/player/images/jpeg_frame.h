// What a JPEG frame header and scan header describe, and the quantized
// coefficients the scans fill in before the picture is reconstructed.
#pragma once

#include <cstdint>
#include <vector>

#include "jpeg_huffman_table.h"

namespace swf {

struct JpegComponent {
  int id = 0;
  int h = 1, v = 1;  // sampling factors
  int quantIndex = 0;
  int width = 0, height = 0;           // samples this component really has
  int blocksWide = 0, blocksHigh = 0;  // padded to whole MCUs
  std::vector<int16_t> coefficients;   // 64 per block, natural order, not dequantized
  uint16_t quant[64] = {};             // natural order, taken at the component's first scan
  bool quantTaken = false;

  int16_t* block(int bx, int by) { return &coefficients[(size_t(by) * blocksWide + bx) * 64]; }
};

struct JpegFrame {
  bool progressive = false;
  int width = 0, height = 0;
  int hmax = 1, vmax = 1;
  int mcusWide = 0, mcusHigh = 0;
  std::vector<JpegComponent> components;
};

struct JpegScan {
  int count = 0;
  int component[4] = {};
  const JpegHuffmanTable* dc[4] = {};
  const JpegHuffmanTable* ac[4] = {};
  int ss = 0, se = 63, ah = 0, al = 0;  // coefficient band (zigzag) and successive approximation bits
};

// Coefficient k of a block in zigzag order is at kZigzag[k] in natural order.
extern const uint8_t kZigzag[64];

}  // namespace swf
