#include "matrix_parts.h"

#include <cmath>

namespace swf {
namespace {

constexpr double kPi = 3.14159265358979323846;

}  // namespace

double xScaleOf(const Matrix& m) { return std::sqrt(m.a * m.a + m.b * m.b) * 100; }
double yScaleOf(const Matrix& m) { return std::sqrt(m.c * m.c + m.d * m.d) * 100; }
double rotationOf(const Matrix& m) { return std::atan2(m.b, m.a) * 180 / kPi; }

void compose(Matrix& m, double xs, double ys, double rotation) {
  double skew = std::atan2(-m.c, m.d) - std::atan2(m.b, m.a);
  double r = rotation * kPi / 180;
  m.a = xs / 100 * std::cos(r);
  m.b = xs / 100 * std::sin(r);
  m.c = -ys / 100 * std::sin(r + skew);
  m.d = ys / 100 * std::cos(r + skew);
}

}  // namespace swf
