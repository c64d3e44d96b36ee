// A 2-D affine transform: x' = a*x + c*y + tx, y' = b*x + d*y + ty.
// Doubles throughout; every build compiles them with IEEE double arithmetic
// (SSE2, no contraction), so results are identical everywhere.
#pragma once

namespace swf {

struct Vec2 {
  double x = 0;
  double y = 0;
};

struct Matrix {
  double a = 1, b = 0, c = 0, d = 1;
  double tx = 0, ty = 0;

  static Matrix translate(double x, double y);
  static Matrix scale(double sx, double sy);

  // this * inner: inner is applied first.
  Matrix operator*(const Matrix& inner) const;
  Vec2 apply(double x, double y) const;
  double determinant() const { return a * d - b * c; }
  // False when the transform collapses the plane; out is then untouched.
  bool inverse(Matrix& out) const;
};

}  // namespace swf
