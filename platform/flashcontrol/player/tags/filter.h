// The filters and the blend mode of PlaceObject3, as the movie gives them.
#pragma once

#include <array>
#include <cstdint>
#include <vector>

#include "../format/color.h"
#include "shape.h"

namespace swf {

enum class BlendMode : uint8_t {
  Normal = 1,
  Layer,
  Multiply,
  Screen,
  Lighten,
  Darken,
  Difference,
  Add,
  Subtract,
  Invert,
  Alpha,
  Erase,
  Overlay,
  HardLight
};

// The file's byte: 0 and unknown values draw as normal.
inline BlendMode blendModeOf(uint8_t value) { return value >= 2 && value <= 14 ? BlendMode(value) : BlendMode::Normal; }

struct Filter {
  enum class Kind : uint8_t { DropShadow, Blur, Glow, Bevel, GradientGlow, Convolution, ColorMatrix, GradientBevel };
  Kind kind = Kind::Blur;

  // Blurs of every kind but the matrices: box widths in stage pixels, and
  // how many times the box runs.
  double blurX = 0, blurY = 0;
  int passes = 1;

  // Shadows, glows and bevels. color is the shadow's (a bevel's dark side);
  // angle in radians, distance in stage pixels.
  Rgba color;
  Rgba highlight;
  double angle = 0, distance = 0;
  double strength = 1;
  bool inner = false, knockout = false, compositeSource = true, onTop = false;
  std::vector<GradientStop> gradient;  // gradient glows and bevels

  // ColorMatrix: 4 rows of 5 over straight colours, offsets in 0..255.
  std::array<float, 20> matrix{};

  // Convolution.
  int matrixX = 0, matrixY = 0;
  float divisor = 1, bias = 0;
  std::vector<float> kernel;
  Rgba defaultColor;
  bool clamp = true, preserveAlpha = false;
};

using FilterList = std::vector<Filter>;

}  // namespace swf
