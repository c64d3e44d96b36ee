// Writes DefineShape 1-4 bodies for the player's tests: any fill and line
// styles, style changes with new styles, straight and curved edges.
#pragma once

#include <cstdint>
#include <optional>
#include <vector>

#include "swf_builder.h"

namespace playertest {

using mvqtest::Bytes;
using mvqtest::Matrix;
using mvqtest::Rgba;

struct Stop {
  uint8_t ratio;
  Rgba color;
};

struct FillDraft {
  uint8_t type = 0x00;  // 0x00 solid, 0x10 linear, 0x12 radial, 0x13 focal, 0x40-0x43 bitmap
  Rgba color;
  Matrix matrix;
  uint8_t spread = 0;         // 0 pad, 1 reflect, 2 repeat
  uint8_t interpolation = 0;  // 0 RGB, 1 linear RGB
  std::vector<Stop> stops;
  double focal = 0;
  uint16_t bitmap = 0xFFFF;  // bitmap fills: the character shown

  static FillDraft solid(Rgba c);
  static FillDraft gradient(uint8_t type, const Matrix& m, std::vector<Stop> stops, uint8_t spread = 0);
  static FillDraft bitmapFill(uint8_t type, uint16_t bitmap, const Matrix& m);
};

struct LineDraft {
  uint16_t width = 20;
  Rgba color;
  // LINESTYLE2 fields, written by DefineShape4 only.
  uint8_t startCap = 0, join = 0, endCap = 0;  // caps: 0 round, 1 none, 2 square; join: 0 round, 1 bevel, 2 miter
  double miterLimit = 3;
  bool noClose = false;
  bool noHScale = false, noVScale = false;
  std::optional<FillDraft> fill;

  static LineDraft solid(uint16_t width, Rgba color);
};

class ShapeWriter {
 public:
  explicit ShapeWriter(int version = 3) : version_(version) {}

  ShapeWriter& fill(const FillDraft& f);
  ShapeWriter& line(const LineDraft& l);
  ShapeWriter& nonZero();  // DefineShape4's winding-rule flag
  // Records. Style indices are 1-based in the current group, 0 for none.
  ShapeWriter& select(uint32_t fill0, uint32_t fill1, uint32_t line);
  ShapeWriter& moveTo(int32_t x, int32_t y);
  ShapeWriter& lineTo(int32_t x, int32_t y);
  ShapeWriter& curveTo(int32_t cx, int32_t cy, int32_t x, int32_t y);
  // A closed rectangle path from the pen's style state.
  ShapeWriter& rect(int32_t x0, int32_t y0, int32_t x1, int32_t y1);
  // Starts a new style group.
  ShapeWriter& newStyles(const std::vector<FillDraft>& fills, const std::vector<LineDraft>& lines);

  int version() const { return version_; }
  uint16_t tagCode() const;
  Bytes body(uint16_t id, const mvqtest::Rect& bounds) const;
  // The SHAPE part alone (style index widths, then the records), as morph
  // shapes hold their start and end edges.
  Bytes records() const;

 private:
  struct Op {
    enum Kind { Select, Move, Line, Curve, NewStyles } kind;
    Op(Kind k, int32_t a = 0, int32_t b = 0, int32_t c = 0, int32_t d = 0) : kind(k), a(a), b(b), c(c), d(d) {}
    int32_t a, b, c, d;
    std::vector<FillDraft> fills;
    std::vector<LineDraft> lines;
  };

  void writeStyles(Bytes& out, const std::vector<FillDraft>& fills, const std::vector<LineDraft>& lines) const;
  void writeFill(Bytes& out, const FillDraft& f) const;
  void writeLine(Bytes& out, const LineDraft& l) const;

  int version_;
  bool nonZero_ = false;
  std::vector<FillDraft> fills_;
  std::vector<LineDraft> lines_;
  std::vector<Op> ops_;
  int32_t penX_ = 0, penY_ = 0;
};

}  // namespace playertest
