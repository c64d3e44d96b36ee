// A display object's matrix as scripts see it: scale in percent and rotation
// in degrees, as the real player reports them, and the matrix rebuilt from
// them when a script sets one.
#pragma once

#include "../format/matrix.h"

namespace swf {

double xScaleOf(const Matrix& m);
double yScaleOf(const Matrix& m);
double rotationOf(const Matrix& m);
// Rebuilds the linear part from scale and rotation, keeping the matrix's skew.
void compose(Matrix& m, double xs, double ys, double rotation);

}  // namespace swf
