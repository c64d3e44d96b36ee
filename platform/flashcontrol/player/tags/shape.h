// A parsed DefineShape 1-4: its styles and its edges, each edge naming the
// fill on its left (fill0), the fill on its right (fill1) and its line style.
#pragma once

#include <cstdint>
#include <memory>
#include <vector>

#include "../format/color.h"
#include "../format/matrix.h"
#include "../format/rect.h"
#include "../format/twips.h"
#include "../images/decoded_image.h"

namespace swf {

enum class SpreadMode : uint8_t { Pad = 0, Reflect = 1, Repeat = 2 };
enum class InterpolationMode : uint8_t { Rgb = 0, LinearRgb = 1 };

struct GradientStop {
  uint8_t ratio = 0;
  Rgba color;
};

struct Gradient {
  SpreadMode spread = SpreadMode::Pad;
  InterpolationMode interpolation = InterpolationMode::Rgb;
  std::vector<GradientStop> stops;
  double focalPoint = 0;  // -1..1 along the x axis, focal gradients only
};

struct FillStyle {
  enum class Kind : uint8_t { Solid, Linear, Radial, Focal, Bitmap };
  Kind kind = Kind::Solid;
  Rgba color;
  Matrix matrix;  // gradient or bitmap space to shape space
  Gradient gradient;
  // Bitmap fills: the character they name, found in the dictionary when the
  // shape is defined (none when the id names no bitmap).
  uint16_t bitmapId = 0;
  bool bitmapRepeats = true;
  bool bitmapSmoothed = true;
  std::shared_ptr<const DecodedImage> bitmap;
};

enum class CapStyle : uint8_t { Round = 0, None = 1, Square = 2 };
enum class JoinStyle : uint8_t { Round = 0, Bevel = 1, Miter = 2 };

struct LineStyle {
  uint16_t width = 0;  // twips; 0 is a hairline
  Rgba color;
  CapStyle startCap = CapStyle::Round;
  CapStyle endCap = CapStyle::Round;
  JoinStyle join = JoinStyle::Round;
  double miterLimit = 3;
  bool noClose = false;
  bool hasFill = false;  // LINESTYLE2 painted with fill instead of color
  FillStyle fill;
  bool noHScale = false;
  bool noVScale = false;
};

// One straight or quadratic edge. Style indices are into Shape's arrays;
// -1 means none.
struct ShapeEdge {
  Point from;
  Point control;
  Point to;
  bool curved = false;
  int32_t fill0 = -1;
  int32_t fill1 = -1;
  int32_t line = -1;
};

// Styles introduced together by a StyleChange record; Flash draws a group's
// fills, then its lines, group after group.
struct StyleGroup {
  int32_t firstFill = 0, fillCount = 0;
  int32_t firstLine = 0, lineCount = 0;
};

struct Shape {
  uint16_t id = 0;
  Rect bounds;
  bool nonZeroWinding = false;
  std::vector<FillStyle> fills;
  std::vector<LineStyle> lines;
  std::vector<StyleGroup> groups;
  std::vector<ShapeEdge> edges;
};

}  // namespace swf
