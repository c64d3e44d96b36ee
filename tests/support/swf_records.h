// SWF record types written by the test builder: RECT, RGB(A), MATRIX, CXFORMWITHALPHA.
#pragma once

#include "bit_writer.h"

namespace mvqtest {

// Bounds in twips (20 per pixel). nbits -1 picks the smallest signed width that holds
// all four values; 0 to 31 writes exactly that many bits per value (values truncated).
struct Rect {
  int32_t xmin = 0;
  int32_t xmax = 0;
  int32_t ymin = 0;
  int32_t ymax = 0;
  int nbits = -1;

  static Rect twips(int32_t xmin, int32_t ymin, int32_t xmax, int32_t ymax, int nbits = -1);
  static Rect pixels(int32_t width, int32_t height);
};

struct Rgba {
  uint8_t r = 0;
  uint8_t g = 0;
  uint8_t b = 0;
  uint8_t a = 255;
};

// Scale and rotate/skew as doubles (16.16 when written), translation in twips.
struct Matrix {
  double scaleX = 1.0;
  double scaleY = 1.0;
  double rotateSkew0 = 0.0;
  double rotateSkew1 = 0.0;
  int32_t translateX = 0;
  int32_t translateY = 0;

  static Matrix translate(int32_t x, int32_t y);
  static Matrix scale(double sx, double sy, int32_t x = 0, int32_t y = 0);
};

// Multipliers in 8.8 (256 = 1.0), added terms -255..255.
struct ColorTransform {
  int16_t multR = 256, multG = 256, multB = 256, multA = 256;
  int16_t addR = 0, addG = 0, addB = 0, addA = 0;
};

int rectBits(const Rect& rect);  // the nbits that writeRect uses
void writeRect(BitWriter& out, const Rect& rect);
Bytes rectBytes(const Rect& rect);
void writeMatrix(BitWriter& out, const Matrix& matrix);
void writeColorTransform(BitWriter& out, const ColorTransform& cx);  // with alpha
void putRgb(Bytes& out, const Rgba& color);
void putRgba(Bytes& out, const Rgba& color);

}  // namespace mvqtest
