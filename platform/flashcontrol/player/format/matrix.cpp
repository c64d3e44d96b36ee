#include "matrix.h"

namespace swf {

Matrix Matrix::translate(double x, double y) {
  Matrix m;
  m.tx = x;
  m.ty = y;
  return m;
}

Matrix Matrix::scale(double sx, double sy) {
  Matrix m;
  m.a = sx;
  m.d = sy;
  return m;
}

Matrix Matrix::operator*(const Matrix& in) const {
  Matrix m;
  m.a = a * in.a + c * in.b;
  m.b = b * in.a + d * in.b;
  m.c = a * in.c + c * in.d;
  m.d = b * in.c + d * in.d;
  m.tx = a * in.tx + c * in.ty + tx;
  m.ty = b * in.tx + d * in.ty + ty;
  return m;
}

Vec2 Matrix::apply(double x, double y) const { return Vec2{a * x + c * y + tx, b * x + d * y + ty}; }

bool Matrix::inverse(Matrix& out) const {
  double det = determinant();
  if (det == 0 || det != det) return false;
  Matrix m;
  m.a = d / det;
  m.b = -b / det;
  m.c = -c / det;
  m.d = a / det;
  m.tx = -(m.a * tx + m.c * ty);
  m.ty = -(m.b * tx + m.d * ty);
  out = m;
  return true;
}

}  // namespace swf
